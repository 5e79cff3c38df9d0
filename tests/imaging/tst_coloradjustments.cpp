#include "support/imagingreference.h"
#include "support/lumotest.h"

#include "imaging/brightnesscontrast.h"
#include "imaging/colorbalance.h"
#include "imaging/hsvadjust.h"
#include "imaging/hsvcolor.h"

#include <QRandomGenerator>

Q_DECLARE_METATYPE(QImage::Format)

using Ints = QVector<int>;

namespace {

enum Kind { Brightness, Hsv, Balance };

QImage randomImage(QImage::Format format, quint32 seed)
{
    QRandomGenerator random(seed);
    // An odd width leaves padding at the end of 8-, 16- and 24-bit rows.
    QImage image(37, 23, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        random.fillRange(reinterpret_cast<quint32*>(image.scanLine(y)), image.width());
    return image.convertToFormat(format);
}

bool runFast(int kind, const QImage& source, QImage& target, const Ints& v)
{
    if (kind == Brightness)
        return imaging::adjustBrightnessContrastGamma(source, target, v[0], v[1], v[2]);
    if (kind == Hsv)
        return imaging::adjustHsv(source, target, v[0], v[1], v[2]);
    return imaging::adjustColorBalance(source, target, v[0], v[1], v[2]);
}

QImage runReference(int kind, const QImage& source, const Ints& v)
{
    QImage target = source.copy();
    if (kind == Brightness) {
        const auto table = imaging::brightnessContrastGammaTable(v[0], v[1], v[2]);
        imagingreference::tableAdjust(source, target, table);
    } else if (kind == Hsv) {
        imagingreference::hsvAdjust(source, target, v[0], v[1], v[2]);
    } else {
        imagingreference::balanceAdjust(source, target, v[0], v[1], v[2]);
    }
    return target;
}

} // namespace

// Brightness-contrast-gamma, hue-saturation-value and colour balance.
class TestColorAdjustments : public QObject
{
    Q_OBJECT

private slots:
    void brightnessTable_data();
    void brightnessTable();
    void matchesReference_data();
    void matchesReference();
    void hsvConversion_data();
    void hsvConversion();
    void singleColor_data();
    void singleColor();
    void liveRecomputation();
};

void TestColorAdjustments::brightnessTable_data()
{
    QTest::addColumn<Ints>("sliders"); // brightness, contrast, gamma
    QTest::addColumn<Ints>("inputs");
    QTest::addColumn<Ints>("outputs");

    QTest::newRow("all 0: identity") << Ints{0, 0, 0} << Ints{0, 1, 64, 200, 255}
                                     << Ints{0, 1, 64, 200, 255};
    QTest::newRow("contrast -100: 127") << Ints{0, -100, 0} << Ints{0, 255} << Ints{127, 127};
    QTest::newRow("contrast +100: black below 64")
        << Ints{0, 100, 0} << Ints{0, 63, 64} << Ints{0, 0, 1};
    QTest::newRow("contrast +100: white above 190")
        << Ints{0, 100, 0} << Ints{190, 191} << Ints{253, 255};
    QTest::newRow("brightness +100: +127") << Ints{100, 0, 0} << Ints{0, 100, 200}
                                           << Ints{127, 227, 255};
    QTest::newRow("brightness -100: -127") << Ints{-100, 0, 0} << Ints{255, 100}
                                           << Ints{128, 0};
    QTest::newRow("gamma -100: only white") << Ints{0, 0, -100} << Ints{0, 254, 255}
                                            << Ints{0, 0, 255};
    QTest::newRow("gamma +100: square root") << Ints{0, 0, 100} << Ints{64, 128}
                                             << Ints{128, 181};
    QTest::newRow("contrast before brightness") << Ints{100, -100, 0} << Ints{0} << Ints{254};
    QTest::newRow("brightness before gamma") << Ints{-100, 0, 100} << Ints{255} << Ints{181};
    QTest::newRow("halves away from zero") << Ints{0, -50, 0} << Ints{126, 130}
                                           << Ints{127, 129};
    QTest::newRow("out of range clamped") << Ints{1000, 0, -1000} << Ints{0, 255}
                                          << Ints{0, 255};
}

void TestColorAdjustments::brightnessTable()
{
    QFETCH(Ints, sliders);
    QFETCH(Ints, inputs);
    QFETCH(Ints, outputs);
    const auto table = imaging::brightnessContrastGammaTable(sliders[0], sliders[1], sliders[2]);
    Ints actual;
    for (int v : inputs)
        actual << table[v];
    QCOMPARE(actual, outputs);
}

void TestColorAdjustments::matchesReference_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<Ints>("values");

