#include "support/lumotest.h"

#include "imaging/readlimits.h"

#include <QFile>
#include <QRegularExpression>

// Whether an announced picture size may be decoded on a machine of a given memory.
class TestReadLimits : public QObject
{
    Q_OBJECT

private slots:
    void fits_data() { lumotest::addRows(QStringLiteral("readlimits.txt")); }
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
