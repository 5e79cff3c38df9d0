#include "support/lumotest.h"

#include "platform/saneframes.h"
#include "platform/sanepageassembler.h"

namespace {

SANE_Parameters parameters(SANE_Frame format, int depth, int pixels, int bytesPerLine, int lines,
                           bool last = true)
{
    return {format, last ? SANE_TRUE : SANE_FALSE, bytesPerLine, pixels, lines, depth};
}

// Samples as the scanner sends them: bytes, or 16-bit words in this machine's byte order.
QByteArray samples(int depth, const QVector<int>& values)
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
    void decode_data() { lumotest::addRows(QStringLiteral("saneframes.txt")); }

    void decode()
    {
        QFETCH(QVector<int>, frame);
        QFETCH(QVector<int>, data);
        QFETCH(int, imageFormat);
        QFETCH(QVector<int>, expected);
        const int depth = frame[1];
        const QImage image = SaneFrames::decode(
            parameters(SANE_Frame(frame[0]), depth, frame[2], frame[3], frame[4]),
            samples(depth, data));
        QCOMPARE(image.isNull(), expected.isEmpty());
        if (image.isNull())
            return;
        QCOMPARE(image.width(), frame[2]);
        QCOMPARE(int(image.format()), imageFormat);
        QCOMPARE(pixels(image), (QList<QRgb>(expected.cbegin(), expected.cend())));
    }

    void threePass_data() { lumotest::addRows(QStringLiteral("sanethreepass.txt")); }

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

    void progress_data() { lumotest::addRows(QStringLiteral("saneprogress.txt")); }

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
