#include "support/lumotest.h"

#include "imaging/filestructure.h"
#include "support/hostilefiles.h"

#include <QBuffer>
#include <QtEndian>

namespace {

using hostilefiles::bigEndian32;
using hostilefiles::littleEndian32;

QByteArray riff(const QByteArray& body)
{
    return QByteArray("RIFF") + littleEndian32(quint32(body.size())) + body;
}

QByteArray bmpHeader(quint32 infoSize, quint16 bits, quint32 compression)
{
    QByteArray info = littleEndian32(infoSize) + littleEndian32(4) + littleEndian32(4) + QByteArray("\x01\x00", 2);
    info += char(bits & 0xff);
    info += char(bits >> 8);
    info += littleEndian32(compression);
    return QByteArray("BM") + littleEndian32(0) + littleEndian32(0) + littleEndian32(54) + info + QByteArray(64, '\0');
}

QByteArray sunRasterWith(quint32 dataLength, quint32 mapLength, int bytesAfterHeader)
{
    QByteArray bytes;
    for (const quint32 word : {0x59a66a95u, 4u, 4u, 8u, dataLength, 1u, 1u, mapLength})
        bytes += bigEndian32(word);
    return bytes + QByteArray(bytesAfterHeader, '\0');
}

} // namespace

// What the framing of a file says before any decoder sees it: parts within the file, the stored
// depth, run-length coding.
class TestFileStructure : public QObject
{
    Q_OBJECT

private slots:
    void inspect_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<bool>("within");
        QTest::addColumn<int>("storedBits");
        QTest::addColumn<bool>("runLengths");

        const QByteArray png = hostilefiles::png(QSize(4, 4), 8, 2, false, QByteArray(52, '\0'));
        QTest::newRow("png: rgb of 8 bits") << png << QByteArray("png") << true << 24 << false;
        QTest::newRow("png: grey and alpha of 16 bits")
            << hostilefiles::png(QSize(4, 4), 16, 4, true, QByteArray(80, '\0'))
            << QByteArray("png") << true << 32 << false;
        QTest::newRow("png: bytes after the end are no part")
            << png + QByteArray(3, '\x7f') << QByteArray("png") << true << 24 << false;
        QTest::newRow("png: a chunk past the end")
            << png.left(png.size() - 13) + hostilefiles::pngChunk("tEXt", "a", 100)
            << QByteArray("png") << false << 24 << false;
        QTest::newRow("png: a length beyond 31 bits")
            << png.left(33) + hostilefiles::pngChunk("tEXt", "a", 0x80000001u) + QByteArray(32, '\0')
            << QByteArray("png") << false << 24 << false;
        QTest::newRow("mng: a chunk past the end")
            << hostilefiles::mng(0x7ffffff0) << QByteArray("mng") << false << 0 << false;
        const QByteArray anih = QByteArray("anih") + littleEndian32(36) + QByteArray(36, '\1');
        const QByteArray icon = QByteArray("icon") + littleEndian32(5) + QByteArray(5, '\2') + '\0';
        const QByteArray list = QByteArray("LIST") + littleEndian32(4 + 2 * 14) + "fram" + icon + icon;
        QTest::newRow("ani: odd chunks padded, a list of frames")
            << riff(QByteArray("ACON") + anih + list) << QByteArray("ani") << true << 0 << false;
        QTest::newRow("ani: a frame longer than its list")
            << riff(QByteArray("ACON") + anih + QByteArray("LIST") + littleEndian32(4 + 14) + "fram"
                    + QByteArray("icon") + littleEndian32(20) + QByteArray(24, '\2'))
            << QByteArray("ani") << false << 0 << false;
        QTest::newRow("ani: a list past the end")
            << hostilefiles::animatedCursor(0x7ffffff0) << QByteArray("ani") << false << 0 << false;
        QTest::newRow("psd: resources within") << hostilefiles::photoshop(8) << QByteArray("psd")
                                               << true << 0 << false;
        QTest::newRow("psd: resources past the end")
            << hostilefiles::photoshop(64) << QByteArray("psd") << false << 0 << false;
        QByteArray psb = hostilefiles::photoshop(0);
        psb[5] = 2;
        QTest::newRow("psb: layers of a 64-bit length past the end")
            << psb.left(34) + QByteArray("\x00\x00\x00\x01\x00\x00\x00\x00", 8) + QByteArray(8, '\0')
            << QByteArray("psb") << false << 0 << false;
        QTest::newRow("sun raster: map and data within")
            << sunRasterWith(16, 6, 22) << QByteArray("ras") << true << 0 << false;
        QTest::newRow("sun raster: data past the end")
            << sunRasterWith(17, 6, 22) << QByteArray("ras") << false << 0 << false;
        QTest::newRow("bmp: plain 24 bits") << bmpHeader(40, 24, 0) << QByteArray("bmp") << true
                                            << 24 << false;
        QTest::newRow("bmp: 16 bits under masks") << bmpHeader(108, 16, 3) << QByteArray("bmp")
                                                  << true << 16 << false;
        QTest::newRow("bmp: eight-bit runs") << bmpHeader(40, 8, 1) << QByteArray("bmp") << true
                                             << 0 << true;
        QTest::newRow("bmp: old header tells nothing") << bmpHeader(12, 24, 0) << QByteArray("bmp")
                                                       << true << 0 << false;
        const QByteArray tga("\x00\x00\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                             "\x4d\x4d\x4d\x4d\x10\x00", 18);
        QTest::newRow("tga: true colour of 16 bits") << tga << QByteArray("tga") << true << 16
                                                     << false;
        QByteArray tgaRuns = tga;
        tgaRuns[2] = 10;
        QTest::newRow("tga: true colour in runs") << tgaRuns << QByteArray("tga") << true << 0
                                                  << true;
        QTest::newRow("unknown format passes") << QByteArray(8, '\xff') << QByteArray("tiff")
                                               << true << 0 << false;
    }

    void inspect()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, format);
        QFETCH(bool, within);
        QFETCH(int, storedBits);
        QFETCH(bool, runLengths);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        buffer.seek(3);
        const imaging::FileStructure structure = imaging::FileStructure::inspect(&buffer, format);
        QCOMPARE(structure.lengthsWithinFile, within);
        QCOMPARE(structure.storedBitsPerPixel, storedBits);
        QCOMPARE(structure.runLengths, runLengths);
        // The reader that asked goes on from where it was.
        QCOMPARE(buffer.pos(), qint64(3));
    }

    // TGA readers may not tell the size, so the header's is read here.
    void tgaSize()
    {
        QByteArray tga("\x00\x00\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                       "\x4d\x4d\x02\x01\x10\x00", 18);
        QBuffer buffer(&tga);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(imaging::FileStructure::inspect(&buffer, "tga").declaredSize, QSize(19789, 258));
    }
};

LUMO_TEST_MAIN(TestFileStructure)
#include "tst_filestructure.moc"
