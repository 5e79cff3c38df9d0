#include "support/lumotest.h"

#include "support/hostilefiles.h"

#include "document/clipboardimage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QImage picture()
{
    return lumotest::rampImage({7, 5});
}

} // namespace

// The clipboard's picture: another program's encoded bytes decoded by a helper, this program's
// own picture as it was put there, and nothing from what holds no picture.
class TestClipboardImage : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QStringList>("formats"); // offered in this order
        QTest::addColumn<QList<QByteArray>>("bytes");
        QTest::addColumn<bool>("available");
        QTest::addColumn<bool>("readable");
        const QByteArray png = lumotest::encoded(picture(), "PNG");
        const QByteArray bmp = lumotest::encoded(picture(), "BMP");
        QImage other = picture();
        other.invertPixels();
        QTest::newRow("another program's PNG")
            << QStringList{"image/png"} << QList<QByteArray>{png} << true << true;
        QTest::newRow("16-bit PNG") << QStringList{"image/png"}
                                    << QList<QByteArray>{lumotest::encoded(
                                           picture().convertToFormat(QImage::Format_RGBA64), "PNG")}
                                    << true << true;
        QTest::newRow("PNG preferred to the BMP offered first")
            << QStringList{"image/bmp", "image/png"}
            << QList<QByteArray>{lumotest::encoded(other, "BMP"), png} << true << true;
        QTest::newRow("damaged PNG, readable BMP")
            << QStringList{"image/png", "image/bmp"} << QList<QByteArray>{png.left(40), bmp} << true
            << true;
        QTest::newRow("PNG announcing 60000 x 60000")
            << QStringList{"image/png"}
            << QList<QByteArray>{hostilefiles::png(QSize(60000, 60000), 8, 2, false,
                                                   QByteArray(16, '\0'))}
            << true << false;
        QTest::newRow("text only")
            << QStringList{"text/plain"} << QList<QByteArray>{"harbour"} << false << false;
    }

    void read()
    {
        QFETCH(QStringList, formats);
        QFETCH(QList<QByteArray>, bytes);
        QFETCH(bool, available);
        QFETCH(bool, readable);
        auto* data = new QMimeData;
        for (int i = 0; i < formats.size(); ++i)
            data->setData(formats.at(i), bytes.at(i));
        QGuiApplication::clipboard()->setMimeData(data);
        QCOMPARE(ClipboardImage::available(), available);
        const QImage image = ClipboardImage::read();
        QCOMPARE(image.isNull(), !readable);
        if (readable)
            QCOMPARE(image.convertToFormat(QImage::Format_RGB32), picture());
    }

    void ownPicture()
    {
        QGuiApplication::clipboard()->setImage(picture());
        QVERIFY(ClipboardImage::available());
        QCOMPARE(ClipboardImage::read(), picture());
    }
};

LUMO_TEST_MAIN(TestClipboardImage)
#include "tst_clipboardimage.moc"
