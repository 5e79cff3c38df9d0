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

QByteArray segment(int marker, const QByteArray& payload)
{
    QByteArray bytes("\xff");
    bytes.append(char(marker));
    const int length = payload.size() + 2;
    bytes.append(char(length >> 8)).append(char(length & 0xff));
    return bytes + payload;
}

// One quantisation table with every value the same, in one or two bytes each.
QByteArray flatTable(int id, int value, bool wide)
{
    QByteArray table(1, char((wide ? 0x10 : 0) | id));
    for (int i = 0; i < 64; ++i) {
        if (wide)
            table.append(char(value >> 8));
        table.append(char(value & 0xff));
    }
    return table;
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

    void noAnswer_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray real = jpeg(80);
        const int tables = real.indexOf(QByteArray("\xff\xdb", 2));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("cut inside the luminance table") << real.left(tables + 30);
        QTest::newRow("segment longer than the file")
            << soi + QByteArray("\xff\xe1\x7f\xff", 4) + QByteArray(100, 'x');
        QTest::newRow("segment length below its own size")
            << soi + QByteArray("\xff\xe0\x00\x01", 4);
        QTest::newRow("scan before any table") << soi + segment(0xda, QByteArray(12, 0)) +
                                                       segment(0xdb, flatTable(0, 8, false));
        QTest::newRow("chrominance table only") << soi + segment(0xdb, flatTable(1, 8, false));
        QTest::newRow("table of zeros") << soi + segment(0xdb, flatTable(0, 0, false));
        QTest::newRow("table shorter than its precision")
            << soi + segment(0xdb, flatTable(0, 8, false).left(40));
    }
    void noAnswer()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(JpegQuality::estimate(bytes), -1);
    }

    // Tables written by other encoders: after large segments, in two bytes, or behind a
    // chrominance table in the same segment.
    void otherLayouts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("quality");
        const QByteArray camera = jpeg(92);
        QTest::newRow("after a large Exif segment and fill bytes")
            << soi + segment(0xe1, QByteArray(60000, 'e')) + QByteArray("\xff", 1) +
                   camera.mid(2)
            << 92;
        // The standard table at quality 50 is the table itself; all ones is quality 100.
        QTest::newRow("two-byte values") << soi + segment(0xdb, flatTable(0, 1, true)) << 100;
        QTest::newRow("luminance second in its segment")
            << soi + segment(0xdb, flatTable(1, 200, false) + flatTable(0, 1, false)) << 100;
        QTest::newRow("restart marker before the tables")
            << soi + QByteArray("\xff\xd0", 2) + segment(0xdb, flatTable(0, 1, false)) << 100;
    }
    void otherLayouts()
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
                for (int change = int(random.bounded(8)); change > 0 && bytes.size() > 2;
                     --change)
                    bytes[2 + int(random.bounded(bytes.size() - 2))] =
                        char(random.bounded(256));
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
