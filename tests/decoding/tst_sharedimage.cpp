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

// What a helper says of the pixels it sends, and the memory file it sends them in.
struct Description
{
    int format = QImage::Format_RGB32;
    QSize size{4, 4};
    qint64 bytesPerLine = 16;
    qint64 fileBytes = 64;
    int colours = 0;
    bool sealed = true;
    QSize largest = kLargest;
};

} // namespace

Q_DECLARE_METATYPE(Description)

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
        QTest::addColumn<Description>("description");
        QTest::addColumn<bool>("maps");
        const int rgb = QImage::Format_RGB32;
        const int indexed = QImage::Format_Indexed8;
        const QSize square(4, 4);
        QTest::newRow("agreeing") << Description{} << true;
        QTest::newRow("file shorter than the picture") << Description{rgb, square, 16, 63} << false;
        QTest::newRow("line shorter than its pixels") << Description{rgb, square, 12} << false;
        QTest::newRow("line not aligned") << Description{indexed, {3, 4}, 3, 64, 256} << false;
        QTest::newRow("no such format") << Description{QImage::NImageFormats} << false;
        QTest::newRow("empty size") << Description{rgb, {0, 4}} << false;
        QTest::newRow("line longer than a picture may have")
            << Description{rgb, {4, 1}, qint64(1) << 32} << false;
        // The memory file is zeros: every pixel is index 0.
        QTest::newRow("indexed with no colours") << Description{indexed, square, 4, 16} << false;
        QTest::newRow("indexed with its one colour")
            << Description{indexed, square, 4, 16, 1} << true;
        QTest::newRow("more colours than any table holds")
            << Description{indexed, square, 4, 16, 257} << false;
        QTest::newRow("two-colour picture with one")
            << Description{QImage::Format_Mono, square, 4, 16, 1} << false;
        QTest::newRow("memory file that can still change")
            << Description{rgb, square, 16, 64, 0, false} << false;
        QTest::newRow("wider than asked for")
            << Description{rgb, square, 16, 64, 0, true, {3, 100}} << false;
        // A sparse file makes any size cheap to claim; its holes would fill memory once read.
        QTest::newRow("40000 x 40000 over a sparse file")
            << Description{rgb, {40000, 40000}, 160000, 6400000000, 0, true, {50000, 50000}}
            << false;
    }

    void disagreeingDescription()
    {
        QFETCH(Description, description);
        QFETCH(bool, maps);
        const Description& d = description;
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << qint32(d.format) << d.size << d.bytesPerLine << QByteArray() << qint32(0)
            << qint32(0) << QMap<QString, QString>() << QVector<QRgb>(d.colours, qRgb(9, 9, 9));
        const int fd = memoryFile(d.fileBytes, d.sealed);
        QVERIFY(fd >= 0);
        QDataStream in(bytes);
        const QImage mapped = SharedImage::map(fd, in, d.largest, kLargestBytes);
        ::close(fd);
        QCOMPARE(!mapped.isNull(), maps);
        if (maps)
            QCOMPARE(mapped.size(), d.size);
    }
};

LUMO_TEST_MAIN(TestSharedImage)
#include "tst_sharedimage.moc"
