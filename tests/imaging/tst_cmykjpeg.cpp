#include "support/lumotest.h"

#include "imaging/cmykjpeg.h"
#include "support/cmykjpegs.h"

#include <QBuffer>
#include <QColorSpace>

namespace {

using cmykjpegs::encoded;
using cmykjpegs::pressProfile;
using cmykjpegs::Samples;

int distance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

const imaging::ReadLimits roomy(qint64(1) << 32);

} // namespace

// CMYK JPEGs shown through a press profile, not by the plain ink formula that oversaturates
// them; damaged or oversized ones end as a null image, never as a crash.
class TestCmykJpeg : public QObject
{
    Q_OBJECT

private slots:
    void inkToScreen_data() { lumotest::addRows(QStringLiteral("cmykink.txt")); }
    void inkToScreen()
    {
        QFETCH(QVector<int>, ink);
        QFETCH(int, samples);
        QFETCH(bool, embedded);
        QFETCH(QVector<int>, proof);
        QFETCH(QVector<int>, formula);
        const QRgb expected = QRgb(proof.value(0));
        const QRgb naive = QRgb(formula.value(0));
        const QByteArray profile = pressProfile();
        if (profile.isEmpty())
            QSKIP("no CMYK profile installed (libgs-common)");
        const QByteArray jpeg =
            encoded(QSize(16, 8), ink, Samples(samples), embedded ? profile : QByteArray());
        const QImage shown =
            imaging::decodeCmykJpeg(jpeg, roomy, embedded ? QByteArray() : profile);
        QCOMPARE(shown.size(), QSize(16, 8));
        QCOMPARE(shown.format(), QImage::Format_RGB32);
        QCOMPARE(shown.colorSpace(), QColorSpace(QColorSpace::SRgb));
        const QRgb pixel = shown.pixel(8, 4);
        QVERIFY2(distance(pixel, expected) <= 24,
                 qPrintable(QColor(pixel).name() + " for " + QColor(expected).name()));
        QVERIFY2(distance(pixel, naive) > 30, qPrintable(QColor(pixel).name()));
        QCOMPARE(qAlpha(pixel), 255);
    }

    void withoutProfile_data() { lumotest::addRows(QStringLiteral("cmykplain.txt")); }
    void withoutProfile()
    {
        QFETCH(int, samples);
        // Half cyan, a quarter black: paper left is 128 of red, then three quarters of each.
        const QByteArray jpeg = encoded(QSize(8, 8), {127, 0, 0, 64}, Samples(samples));
        const QImage shown = imaging::decodeCmykJpeg(jpeg, roomy, QByteArray());
        QVERIFY(!shown.isNull());
        QVERIFY2(distance(shown.pixel(4, 4), qRgb(96, 191, 191)) <= 3,
                 qPrintable(QColor(shown.pixel(4, 4)).name()));
    }

    void scaledDecoding_data() { lumotest::addRows(QStringLiteral("cmykscaled.txt")); }
    void scaledDecoding()
    {
        QFETCH(int, denominator);
        QFETCH(QSize, size);
        const QByteArray jpeg = encoded(QSize(64, 40), {0, 0, 255, 0}, Samples::AdobeInverted);
        QCOMPARE(imaging::cmykJpegSize(jpeg, denominator), size);
        const QImage decoded = imaging::decodeCmykJpeg(jpeg, roomy, QByteArray(), denominator);
        QCOMPARE(decoded.isNull(), !size.isValid());
        if (size.isValid())
            QCOMPARE(decoded.size(), size);
    }

    void damaged_data() { lumotest::addRows(QStringLiteral("cmykdamaged.txt")); }
    void damaged()
    {
        QFETCH(QString, kept);
        QFETCH(bool, decodes);
        const QByteArray whole = encoded(QSize(512, 512), {30, 60, 90, 10}, Samples::AdobeYcck);
        const double share = kept.toDouble();
        const int bytes = share < 1.0 ? int(whole.size() * share) : int(share);
        const QImage shown = imaging::decodeCmykJpeg(whole.left(bytes), roomy, QByteArray());
        QCOMPARE(!shown.isNull(), decodes);
        if (decodes)
            QCOMPARE(shown.size(), QSize(512, 512));
    }

    void garbageBody()
    {
        QByteArray jpeg = encoded(QSize(64, 64), {0, 0, 0, 128}, Samples::Plain);
        // Entropy-coded data overwritten from a third on: whatever comes out, it ends.
        for (int i = jpeg.size() / 3; i < jpeg.size() - 2; ++i)
            jpeg[i] = char((i * 37) & 0xFF);
        const QImage shown = imaging::decodeCmykJpeg(jpeg, roomy, QByteArray());
        QVERIFY(shown.isNull() || shown.size() == QSize(64, 64));
    }

    void sizeBeyondLimits()
    {
        const QByteArray jpeg = encoded(QSize(200, 100), {0, 0, 0, 0}, Samples::Plain);
        // 200 x 100 x 4 bytes is 80 000: a machine of 4 x 70 000 bytes may not decode it.
        QVERIFY(imaging::decodeCmykJpeg(jpeg, imaging::ReadLimits(4 * 70000), {}).isNull());
        QVERIFY(!imaging::decodeCmykJpeg(jpeg, imaging::ReadLimits(4 * 80000), {}).isNull());
    }

    void detection_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("cmyk");
        const QByteArray cmyk = encoded(QSize(8, 8), {0, 0, 0, 0}, Samples::Plain, pressProfile());
        QTest::newRow("CMYK") << cmyk << true;
        QTest::newRow("YCCK") << encoded(QSize(8, 8), {0, 0, 0, 0}, Samples::AdobeYcck) << true;
        QTest::newRow("RGB") << lumotest::encoded(lumotest::rampImage({8, 8}), "JPEG") << false;
        QTest::newRow("cut before the frame header") << cmyk.left(20) << false;
        QTest::newRow("not a JPEG") << QByteArray("\x89PNG\r\n\x1a\n") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void detection()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, cmyk);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(imaging::isCmykJpeg(&buffer), cmyk);
        QCOMPARE(buffer.pos(), qint64(0));
    }
};

LUMO_TEST_MAIN(TestCmykJpeg)
#include "tst_cmykjpeg.moc"
