#include "support/lumotest.h"

#include "document/picturecache.h"

#include <QFile>
#include <QImage>

#include <optional>

namespace {

// 100 by 100 at 32 bits: 40,000 bytes each.
PictureReader::Result picture(QRgb colour)
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(colour);
    return PictureReader::Result{image, QStringLiteral("png"), QImage(), QString(), {}};
}

const qint64 pictureBytes = 40000;

} // namespace

// The cache of decoded pictures: its budget, which entries it drops to stay within it, and
// that it never hands out the pixels of a file that changed since it was read.
class TestPictureCache : public QObject
{
    Q_OBJECT

private slots:
    void budget_data() { lumotest::addRows(QStringLiteral("cachebudget.txt")); }
    void budget()
    {
        QFETCH(qint64, physical);
        QFETCH(qint64, budget);
        QCOMPARE(PictureCache::budgetFor(physical), budget);
    }

    // Room for two pictures and a half: a third one pushes the least recently used out.
    void eviction_data()
    {
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<QString>("lookedUp");
        QTest::addColumn<QStringList>("kept");
        // Room then made for a picture being read, never at the cost of "a".
        QTest::addColumn<qint64>("room");
        const qint64 twoAndAHalf = pictureBytes * 5 / 2;
        const qint64 three = pictureBytes * 3;
        QTest::newRow("the oldest goes first")
            << twoAndAHalf << QString() << QStringList{"b", "c"} << qint64(0);
        QTest::newRow("a looked-up entry stays")
            << twoAndAHalf << "a" << QStringList{"a", "c"} << qint64(0);
        QTest::newRow("larger than the budget: none kept")
            << pictureBytes - 1 << QString() << QStringList{} << qint64(0);
        QTest::newRow("room for one read: the oldest not kept goes")
            << three << QString() << QStringList{"a", "c"} << pictureBytes;
        QTest::newRow("room for more than the budget: only the kept stays")
            << three << QString() << QStringList{"a"} << three;
    }
    void eviction()
    {
        QFETCH(qint64, budget);
        QFETCH(QString, lookedUp);
        QFETCH(QStringList, kept);
        QFETCH(qint64, room);
        QTemporaryDir dir;
        PictureCache cache(budget);
        const auto pathOf = [&dir](const QString& name) { return dir.filePath(name); };
        for (const char* name : {"a", "b", "c"}) {
            QVERIFY(picture(qRgb(1, 2, 3)).image.save(pathOf(name), "PNG"));
            cache.insert(pathOf(name), PictureCache::Stamp::of(pathOf(name)), picture(0));
            if (QLatin1String(name) == QLatin1String("b") && !lookedUp.isEmpty())
                QVERIFY(cache.contains(pathOf(lookedUp)));
        }
        cache.makeRoom(room, {pathOf("a")});
        QStringList present;
        for (const char* name : {"a", "b", "c"})
            if (cache.contains(pathOf(name)))
                present << name;
        QCOMPARE(present, kept);
        QCOMPARE(cache.count(), kept.size());
        QCOMPARE(cache.usedBytes(), kept.size() * pictureBytes);
    }

    void changedFileNotUsed_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("unchanged is used") << QString();
        QTest::newRow("rewritten at the same size") << "touched";
        QTest::newRow("removed") << "removed";
    }
    void changedFileNotUsed()
    {
        QFETCH(QString, change);
        QTemporaryDir dir;
        const QString path = dir.filePath("photo.png");
        QVERIFY(picture(qRgb(10, 20, 30)).image.save(path, "PNG"));
        PictureCache cache;
        cache.insert(path, PictureCache::Stamp::of(path), picture(qRgb(10, 20, 30)));
        QFile file(path);
        if (change == QLatin1String("touched")) {
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(file.fileTime(QFileDevice::FileModificationTime).addSecs(-5),
                                     QFileDevice::FileModificationTime));
        } else if (change == QLatin1String("removed")) {
            QVERIFY(file.remove());
        }
        file.close();
        const std::optional<PictureReader::Result> found = cache.find(path);
        QCOMPARE(found.has_value(), change.isEmpty());
        QCOMPARE(cache.count(), change.isEmpty() ? 1 : 0);
    }
};

LUMO_TEST_MAIN(TestPictureCache)
#include "tst_picturecache.moc"
