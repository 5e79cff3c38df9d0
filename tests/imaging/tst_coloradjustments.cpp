#include "support/imagingreference.h"
#include "support/lumotest.h"

#include "imaging/brightnesscontrast.h"
#include "imaging/colorbalance.h"
#include "imaging/hsvadjust.h"

#include <QRandomGenerator>

Q_DECLARE_METATYPE(QImage::Format)

using Ints = QVector<int>;

namespace {

constexpr int Brightness = 0, Hsv = 1, Balance = 2;

QImage randomImage(QImage::Format format, quint32 seed)
{
    QRandomGenerator random(seed);
    // An odd width leaves padding at the end of 8- and 24-bit rows.
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
    if (kind == Brightness)
        imagingreference::tableAdjust(source, target,
                                      imaging::brightnessContrastGammaTable(v[0], v[1], v[2]));
    else if (kind == Hsv)
        imagingreference::hsvAdjust(source, target, v[0], v[1], v[2]);
    else
        imagingreference::balanceAdjust(source, target, v[0], v[1], v[2]);
    return target;
}

} // namespace

// Brightness-contrast-gamma, hue-saturation-value and colour balance.
class TestColorAdjustments : public QObject
{
    Q_OBJECT

private slots:
    void brightnessTable_data() { lumotest::addRows(QStringLiteral("brightnesstable.txt")); }

    void brightnessTable()
    {
        QFETCH(Ints, sliders);
        QFETCH(Ints, inputs);
        QFETCH(Ints, outputs);
        const auto table =
            imaging::brightnessContrastGammaTable(sliders[0], sliders[1], sliders[2]);
        for (int& v : inputs)
            v = table[v];
        QCOMPARE(inputs, outputs);
    }

    void matchesReference_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QImage::Format>("format");

        // One picture per branch: 32-bit words, converted first (padded rows, 8-bit grey), and a
        // colour table.
        const std::pair<const char*, QImage::Format> formats[] = {
            {"argb32 made opaque", QImage::Format_ARGB32},
            {"24-bit rows", QImage::Format_RGB888},
            {"8-bit grey", QImage::Format_Grayscale8},
            {"indexed", QImage::Format_Indexed8}};
        for (const auto& [name, format] : formats) {
            QTest::addRow("brightness %s", name) << Brightness << format;
            QTest::addRow("hsv %s", name) << Hsv << format;
            QTest::addRow("balance %s", name) << Balance << format;
        }
    }

    void matchesReference()
    {
        QFETCH(int, kind);
        QFETCH(QImage::Format, format);
        const Ints values = kind == Brightness ? Ints{30, 20, -10} : Ints{100, 50, -30};
        const QImage source = randomImage(format, 11);
        QImage target = source;
        QVERIFY(runFast(kind, source, target, values));

        // Pictures without a colour table that are not 32-bit words are adjusted as their 32-bit
        // conversion; pictures with one keep their pixels.
        const bool indexed = source.colorCount() > 0;
        const QImage prepared = indexed || format == QImage::Format_ARGB32
                                    ? source
                                    : source.convertToFormat(QImage::Format_RGB32);
        QCOMPARE(target, runReference(kind, prepared, values));
        for (int y = 0; indexed && y < source.height(); ++y)
            QVERIFY(memcmp(target.constScanLine(y), source.constScanLine(y),
                           size_t(source.bytesPerLine()))
                    == 0);
    }

    void singleColor_data() { lumotest::addRows(QStringLiteral("singlecolour.txt")); }

    void singleColor()
    {
        QFETCH(int, kind);
        QFETCH(Ints, colour);
        QFETCH(Ints, values);
        QFETCH(Ints, expected);
        // A whole picture of that colour, large enough to be split over threads.
        QImage picture(300, 300, QImage::Format_ARGB32);
        picture.fill(QRgb(colour.value(0)));
        QImage target;
        QVERIFY(runFast(kind, picture, target, values));
        QCOMPARE(QString::number(target.pixel(299, 299), 16),
                 QString::number(QRgb(expected.value(0)), 16));
    }

    void liveRecomputation()
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
};

LUMO_TEST_MAIN(TestColorAdjustments)
#include "tst_coloradjustments.moc"
