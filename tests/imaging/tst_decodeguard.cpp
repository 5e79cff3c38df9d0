#include "support/lumotest.h"

#include "imaging/decodeguard.h"
#include "support/hostilefiles.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>


namespace {

using imaging::DecodeRefusal;

constexpr qint64 gib = qint64(1) << 30;

using lumotest::encoded;
using lumotest::rampImage;

// A PNG with a chunk declaring a length past the end of the file, just after its header.
QByteArray withRunawayChunk(const QByteArray& png)
{
    QByteArray bytes = png;
    return bytes.insert(33, hostilefiles::pngChunk("tEXt", QByteArray("a\0b", 3), 0x7ffffff0));
}

} // namespace

// Whether a file may be decoded: its framing, its announced size against the memory budget,
// and its byte size against what its format can compress into that many pixels.
class TestDecodeGuard : public QObject
{
    Q_OBJECT

private slots:
    void judgeFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("plugin"); // the reader the row needs
        QTest::addColumn<qint64>("physical");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<int>("refusal");

        const auto none = int(DecodeRefusal::None);
        const auto large = int(DecodeRefusal::TooLarge);
        const auto dense = int(DecodeRefusal::TooDense);
        const auto beyond = int(DecodeRefusal::LengthBeyondEnd);
        const QSize thumb(128, 128);
        // A machine of 24 GiB and a full decode unless the row says otherwise.
        const auto add = [](const char* name, const QByteArray& bytes, const char* plugin,
                            int refusal, qint64 physical = 24 * gib, const QSize& box = QSize()) {
            QTest::newRow(name) << bytes << QByteArray(plugin) << physical << box << refusal;
        };
        const QByteArray giantPng =
            hostilefiles::png(QSize(60000, 60000), 8, 2, false, QByteArray(64, '\0'));
        const QByteArray giantJpeg = hostilefiles::jpegClaiming(QSize(30000, 30000));

        add("small png", encoded(rampImage(QSize(40, 30)), "PNG"), "png", none);
        add("png claiming 60000 square is beyond the budget", giantPng, "png", large);
        add("its thumbnail decodes it whole too", giantPng, "png", large, 24 * gib, thumb);
        add("on a bigger machine it is too little data", giantPng, "png", dense, 64 * gib);
        add("interlaced png, huge and nearly empty",
            hostilefiles::png(QSize(40000, 40000), 8, 6, true, QByteArray(1 << 20, '\0')), "png",
            dense, 64 * gib);
        QImage flat(20000, 20000, QImage::Format_Mono);
        flat.fill(0);
        add("flat one-bit png of 20000 square", encoded(flat, "PNG"), "png", none);
        add("png chunk running past the end",
            withRunawayChunk(encoded(rampImage(QSize(8, 8)), "PNG")), "png", beyond);
        add("small jpeg", encoded(rampImage(QSize(64, 48)), "JPEG"), "jpeg", none);
        add("tiny jpeg claiming 30000 square", giantJpeg, "jpeg", dense);
        add("its thumbnail as well", giantJpeg, "jpeg", dense, 24 * gib, thumb);
        add("jpeg of 60000 square shrinks to fit a thumbnail",
            hostilefiles::jpegClaiming(QSize(60000, 60000)), "jpeg", dense, 4 * gib, thumb);
        add("gif frame claiming 30000 square", hostilefiles::gifClaiming(QSize(30000, 30000)),
            "gif", dense);
        add("gif frame of 2000 square with one pixel of data",
            hostilefiles::gifClaiming(QSize(2000, 2000)), "gif", none);
        add("bmp claiming 11862032 x 12", hostilefiles::bmpClaiming(QSize(11862032, 12)), "bmp",
            dense);
        QByteArray topDown = hostilefiles::bmpClaiming(QSize(16, 1));
        topDown.replace(22, 4, QByteArray("\x0c\x00\x00\xff", 4));
        add("top-down bmp of 16777204 rows", topDown, "bmp", dense);
        add("tga of 23 bytes claiming 19789 square",
            QByteArray("\x00\x00\x02\x04\x4d\x4d\x4d\x4d\x46\x4d\x00\x11\x4d\x4d\x4d\x4d"
                       "\x10\x03\x00\x00\x00\x3c\xab",
                       23),
            "tga", dense);
        const QByteArray bmp = encoded(rampImage(QSize(40, 30)), "BMP");
        add("bmp cut to half still shows", bmp.left(bmp.size() / 2), "bmp", none);
        add("sun raster colour map past the end", hostilefiles::sunRaster(0x7ffffff0), "ras",
            beyond);
        add("photoshop resources past the end", hostilefiles::photoshop(0x7ffffff0), "psd", beyond);
        add("animated cursor list past the end", hostilefiles::animatedCursor(0x7ffffff0), "ani",
            beyond);
        add("mng chunk past the end", hostilefiles::mng(0x7ffffff0), "mng", beyond);
    }

    void judgeFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, plugin);
        QFETCH(qint64, physical);
        QFETCH(QSize, box);
        QFETCH(int, refusal);
        if (!QImageReader::supportedImageFormats().contains(plugin))
            QSKIP(qPrintable(QStringLiteral("no %1 reader").arg(QString::fromLatin1(plugin))));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        QImageReader reader(path);
        const imaging::DecodeVerdict verdict =
            imaging::DecodeGuard(imaging::ReadLimits(physical)).judge(reader, box);
        QCOMPARE(int(verdict.refusal), refusal);
        // The reader still reads from where it was.
        if (verdict.allowed())
            QVERIFY(!reader.read().isNull());
    }

    void minimumFileBytes_data() { lumotest::addRows(QStringLiteral("minimumfilebytes.txt")); }

    void minimumFileBytes()
    {
        QFETCH(QString, format);
        QFETCH(QSize, size);
        QFETCH(int, storedBits);
        QFETCH(qint64, bytes);
        const bool runLengths = format == QLatin1String("bmp") && storedBits == 0;
        QCOMPARE(imaging::DecodeGuard::minimumFileBytes(
                     {format.toLatin1(), size, 0, storedBits, runLengths}),
                 bytes);
    }

    void decodedSize_data() { lumotest::addRows(QStringLiteral("decodedsize.txt")); }

    void decodedSize()
    {
        QFETCH(QString, format);
        QFETCH(QSize, declared);
        QFETCH(QSize, box);
        QFETCH(QSize, decoded);
        QCOMPARE(imaging::DecodeGuard::decodedSize(format.toLatin1(), declared, box), decoded);
    }

    // Every valid file of the PNG suite still passes.
    void pngSuitePasses()
    {
        const QString corpus = lumotest::corpusDir(QStringLiteral("pngsuite/png"));
        if (corpus.isEmpty())
            QSKIP("no PNG suite");
        const QStringList valid =
            QDir(corpus).entryList({QStringLiteral("[^x]*.png")}, QDir::Files);
        QVERIFY(!valid.isEmpty());
        for (const QString& name : valid) {
            QImageReader reader(QDir(corpus).filePath(name));
            QVERIFY2(imaging::DecodeGuard().judge(reader).allowed(), qPrintable(name));
        }
    }
};

LUMO_TEST_MAIN(TestDecodeGuard)
#include "tst_decodeguard.moc"
