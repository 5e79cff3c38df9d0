#include "support/lumotest.h"

#include "imaging/readlimits.h"

#include <QFile>
#include <QRegularExpression>

#include <limits>

// Whether an announced picture size may be decoded on a machine of a given memory.
class TestReadLimits : public QObject
{
    Q_OBJECT

private slots:
    void fits_data()
    {
        QTest::addColumn<qint64>("physical");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("bits");
        QTest::addColumn<bool>("fits");

        const qint64 gib = qint64(1) << 30;
        const int maxInt = std::numeric_limits<int>::max();
        QTest::newRow("40000x20000 on 24 GB") << 24 * gib << QSize(40000, 20000) << 32 << true;
        QTest::newRow("exactly a quarter") << qint64(4000) << QSize(10, 25) << 32 << true;
        QTest::newRow("one row more than a quarter")
            << qint64(4000) << QSize(10, 26) << 32 << false;
        QTest::newRow("1-bit rows padded to 32 bits") << qint64(320) << QSize(33, 10) << 1 << true;
        QTest::newRow("padding counts") << qint64(319) << QSize(33, 10) << 1 << false;
        QTest::newRow("product beyond 64 bits")
            << 24 * gib << QSize(maxInt, maxInt) << maxInt << false;
        QTest::newRow("unknown size is not refused") << 24 * gib << QSize() << 32 << true;
        QTest::newRow("no depth is refused") << 24 * gib << QSize(10, 10) << 0 << false;
    }

    void fits()
    {
        QFETCH(qint64, physical);
        QFETCH(QSize, size);
        QFETCH(int, bits);
        QFETCH(bool, fits);
        QCOMPARE(imaging::ReadLimits(physical).fits(size, bits), fits);
    }

    void thisMachine()
    {
        QFile meminfo(QStringLiteral("/proc/meminfo"));
        if (!meminfo.open(QIODevice::ReadOnly))
            QSKIP("no /proc/meminfo");
        const auto match = QRegularExpression(QStringLiteral("MemTotal:\\s+(\\d+) kB"))
                               .match(QString::fromLatin1(meminfo.readAll()));
        QVERIFY(match.hasMatch());
        // The kernel keeps a little for itself, so MemTotal is slightly below the physical size.
        const qint64 memTotal = match.captured(1).toLongLong() * 1024;
        const qint64 physical = imaging::physicalMemoryBytes();
        QVERIFY2(physical >= memTotal && physical < memTotal + memTotal / 5,
                 qPrintable(QStringLiteral("%1 vs %2").arg(physical).arg(memTotal)));
    }
};

LUMO_TEST_MAIN(TestReadLimits)
#include "tst_readlimits.moc"
