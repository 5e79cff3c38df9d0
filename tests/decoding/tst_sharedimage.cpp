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

const QSize kLargest(1000, 1000);
constexpr qint64 kLargestBytes = 1 << 20;

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

    void disagreeingDescription_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<qint64>("bytesPerLine");
        QTest::addColumn<qint64>("fileBytes");
        QTest::addColumn<int>("colours");
        QTest::addColumn<bool>("maps");
        QTest::addColumn<bool>("sealed");
        QTest::addColumn<QSize>("largest");
        QTest::addColumn<qint64>("largestBytes");
        QTest::newRow("agreeing") << int(QImage::Format_RGB32) << QSize(4, 4) << qint64(16)
                                  << qint64(64) << 0 << true << true << kLargest << kLargestBytes;
        QTest::newRow("file shorter than the picture")
            << int(QImage::Format_RGB32) << QSize(4, 4) << qint64(16) << qint64(63) << 0 << false
            << true << kLargest << kLargestBytes;
        QTest::newRow("line shorter than its pixels")
            << int(QImage::Format_RGB32) << QSize(4, 4) << qint64(12) << qint64(64) << 0 << false
            << true << kLargest << kLargestBytes;
        QTest::newRow("line not aligned")
            << int(QImage::Format_Indexed8) << QSize(3, 4) << qint64(3) << qint64(64) << 256
            << false << true << kLargest << kLargestBytes;
        QTest::newRow("no such format")
            << int(QImage::NImageFormats) << QSize(4, 4) << qint64(16) << qint64(64) << 0 << false
            << true << kLargest << kLargestBytes;
        QTest::newRow("empty size")
            << int(QImage::Format_RGB32) << QSize(0, 4) << qint64(16) << qint64(64) << 0 << false
            << true << kLargest << kLargestBytes;
        QTest::newRow("line longer than a picture may have")
            << int(QImage::Format_RGB32) << QSize(4, 1) << (qint64(1) << 32) << qint64(64) << 0
            << false << true << kLargest << kLargestBytes;
        // The memory file is zeros: every pixel is index 0.
        QTest::newRow("indexed with no colours")
            << int(QImage::Format_Indexed8) << QSize(4, 4) << qint64(4) << qint64(16) << 0 << false
            << true << kLargest << kLargestBytes;
        QTest::newRow("indexed with its one colour")
            << int(QImage::Format_Indexed8) << QSize(4, 4) << qint64(4) << qint64(16) << 1 << true
            << true << kLargest << kLargestBytes;
        QTest::newRow("more colours than any table holds")
            << int(QImage::Format_Indexed8) << QSize(4, 4) << qint64(4) << qint64(16) << 257
            << false << true << kLargest << kLargestBytes;
        QTest::newRow("two-colour picture with one")
            << int(QImage::Format_Mono) << QSize(4, 4) << qint64(4) << qint64(16) << 1 << false
            << true << kLargest << kLargestBytes;
        QTest::newRow("memory file that can still change")
            << int(QImage::Format_RGB32) << QSize(4, 4) << qint64(16) << qint64(64) << 0 << false
            << false << kLargest << kLargestBytes;
        QTest::newRow("wider than asked for")
            << int(QImage::Format_RGB32) << QSize(4, 4) << qint64(16) << qint64(64) << 0 << false
            << true << QSize(3, 100) << kLargestBytes;
        // A sparse file makes any size cheap to claim; its holes would fill memory once read.
        QTest::newRow("40000 x 40000 over a sparse file")
            << int(QImage::Format_RGB32) << QSize(40000, 40000) << qint64(160000)
            << qint64(6400000000) << 0 << false << true << QSize(50000, 50000) << kLargestBytes;
    }

    void disagreeingDescription()
    {
        QFETCH(int, format);
        QFETCH(QSize, size);
        QFETCH(qint64, bytesPerLine);
        QFETCH(qint64, fileBytes);
        QFETCH(int, colours);
        QFETCH(bool, maps);
        QFETCH(bool, sealed);
        QFETCH(QSize, largest);
        QFETCH(qint64, largestBytes);
        QByteArray description;
        QDataStream out(&description, QIODevice::WriteOnly);
        out << qint32(format) << size << bytesPerLine << QByteArray() << qint32(0) << qint32(0)
            << QMap<QString, QString>() << QVector<QRgb>(colours, qRgb(9, 9, 9));
        const int fd = memoryFile(fileBytes, sealed);
        QVERIFY(fd >= 0);
        QDataStream in(description);
        const QImage mapped = SharedImage::map(fd, in, largest, largestBytes);
        ::close(fd);
        QCOMPARE(!mapped.isNull(), maps);
        if (maps)
            QCOMPARE(mapped.size(), size);
    }
};

LUMO_TEST_MAIN(TestSharedImage)
#include "tst_sharedimage.moc"