    const struct
    {
        const char* name;
        QImage::Format format;
    } formats[] = {{"rgb32", QImage::Format_RGB32},
                   {"argb32 made opaque", QImage::Format_ARGB32},
                   {"premultiplied", QImage::Format_ARGB32_Premultiplied},
                   {"byte-ordered rgba", QImage::Format_RGBA8888},
                   {"24-bit rows", QImage::Format_RGB888},
                   {"16-bit colour", QImage::Format_RGB16},
                   {"64-bit colour", QImage::Format_RGBA64},
                   {"8-bit grey", QImage::Format_Grayscale8},
                   {"16-bit grey", QImage::Format_Grayscale16},
                   {"indexed", QImage::Format_Indexed8},
                   {"mono", QImage::Format_Mono}};
    for (const auto& f : formats) {
        QTest::addRow("brightness %s", f.name) << int(Brightness) << f.format << Ints{30, 20, -10};
        QTest::addRow("hsv %s", f.name) << int(Hsv) << f.format << Ints{100, 50, -30};
        QTest::addRow("balance %s", f.name) << int(Balance) << f.format << Ints{120, -40, 7};
    }
    QTest::newRow("hsv all 0") << int(Hsv) << QImage::Format_ARGB32 << Ints{0, 0, 0};
    QTest::newRow("hsv extremes") << int(Hsv) << QImage::Format_RGB32 << Ints{-359, 255, -255};
}

void TestColorAdjustments::matchesReference()
{
    QFETCH(int, kind);
    QFETCH(QImage::Format, format);
    QFETCH(Ints, values);
    const QImage source = randomImage(format, 11);
    QImage target = source;
    QVERIFY(runFast(kind, source, target, values));

    // Pictures without a colour table that are not 32-bit words are adjusted as their 32-bit
    // conversion; pictures with one keep their pixels.
    const bool words = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                       format == QImage::Format_ARGB32_Premultiplied;
    const QImage prepared =
        words || source.colorCount() > 0
            ? source
            : source.convertToFormat(source.hasAlphaChannel() ? QImage::Format_ARGB32
                                                              : QImage::Format_RGB32);
    QCOMPARE(target, runReference(kind, prepared, values));
    if (source.colorCount() > 0) {
        for (int y = 0; y < source.height(); ++y)
            QVERIFY(memcmp(target.constScanLine(y), source.constScanLine(y),
                           size_t(source.bytesPerLine())) == 0);
    }
}

void TestColorAdjustments::hsvConversion_data()
{
    QTest::addColumn<QVector<QRgb>>("colors");

    QVector<QRgb> samples;
    for (int r = 0; r < 256; r += 15) {
        for (int g = 0; g < 256; g += 15) {
            for (int b = 0; b < 256; b += 15)
                samples << qRgb(r, g, b);
        }
    }
    QRandomGenerator random(3);
    for (int i = 0; i < 20000; ++i)
        samples << random.generate();
    QTest::newRow("grid and random samples") << samples;
    // Exact halves, where the floating rounding inside QColor decides.
    QTest::newRow("halves") << QVector<QRgb>{qRgb(1, 1, 34), qRgb(34, 1, 5), qRgb(2, 0, 4),
                                             qRgb(170, 141, 140), qRgb(255, 210, 211)};
}

