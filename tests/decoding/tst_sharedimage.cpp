#include "support/lumotest.h"

#include "decoding/sharedimage.h"

#include <QDataStream>
#include <QImage>
#include <QMap>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// A memory file of that many bytes, sealed as a helper must send one, or not.
int memoryFile(qint64 bytes, bool sealed)
{
    const int fd = ::memfd_create("test-pixels", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd >= 0 && (::ftruncate(fd, bytes) != 0 || (sealed && !SharedImage::seal(fd)))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

const QSize kLargest(4000, 4000);
constexpr qint64 kLargestBytes = 1 << 26;

} // namespace

// Pixels in shared memory: what one process stores the other maps unchanged, and a description
// that does not agree with its memory file (as a subverted helper could send) maps to nothing.
class TestSharedImage : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QImage>("image");
        QImage opaque(37, 11, QImage::Format_RGB32);
        opaque.fill(qRgb(10, 20, 30));
        opaque.setDotsPerMeterX(3780);
        opaque.setText(QStringLiteral("Description"), QStringLiteral("a test"));
        QTest::newRow("opaque, with its resolution and texts") << opaque;
        QImage indexed(5, 3, QImage::Format_Indexed8);
        indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
        indexed.fill(1);
        QTest::newRow("indexed, with its colours") << indexed;
        QImage deep(9, 4, QImage::Format_RGBA64);
        deep.fill(QColor(1, 2, 3, 4));
        QTest::newRow("sixteen bits a channel") << deep;
        QImage inPlace = SharedImage::allocate(QSize(3000, 1000), QImage::Format_RGB32);
        inPlace.fill(qRgb(40, 50, 60));
        QTest::newRow("written in place while its pages are put in place") << inPlace;
    }

    void roundTrip()
    {
        QFETCH(QImage, image);
        QByteArray description;
        QDataStream out(&description, QIODevice::WriteOnly);
        const int fd = SharedImage::store(image, out);
        QVERIFY(fd >= 0);
        QDataStream in(description);
        const QImage mapped = SharedImage::map(fd, in, kLargest, kLargestBytes);
        ::close(fd);
        QCOMPARE(mapped, image);
        QCOMPARE(mapped.colorTable(), image.colorTable());
        QCOMPARE(mapped.dotsPerMeterX(), image.dotsPerMeterX());
        QCOMPARE(mapped.text(QStringLiteral("Description")),
                 image.text(QStringLiteral("Description")));
    }

    void disagreeingDescription_data() { lumotest::addRows(QStringLiteral("sharedimage.txt")); }
    void disagreeingDescription()
    {
        QFETCH(QString, format);
        QFETCH(QSize, size);
        QFETCH(qint64, bytesPerLine);
        QFETCH(qint64, fileBytes);
        QFETCH(int, colours);
        QFETCH(bool, sealed);
        QFETCH(QSize, largest);
        QFETCH(bool, maps);
        const QMap<QString, QImage::Format> formats{{"rgb32", QImage::Format_RGB32},
                                                    {"indexed8", QImage::Format_Indexed8},
                                                    {"mono", QImage::Format_Mono},
                                                    {"none", QImage::NImageFormats}};
        QVERIFY(formats.contains(format));
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << qint32(formats.value(format)) << size << bytesPerLine << QByteArray() << qint32(0)
            << qint32(0) << QMap<QString, QString>() << QVector<QRgb>(colours, qRgb(9, 9, 9));
        const int fd = memoryFile(fileBytes, sealed);
        QVERIFY(fd >= 0);
        QDataStream in(bytes);
        const QImage mapped = SharedImage::map(fd, in, largest, kLargestBytes);
        ::close(fd);
        QCOMPARE(!mapped.isNull(), maps);
        if (maps)
            QCOMPARE(mapped.size(), size);
    }
};

LUMO_TEST_MAIN(TestSharedImage)
#include "tst_sharedimage.moc"
