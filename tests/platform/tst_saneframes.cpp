#include "support/lumotest.h"

#include "platform/saneframes.h"
#include "platform/sanepageassembler.h"

namespace {

SANE_Parameters parameters(SANE_Frame format, int depth, int pixels, int bytesPerLine, int lines,
                           bool last = true)
{
    SANE_Parameters p;
    p.format = format;
    p.last_frame = last ? SANE_TRUE : SANE_FALSE;
    p.bytes_per_line = bytesPerLine;
    p.pixels_per_line = pixels;
    p.lines = lines;
    p.depth = depth;
    return p;
}

// Samples as the scanner sends them: bytes, or 16-bit words in this machine's byte order.
QByteArray samples(int depth, std::initializer_list<int> values)
{
    QByteArray result;
    for (int v : values) {
        const quint16 word = quint16(v);
        if (depth == 16)
            result.append(reinterpret_cast<const char*>(&word), sizeof word);
        else
            result.append(char(v));
    }
    return result;
}

QList<QRgb> pixels(const QImage& image)
{
    QList<QRgb> result;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            result << (image.pixel(x, y) & 0xffffff);
    }
    return result;
}

} // namespace

// Scanner frames of every depth and format turned into pictures.
class TestSaneFrames : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void threePass_data();
    void threePass();
};

void TestSaneFrames::decode_data()
{
    // A frame of width pixels and lines lines (-1: unknown ahead), and the picture it gives; an
    // empty pixel list means no picture.
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("bytesPerLine");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("imageFormat");
    QTest::addColumn<QList<QRgb>>("expected");

    const int gray = SANE_FRAME_GRAY;
    const int rgb = SANE_FRAME_RGB;
    const int grey8 = QImage::Format_Grayscale8;
    const int rgb32 = QImage::Format_RGB32;
    const QList<QRgb> none;
    const QList<QRgb> oneToFour{0x010101, 0x020202, 0x030303, 0x040404};
    QTest::newRow("grey, 8 bits") << gray << 8 << 3 << 3 << 1 << samples(8, {0, 128, 255})
                                  << grey8 << QList<QRgb>{0x000000, 0x808080, 0xffffff};
    QTest::newRow("grey, 16 bits") << gray << 16 << 3 << 6 << 1 << samples(16, {0, 65535, 25700})
                                   << grey8 << QList<QRgb>{0x000000, 0xffffff, 0x646464};
    QTest::newRow("grey, 1 bit: a set bit is black")
        << gray << 1 << 10 << 2 << 1 << samples(1, {0xa0, 0x40}) << int(QImage::Format_Mono)
        << QList<QRgb>{0, 0xffffff, 0, 0xffffff, 0xffffff, 0xffffff, 0xffffff, 0xffffff,
                       0xffffff, 0};
    QTest::newRow("colour, 8 bits") << rgb << 8 << 2 << 6 << 1 << samples(8, {255, 0, 0, 0, 0, 255})
                                    << rgb32 << QList<QRgb>{0xff0000, 0x0000ff};
    QTest::newRow("colour, 16 bits")
        << rgb << 16 << 2 << 12 << 1 << samples(16, {65535, 0, 25700, 0, 65535, 0}) << rgb32
        << QList<QRgb>{0xff0064, 0x00ff00};
    QTest::newRow("colour, 1 bit: red, cyan, white") << rgb << 1 << 3 << 2 << 1
                                                     << samples(1, {0x8f, 0x80}) << rgb32
                                                     << QList<QRgb>{0xff0000, 0x00ffff, 0xffffff};
    QTest::newRow("unknown height: the whole lines that came")
        << gray << 8 << 2 << 2 << -1 << samples(8, {1, 2, 3, 4, 5}) << grey8 << oneToFour;
    QTest::newRow("frame cut short keeps its lines")
        << gray << 8 << 2 << 2 << 4 << samples(8, {1, 2, 3, 4}) << grey8 << oneToFour;
    QTest::newRow("line too short for its pixels")
        << rgb << 8 << 2 << 5 << 1 << samples(8, {1, 2, 3, 4, 5}) << 0 << none;
    QTest::newRow("unknown depth") << gray << 4 << 2 << 1 << 1 << samples(8, {0x12}) << 0 << none;
    QTest::newRow("not one whole line")
        << gray << 8 << 4 << 4 << 2 << samples(8, {1, 2, 3}) << 0 << none;
    QTest::newRow("a band alone is no picture")
        << int(SANE_FRAME_RED) << 8 << 1 << 1 << 1 << samples(8, {1}) << 0 << none;
}

void TestSaneFrames::decode()
{
    QFETCH(int, format);
    QFETCH(int, depth);
    QFETCH(int, width);
    QFETCH(int, bytesPerLine);
    QFETCH(int, lines);
    QFETCH(QByteArray, data);
    QFETCH(int, imageFormat);
    QFETCH(QList<QRgb>, expected);
    const QImage image =
        SaneFrames::decode(parameters(SANE_Frame(format), depth, width, bytesPerLine, lines), data);
    QCOMPARE(image.isNull(), expected.isEmpty());
    if (image.isNull())
        return;
    QCOMPARE(image.width(), width);
    QCOMPARE(int(image.format()), imageFormat);
    QCOMPARE(pixels(image), expected);
}

void TestSaneFrames::threePass_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("lines");
    QTest::newRow("blue, red, green") << "BRG" << 8 << 1;
    QTest::newRow("green, blue, red, 16 bits") << "GBR" << 16 << 1;
    QTest::newRow("unknown height") << "RGB" << 8 << -1;
}

void TestSaneFrames::threePass()
{
    QFETCH(QString, order);
    QFETCH(int, depth);
    QFETCH(int, lines);
    // Each band's samples are its own: red 1 and 2, green 3 and 4, blue 5 and 6 (in 8 bits).
    SanePageAssembler page;
    for (int i = 0; i < order.size(); ++i) {
        const int band = QStringLiteral("RGB").indexOf(order.at(i));
        const int first = (1 + 2 * band) * (depth == 16 ? 257 : 1);
        const QByteArray data = samples(depth, {first, first + (depth == 16 ? 257 : 1)});
        const bool last = i == order.size() - 1;
        QVERIFY(page.beginFrame(parameters(SANE_Frame(SANE_FRAME_RED + band), depth, 2,
                                           2 * depth / 8, lines, last)));
        QVERIFY(page.addData(data.constData(), 1));
        QVERIFY(page.addData(data.constData() + 1, data.size() - 1));
        QVERIFY(page.endFrame());
        QCOMPARE(page.isComplete(), last);
    }
    QCOMPARE(page.image().size(), QSize(2, 1));
    QCOMPARE(pixels(page.image()), (QList<QRgb>{0x010305, 0x020406}));

    // A grey frame cannot join the bands of that page.
    QVERIFY(!page.beginFrame(parameters(SANE_FRAME_GRAY, 8, 2, 2, 1)));
}

LUMO_TEST_MAIN(TestSaneFrames)
#include "tst_saneframes.moc"
