#include "support/lumotest.h"

#include "platform/saneframes.h"
#include "platform/sanepageassembler.h"

#include <limits>

namespace {

SANE_Parameters parameters(SANE_Frame format, int depth, int pixels, int bytesPerLine, int lines,
                           bool last = true)
{
    return {format, last ? SANE_TRUE : SANE_FALSE, bytesPerLine, pixels, lines, depth};
}

// Samples as the scanner sends them: bytes, or 16-bit words in this machine's byte order.
QByteArray samples(int depth, const QList<int>& values)
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
    for (int i = 0; i < image.width() * image.height(); ++i)
        result << (image.pixel(i % image.width(), i / image.width()) & 0xffffff);
    return result;
}

} // namespace

// Scanner frames of every depth and format turned into pictures.
class TestSaneFrames : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        // A frame (format, depth, pixels and bytes per line, lines; -1 lines: unknown ahead), its
        // samples, and the picture it gives; an empty pixel list means no picture.
        QTest::addColumn<QList<int>>("frame");
        QTest::addColumn<QList<int>>("data");
        QTest::addColumn<int>("imageFormat");
        QTest::addColumn<QList<QRgb>>("expected");

        using F = QList<int>;
        using S = QList<int>;
        using P = QList<QRgb>;
        const int gray = SANE_FRAME_GRAY;
        const int rgb = SANE_FRAME_RGB;
        const int grey8 = QImage::Format_Grayscale8;
        const int rgb32 = QImage::Format_RGB32;
        const P oneToFour{0x010101, 0x020202, 0x030303, 0x040404};
        const QRgb w = 0xffffff;
        QTest::newRow("grey, 8 bits") << F{gray, 8, 3, 3, 1} << S{0, 128, 255} << grey8
                                      << P{0, 0x808080, w};
        QTest::newRow("grey, 1 bit: a set bit is black")
            << F{gray, 1, 10, 2, 1} << S{0xa0, 0x40} << int(QImage::Format_Mono)
            << P{0, w, 0, w, w, w, w, w, w, 0};
        QTest::newRow("colour, 8 bits")
            << F{rgb, 8, 2, 6, 1} << S{255, 0, 0, 0, 0, 255} << rgb32 << P{0xff0000, 0xff};
        QTest::newRow("colour, 16 bits") << F{rgb, 16, 2, 12, 1} << S{65535, 0, 25700, 0, 65535, 0}
                                         << rgb32 << P{0xff0064, 0x00ff00};
        QTest::newRow("colour, 1 bit: red, cyan, white")
            << F{rgb, 1, 3, 2, 1} << S{0x8f, 0x80} << rgb32 << P{0xff0000, 0x00ffff, w};
        QTest::newRow("unknown height: the whole lines that came")
            << F{gray, 8, 2, 2, -1} << S{1, 2, 3, 4, 5} << grey8 << oneToFour;
        QTest::newRow("frame cut short keeps its lines")
            << F{gray, 8, 2, 2, 4} << S{1, 2, 3, 4} << grey8 << oneToFour;
        QTest::newRow("line too short for its pixels")
            << F{rgb, 8, 2, 5, 1} << S{1, 2, 3, 4, 5} << 0 << P();
        QTest::newRow("unknown depth") << F{gray, 4, 2, 1, 1} << S{0x12} << 0 << P();
        QTest::newRow("not one whole line") << F{gray, 8, 4, 4, 2} << S{1, 2, 3} << 0 << P();
        QTest::newRow("a band alone is no picture")
            << F{SANE_FRAME_RED, 8, 1, 1, 1} << S{1} << 0 << P();
    }

    void decode()
    {
        QFETCH(QList<int>, frame);
        QFETCH(QList<int>, data);
        QFETCH(int, imageFormat);
        QFETCH(QList<QRgb>, expected);
        const int depth = frame[1];
        const QImage image = SaneFrames::decode(
            parameters(SANE_Frame(frame[0]), depth, frame[2], frame[3], frame[4]),
            samples(depth, data));
        QCOMPARE(image.isNull(), expected.isEmpty());
        if (image.isNull())
            return;
        QCOMPARE(image.width(), frame[2]);
        QCOMPARE(int(image.format()), imageFormat);
        QCOMPARE(pixels(image), expected);
    }

    void threePass_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("lines");
        QTest::newRow("blue, red, green") << "BRG" << 8 << 1;
        QTest::newRow("green, blue, red, 16 bits") << "GBR" << 16 << 1;
        QTest::newRow("unknown height") << "RGB" << 8 << -1;
    }

    void threePass()
    {
        QFETCH(QString, order);
        QFETCH(int, depth);
        QFETCH(int, lines);
        // Each band's samples are its own: red 1 and 2, green 3 and 4, blue 5 and 6 (in 8 bits).
        SanePageAssembler page;
        const int unit = depth == 16 ? 257 : 1;
        for (int i = 0; i < order.size(); ++i) {
            const int band = QStringLiteral("RGB").indexOf(order.at(i));
            const QByteArray data = samples(depth, {(1 + 2 * band) * unit, (2 + 2 * band) * unit});
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

    void progress_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("bytesPerLine");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("bandsBefore"); // bands of one line read before this frame
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("percent");

        const int maxInt = std::numeric_limits<int>::max();
        QTest::newRow("grey, half read") << int(SANE_FRAME_GRAY) << 10 << 10 << 0 << 50 << 50;
        QTest::newRow("grey, all read") << int(SANE_FRAME_GRAY) << 10 << 10 << 0 << 100 << 100;
        QTest::newRow("more than announced stays at 100")
            << int(SANE_FRAME_GRAY) << 10 << 10 << 0 << 150 << 100;
        QTest::newRow("unknown height") << int(SANE_FRAME_GRAY) << 10 << -1 << 0 << 50 << -1;
        QTest::newRow("second band, half read") << int(SANE_FRAME_GREEN) << 10 << 10 << 1 << 50 << 50;
        QTest::newRow("third band, all read") << int(SANE_FRAME_BLUE) << 10 << 10 << 2 << 100 << 100;
        QTest::newRow("largest grey frame SANE can announce")
            << int(SANE_FRAME_GRAY) << maxInt << maxInt << 0 << 4096 << 0;
        QTest::newRow("largest band") << int(SANE_FRAME_RED) << maxInt << maxInt << 0 << 4096 << 0;
        QTest::newRow("largest band after another")
            << int(SANE_FRAME_BLUE) << maxInt << maxInt << 1 << 4096 << 33;
        QTest::newRow("largest height, a line read")
            << int(SANE_FRAME_GRAY) << 1 << maxInt << 0 << 1 << 0;
    }

    void progress()
    {
        QFETCH(int, format);
        QFETCH(int, bytesPerLine);
        QFETCH(int, lines);
        QFETCH(int, bandsBefore);
        QFETCH(int, bytes);
        QFETCH(int, percent);
        SanePageAssembler page;
        for (int band = 0; band < bandsBefore; ++band) {
            QVERIFY(page.beginFrame(
                parameters(SANE_Frame(SANE_FRAME_RED + band), 8, 1, 1, lines, false)));
            QVERIFY(page.addData("\x7f", 1));
            QVERIFY(page.endFrame());
        }
        QVERIFY(page.beginFrame(parameters(SANE_Frame(format), 8, 1, bytesPerLine, lines)));
        const QByteArray data(bytes, '\x10');
        QVERIFY(page.addData(data.constData(), data.size()));
        QCOMPARE(page.progress(), percent);
    }
};

LUMO_TEST_MAIN(TestSaneFrames)
#include "tst_saneframes.moc"
