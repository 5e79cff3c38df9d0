#include "support/lumotest.h"

#include "document/picture.h"
#include "document/picturecache.h"
#include "document/pictureloader.h"

#include <QDir>
#include <QFile>
#include <QImage>

namespace {

// Large enough that reading it takes a moment.
const QSize pictureSize(400, 300);

QRgb colourOf(const QVariant& image)
{
    return image.value<QImage>().pixel(0, 0);
}

} // namespace

// Reading pictures off the GUI thread: the newest request wins, what was read ahead arrives at
// once, a changed file is read again, and an unreadable one is not kept.
class TestPictureLoader : public QObject
{
    Q_OBJECT

private slots:
    void newestRequestWins()
    {
        QTemporaryDir dir;
        const QString older =
            lumotest::writeSolid(dir.filePath("older.png"), QSize(2000, 1500), qRgb(255, 0, 0));
        const QString newer =
            lumotest::writeSolid(dir.filePath("newer.png"), pictureSize, qRgb(0, 0, 255));
        PictureCache cache;
        PictureLoader loader(&cache);
        QSignalSpy standIns(&loader, &PictureLoader::standInReady);
        QSignalSpy loaded(&loader, &PictureLoader::loaded);
        // Its stand-in shows the older read under way when the newer request comes.
        loader.load(older, [](const QSize&) { return QSize(20, 15); });
        QVERIFY(standIns.wait(20000));
        loader.load(newer);
        QVERIFY(loader.isLoading());
        QVERIFY(loaded.wait(20000));
        // The older read ends too, into the cache only.
        QTRY_VERIFY_WITH_TIMEOUT(cache.contains(older), 20000);
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(loaded.first().at(0).toString(), newer);
        QCOMPARE(colourOf(loaded.first().at(1)), qRgb(0, 0, 255));
        QVERIFY(!loader.isLoading());
    }

    // The read begun before the window goes to the loader asked for that file, however its
    // path is spelt, stand-in and whole; another file is read as usual.
    void earlyReadTakenOver()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        const QString early =
            lumotest::writeSolid(dir.filePath("early.png"), QSize(2000, 1500), qRgb(255, 0, 0));
        const QString other =
            lumotest::writeSolid(dir.filePath("other.png"), pictureSize, qRgb(0, 0, 255));
        PictureLoader::readEarly(early, [](const QSize&) { return QSize(20, 15); }, {});
        PictureCache cache;
        PictureLoader loader(&cache);
        QSignalSpy standIns(&loader, &PictureLoader::standInReady);
        QSignalSpy loaded(&loader, &PictureLoader::loaded);
        loader.load(other);
        QVERIFY(loaded.wait(20000));
        QCOMPARE(colourOf(loaded.takeFirst().at(1)), qRgb(0, 0, 255));
        QVERIFY(standIns.isEmpty());
        loader.load(dir.filePath("sub/../early.png"));
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 20000);
        QCOMPARE(colourOf(loaded.first().at(1)), qRgb(255, 0, 0));
        QCOMPARE(standIns.size(), 1);
        QCOMPARE(standIns.first().at(0).value<QImage>().size(), QSize(20, 15));
    }

    void readAheadArrivesAtOnce_data()
    {
        QTest::addColumn<bool>("rewritten");
        QTest::newRow("unchanged file from the cache") << false;
        QTest::newRow("rewritten file read again") << true;
    }
    void readAheadArrivesAtOnce()
    {
        QFETCH(bool, rewritten);
        QTemporaryDir dir;
        const QString path =
            lumotest::writeSolid(dir.filePath("next.png"), pictureSize, qRgb(0, 255, 0));
        PictureCache cache;
        PictureLoader loader(&cache);
        loader.preload({path});
        QTRY_VERIFY_WITH_TIMEOUT(cache.contains(path), 20000);
        if (rewritten) {
            QVERIFY(
                !lumotest::writeSolid(dir.filePath("next.png"), QSize(300, 300), qRgb(255, 255, 0))
                     .isEmpty());
        }
        QSignalSpy loaded(&loader, &PictureLoader::loaded);
        loader.load(path);
        QCOMPARE(loaded.size(), rewritten ? 0 : 1);
        if (rewritten)
            QVERIFY(loaded.wait(20000));
        QCOMPARE(colourOf(loaded.first().at(1)), rewritten ? qRgb(255, 255, 0) : qRgb(0, 255, 0));
    }

    void unreadableNotKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("broken.png");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
        file.close();
        PictureCache cache;
        PictureLoader loader(&cache);
        QSignalSpy loaded(&loader, &PictureLoader::loaded);
        loader.load(path);
        QVERIFY(loaded.wait(20000));
        QVERIFY(loaded.first().at(1).value<QImage>().isNull());
        QCOMPARE(cache.count(), 0);
    }

    void finishBlocksUntilIn()
    {
        QTemporaryDir dir;
        const QString path =
            lumotest::writeSolid(dir.filePath("photo.png"), pictureSize, qRgb(9, 9, 9));
        PictureCache cache;
        PictureLoader loader(&cache);
        QSignalSpy loaded(&loader, &PictureLoader::loaded);
        loader.load(path);
        loader.finish();
        QCOMPARE(loaded.size(), 1);
        QVERIFY(!loader.isLoading());
        // The worker's own notice of the end comes later and changes nothing.
        QTRY_VERIFY(cache.contains(path));
        QCOMPARE(loaded.size(), 1);
    }

    // Edits work on the picture's own pixels; the copy kept for a quick return stays the file's.
    void editsStayOffTheCache()
    {
        QTemporaryDir dir;
        const QString path =
            lumotest::writeSolid(dir.filePath("photo.png"), QSize(64, 48), qRgb(0, 0, 0));
        Picture picture;
        QSignalSpy loaded(&picture, &Picture::loaded);
        picture.load(path);
        QVERIFY(loaded.size() == 1 || loaded.wait(20000));
        picture.image().fill(Qt::red);
        picture.setModified(true);
        picture.preload({path});
        QCOMPARE(PictureCache::shared()->find(path)->image.pixel(0, 0), qRgb(0, 0, 0));
        QCOMPARE(picture.image().pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(loaded.size(), 1);
    }
};

LUMO_TEST_MAIN(TestPictureLoader)
#include "tst_pictureloader.moc"