void TestColorAdjustments::hsvConversion()
{
    QFETCH(QVector<QRgb>, colors);
    for (QRgb rgb : colors) {
        int h;
        int s;
        int v;
        QColor(rgb).getHsv(&h, &s, &v);
        const imaging::Hsv hsv = imaging::toHsv(rgb);
        QCOMPARE(Ints({hsv.hue, hsv.saturation, hsv.value}), Ints({h, s, v}));
        QCOMPARE(imaging::fromHsv(h, s, v), QColor::fromHsv(h, s, v).rgb());
        // The channels reused as hue, saturation and value reach other corners of HSV.
        const int hue = qRed(rgb) * 359 / 255;
        QCOMPARE(imaging::fromHsv(hue, qGreen(rgb), qBlue(rgb)),
                 QColor::fromHsv(hue, qGreen(rgb), qBlue(rgb)).rgb());
    }
}

void TestColorAdjustments::singleColor_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRgb>("color");
    QTest::addColumn<Ints>("values");
    QTest::addColumn<QRgb>("expected");

    QTest::newRow("hue +100 on 300 stops at 359")
        << int(Hsv) << qRgb(255, 0, 255) << Ints{100, 0, 0} << qRgb(255, 0, 4);
    QTest::newRow("hue clamped at 0, not wrapped")
        << int(Hsv) << qRgb(255, 0, 43) << Ints{-359, 0, 0} << qRgb(255, 0, 0);
    QTest::newRow("grey turns red") << int(Hsv) << qRgb(128, 128, 128) << Ints{0, 100, 0}
                                    << qRgb(128, 78, 78);
    QTest::newRow("saturation -255: grey") << int(Hsv) << qRgb(200, 50, 100) << Ints{0, -255, 0}
                                           << qRgb(200, 200, 200);
    QTest::newRow("value -255: black") << int(Hsv) << qRgb(200, 50, 100) << Ints{0, 0, -255}
                                       << qRgb(0, 0, 0);
    QTest::newRow("hue beyond range clamped")
        << int(Hsv) << qRgb(255, 0, 255) << Ints{100000, 0, 0} << qRgb(255, 0, 4);
    QTest::newRow("hsv: transparent made opaque")
        << int(Hsv) << qRgba(255, 0, 0, 0) << Ints{0, 0, 0} << qRgb(255, 0, 0);
    QTest::newRow("red +255") << int(Balance) << qRgb(10, 20, 30) << Ints{255, 0, 0}
                              << qRgb(255, 20, 30);
    QTest::newRow("red -255") << int(Balance) << qRgb(210, 20, 30) << Ints{-255, 0, 0}
                              << qRgb(0, 20, 30);
    QTest::newRow("balance clamps, opaque")
        << int(Balance) << qRgba(10, 20, 30, 5) << Ints{0, -15, 300} << qRgb(10, 5, 255);
}

void TestColorAdjustments::singleColor()
{
    QFETCH(int, kind);
    QFETCH(QRgb, color);
    QFETCH(Ints, values);
    QFETCH(QRgb, expected);
    const QRgb actual = kind == Hsv
                            ? imaging::adjustHsvColor(color, values[0], values[1], values[2])
                            : imaging::balanceColor(color, values[0], values[1], values[2]);
    QCOMPARE(QString::number(actual, 16), QString::number(expected, 16));
    // A whole picture of that colour, large enough to be split over threads.
    QImage picture(300, 300, QImage::Format_ARGB32);
    picture.fill(color);
    QImage target;
    QVERIFY(runFast(kind, picture, target, values));
    QCOMPARE(QString::number(target.pixel(299, 299), 16), QString::number(expected, 16));
}

void TestColorAdjustments::liveRecomputation()
{
    const QImage original = randomImage(QImage::Format_RGB32, 5).scaled(700, 500);
    for (int kind : {Brightness, Hsv, Balance}) {
        const QImage source = original.copy();
        QImage target = source;     // the dialog's target starts shared with its source
        const QImage undo = target; // and with the copy on the undo list
        QVERIFY(runFast(kind, source, target, {40, -60, 20}));
        QVERIFY(runFast(kind, source, target, {-20, 30, 10}));
        QImage once;
        QVERIFY(runFast(kind, source, once, {-20, 30, 10}));
        QCOMPARE(target, once);
        QCOMPARE(source, original);
        QCOMPARE(undo, original);
    }
}

LUMO_TEST_MAIN(TestColorAdjustments)
#include "tst_coloradjustments.moc"
