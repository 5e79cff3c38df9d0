#include "support/lumotest.h"

#include "document/jpegquality.h"

#include <QBuffer>
#include <QImageWriter>
#include <QRandomGenerator>

namespace {

QByteArray jpeg(int quality, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.write(lumotest::rampImage(QSize(40, 30)));
    return bytes;
}

const QByteArray soi("\xff\xd8", 2);

} // namespace

// Telling a JPEG's quality from its tables: close on files the image library wrote, and no
// answer, never a crash, on anything else.
class TestJpegQuality : public QObject
{
    Q_OBJECT

private slots:
    void writtenAtKnownQuality_data()
    {
        QTest::addColumn<int>("quality");
        QTest::addColumn<bool>("progressive");
        for (const int quality : {1, 50, 90, 100})
            QTest::addRow("baseline at %d", quality) << quality << false;
        QTest::newRow("progressive at 85") << 85 << true;
    }
    void writtenAtKnownQuality()
    {
        QFETCH(int, quality);
        QFETCH(bool, progressive);
        const int estimate = JpegQuality::estimate(jpeg(quality, progressive));
        QVERIFY2(qAbs(estimate - quality) <= 2, qPrintable(QString::number(estimate)));
    }

    // A quality, or no answer, from tables cut short, out of place or written by other encoders:
    // after large segments, in two bytes, or behind a chrominance table in the same segment.
    void tables_data() { lumotest::addRows(QStringLiteral("jpegquality.txt")); }
    void tables()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, quality);
        QCOMPARE(JpegQuality::estimate(bytes), quality);
    }

    // Every prefix of a real file, and files with bytes changed at random, give a quality or
    // no answer: the estimate never reads outside what it was given.
    void damagedInput_data()
    {
        QTest::addColumn<bool>("mutate");
        QTest::newRow("every prefix") << false;
        QTest::newRow("random bytes changed") << true;
    }
    void damagedInput()
    {
        QFETCH(bool, mutate);
        const QByteArray real = jpeg(70, true);
        QRandomGenerator random(19);
        for (int round = 0; round < 4000; ++round) {
            QByteArray bytes;
            if (!mutate) {
                bytes = real.left(round % (real.size() + 1));
            } else {
                bytes = round % 2 == 0 ? real.left(int(random.bounded(real.size() + 1)))
                                       : soi + QByteArray(int(random.bounded(400)), '\0');
                for (int change = int(random.bounded(8)); change > 0 && bytes.size() > 2; --change)
                    bytes[2 + int(random.bounded(bytes.size() - 2))] = char(random.bounded(256));
            }
            const QByteArray copy(bytes.constData(), bytes.size()); // no slack after the end
            const int estimate = JpegQuality::estimate(copy);
            QVERIFY2(estimate == -1 || (estimate >= 1 && estimate <= 100),
                     qPrintable(QString::number(round)));
        }
    }
};

LUMO_TEST_MAIN(TestJpegQuality)
#include "tst_jpegquality.moc"
