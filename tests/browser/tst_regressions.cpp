#include "support/lumotest.h"

#include "support/fuzzentries.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

#include <functional>

namespace {

using lumotest::contents;

using Entry = std::function<bool(const QByteArray&)>;

struct Target
{
    const char* name;
    Entry entry;
    // Whether every regression of the target must come out unreadable (hostile pictures).
    bool refuses;
};

const Target targets[] = {
    {"picture", fuzzentries::readPicture, true},
    {"thumbnail", fuzzentries::readThumbnail, true},
    {"metadata", fuzzentries::carryMetadata, false},
    {"reply", fuzzentries::readReply, false},
    {"scan", fuzzentries::assembleScan, false},
    {"paths", fuzzentries::parsePaths, false},
};

Entry entryOf(const QString& target)
{
    for (const Target& t : targets) {
        if (target == QLatin1String(t.name))
            return t.entry;
    }
    return Entry();
}

// The plugin a file needs, told by its suffix; empty when Qt reads it itself.
QByteArray pluginFor(const QString& name)
{
    const QByteArray suffix = QFileInfo(name).suffix().toLatin1();
    return suffix == "jpg" ? QByteArray("jpeg") : suffix;
}

} // namespace

// Every file the fuzzers found, and the hand-made files of each known class of fault, replayed
// through the entry it broke: none may crash or allocate beyond what ctest allows (ASan's
// max_allocation_size_mb), and hostile pictures read as unreadable. The seed files show that
// the same entries do read good files.
class TestRegressions : public QObject
{
    Q_OBJECT

private slots:
    void replay_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("refused");
        const QString regress = lumotest::dataDir(QStringLiteral("regress"));
        QVERIFY(QFileInfo(regress).isDir());
        for (const Target& t : targets) {
            const QDir dir(regress + QLatin1Char('/') + QLatin1String(t.name));
            for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
                QTest::addRow("%s: %s", t.name, qPrintable(name))
                    << QString::fromLatin1(t.name) << dir.filePath(name) << t.refuses;
            }
        }
    }

    void replay()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QFETCH(bool, refused);
        const bool readable = entryOf(target)(contents(path));
        if (refused)
            QVERIFY(!readable);
    }

    void seedsRead_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        const QString seeds = lumotest::dataDir(QStringLiteral("fuzz"));
        QVERIFY(QFileInfo(seeds).isDir());
        const QList<QByteArray> readers = QImageReader::supportedImageFormats();
        for (const char* target : {"picture", "thumbnail"}) {
            const QDir dir(seeds + QLatin1Char('/') + QLatin1String(target));
            for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
                if (readers.contains(pluginFor(name)))
                    QTest::addRow("%s: %s", target, qPrintable(name))
                        << QString::fromLatin1(target) << dir.filePath(name);
            }
        }
    }

    void seedsRead()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QVERIFY(entryOf(target)(contents(path)));
    }

    void metadataSeedsCarry()
    {
        const QDir dir(lumotest::dataDir(QStringLiteral("fuzz/metadata")));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("exif.jpg"))).isFile());
        QVERIFY(fuzzentries::carryMetadata(contents(dir.filePath(QStringLiteral("exif.jpg")))));
    }

    void scanSeedsComplete()
    {
        const QDir dir(lumotest::dataDir(QStringLiteral("fuzz/scan")));
        for (const QString& name : dir.entryList(QDir::Files))
            QVERIFY2(fuzzentries::assembleScan(contents(dir.filePath(name))), qPrintable(name));
    }
};

LUMO_TEST_MAIN(TestRegressions)
#include "tst_regressions.moc"
