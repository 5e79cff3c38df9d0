#include "support/lumotest.h"
#include "support/picturefixture.h"

#include "document/picturereader.h"

#include <QDir>

#include <sys/stat.h>

namespace {

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace

// Which files read as pictures: damaged ones, pipes and pictures beyond the memory budget do not,
// and none of them hangs or crashes the reader.
class TestPictureReader : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: a named pipe
        QTest::addColumn<QString>("format");   // empty: unreadable
        const QImage ramp = PictureFixture::rampImage(QSize(60, 40));
        const QByteArray gif = QByteArray("GIF89a\xff\xff\xff\xff\x00\x00\x00", 13);
        QTest::newRow("png") << "good.png" << encoded(ramp, "PNG") << "png";
        QTest::newRow("png cut after its header") << "cut.png" << encoded(ramp, "PNG").left(40)
                                                  << QString();
        QTest::newRow("gif screen claims 65535 square")
            << "huge.gif" << gif + QByteArray("\x2c\0\0\0\0\xff\xff\xff\xff\0\x02\0\x3b", 14)
            << QString();
        QTest::newRow("gif with garbage body") << "garbage.gif" << gif + QByteArray(64, '\x55')
                                               << QString();
        // Opening one waits for a writer for ever.
        QTest::newRow("named pipe") << "pipe.png" << QByteArray() << QString();
        // A machine of 4 MiB, so pictures may take 1 MiB decoded; sixteen-bit PNGs count 64 bits.
        const QImage big = PictureFixture::rampImage(QSize(400, 400));
        QTest::newRow("within the budget") << "budget.png" << encoded(big, "PNG") << "png";
        QTest::newRow("sixteen bits beyond the budget")
            << "budget.png" << encoded(big.convertToFormat(QImage::Format_RGBA64), "PNG")
            << QString();
        // The PNG suite's deliberately broken files, when the corpus is present.
        const QString corpus = lumotest::corpusDir(QStringLiteral("pngsuite/png"));
        for (const QString& name :
             QDir(corpus).entryList({QStringLiteral("x*.png")}, QDir::Files)) {
            QFile file(corpus + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(name)) << name << file.readAll() << QString();
        }
    }
    void read()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, format);
        QTemporaryDir dir;
        QFile file(dir.filePath(name));
        if (bytes.isNull()) {
            QCOMPARE(::mkfifo(QFile::encodeName(file.fileName()).constData(), 0600), 0);
        } else {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
        }
        const PictureReader::Result read =
            PictureReader::read(file.fileName(), imaging::ReadLimits(4 << 20));
        QCOMPARE(read.format, format);
        QCOMPARE(read.image.isNull(), format.isEmpty());
    }
};

LUMO_TEST_MAIN(TestPictureReader)
#include "tst_picturereader.moc"
