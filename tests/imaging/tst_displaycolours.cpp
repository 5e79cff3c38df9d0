#include "support/lumotest.h"

#include "imaging/displaycolours.h"

#include <QColorSpace>
#include <QFile>

#include <cmath>

namespace {

// Adobe RGB (1998) to sRGB worked out by hand: the two share their red and blue primaries
// and white, so only green mixes in; Adobe's curve is a plain gamma of 563/256.
QRgb adobeToSrgb(QRgb adobe)
{
    const auto linear = [](int value) { return std::pow(value / 255.0, 563.0 / 256.0); };
    const auto encoded = [](double value) {
        value = std::clamp(value, 0.0, 1.0);
        const double curve =
            value <= 0.0031308 ? 12.92 * value : 1.055 * std::pow(value, 1.0 / 2.4) - 0.055;
        return int(std::lround(curve * 255.0));
    };
    const double r = linear(qRed(adobe));
    const double g = linear(qGreen(adobe));
    const double b = linear(qBlue(adobe));
    return qRgb(encoded(1.3983557 * r - 0.3983557 * g), encoded(g),
                encoded(-0.0429289 * g + 1.0429289 * b));
}

int distance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

} // namespace

// What the screen is given for a picture that carries a colour profile: sRGB pixels by the
// profile's maths, and the picture untouched when it is sRGB or says nothing.
class TestDisplayColours : public QObject
{
    Q_OBJECT

private slots:
    void adobeRgb_data() { lumotest::addRows(QStringLiteral("colourspaces.txt")); }
    void adobeRgb()
    {
        QFETCH(QVector<int>, colour);
        QFETCH(int, format);
        const QRgb stored = QRgb(colour.value(0));
        QImage picture(33, 21, QImage::Format(format));
        picture.fill(QColor(stored));
        picture.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
        QVERIFY(imaging::needsDisplayConversion(picture));
        const QImage shown = imaging::displayColours(picture);
        QCOMPARE(shown.size(), picture.size());
        QCOMPARE(shown.colorSpace(), QColorSpace(QColorSpace::SRgb));
        const QRgb expected = adobeToSrgb(stored);
        QVERIFY2(distance(shown.pixel(2, 1), expected) <= 2,
                 qPrintable(QColor(shown.pixel(2, 1)).name() + " for " + QColor(expected).name()));
        // A flat picture comes out flat, edges and all.
        for (const QPoint& corner : {QPoint(0, 0), QPoint(32, 0), QPoint(0, 20), QPoint(32, 20)})
            QCOMPARE(shown.pixel(corner), shown.pixel(16, 10));
        // The picture itself keeps its pixels and profile.
        QCOMPARE(picture.pixel(2, 1), QColor(stored).rgb());
        QCOMPARE(picture.colorSpace(), QColorSpace(QColorSpace::AdobeRgb));
    }

    void shownAsItIs_data()
    {
        QTest::addColumn<int>("space"); // 0: none
        QTest::newRow("no colour space") << 0;
        QTest::newRow("sRGB") << int(QColorSpace::SRgb);
    }
    void shownAsItIs()
    {
        QFETCH(int, space);
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::darkMagenta);
        if (space)
            picture.setColorSpace(QColorSpace(QColorSpace::NamedColorSpace(space)));
        QVERIFY(!imaging::needsDisplayConversion(picture));
        QCOMPARE(imaging::displayColours(picture).cacheKey(), picture.cacheKey());
    }

    void oneBitPicture()
    {
        QImage picture(8, 8, QImage::Format_Mono);
        picture.setColorTable({qRgb(0, 0, 0), qRgb(60, 140, 200)});
        picture.fill(1);
        picture.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
        const QImage shown = imaging::displayColours(picture);
        QVERIFY2(distance(shown.pixel(3, 3), adobeToSrgb(qRgb(60, 140, 200))) <= 2,
                 qPrintable(QColor(shown.pixel(3, 3)).name()));
    }

    void srgbLike_data()
    {
        QTest::addColumn<QColorSpace>("space");
        QTest::addColumn<bool>("like");
        using Primaries = QColorSpace::Primaries;
        using Curve = QColorSpace::TransferFunction;
        QTest::newRow("sRGB") << QColorSpace(QColorSpace::SRgb) << true;
        QTest::newRow("sRGB's primaries, gamma 2.2 as PNG files write it")
            << QColorSpace(Primaries::SRgb, Curve::Gamma, 2.2f) << true;
        QTest::newRow("sRGB read back from its ICC profile")
            << QColorSpace::fromIccProfile(QColorSpace(QColorSpace::SRgb).iccProfile()) << true;
        QTest::newRow("sRGB's primaries, gamma 1.8")
            << QColorSpace(Primaries::SRgb, Curve::Gamma, 1.8f) << false;
        QTest::newRow("linear sRGB") << QColorSpace(QColorSpace::SRgbLinear) << false;
        QTest::newRow("Adobe RGB") << QColorSpace(QColorSpace::AdobeRgb) << false;
        QTest::newRow("Adobe RGB's primaries with sRGB's curve")
            << QColorSpace(Primaries::AdobeRgb, Curve::SRgb) << false;
        QFile ghostscript(QStringLiteral("/usr/share/color/icc/ghostscript/srgb.icc"));
        if (ghostscript.open(QIODevice::ReadOnly))
            QTest::newRow("an installed sRGB profile")
                << QColorSpace::fromIccProfile(ghostscript.readAll()) << true;
    }
    void srgbLike()
    {
        QFETCH(QColorSpace, space);
        QFETCH(bool, like);
        QVERIFY(space.isValid());
        QCOMPARE(imaging::isSrgbLike(space), like);
    }

    void wideGamutIsNotDull()
    {
        // Display P3's pure red lies beyond sRGB's: shown, it stays a fully saturated red
        // rather than the duller one the same numbers mean in sRGB.
        QImage picture(2, 2, QImage::Format_RGB32);
        picture.fill(qRgb(200, 40, 40));
        picture.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
        const QRgb shown = imaging::displayColours(picture).pixel(0, 0);
        QVERIFY2(qRed(shown) > 215 && qGreen(shown) < 40 && qBlue(shown) < 40,
                 qPrintable(QColor(shown).name()));
    }
};

LUMO_TEST_MAIN(TestDisplayColours)
#include "tst_displaycolours.moc"
