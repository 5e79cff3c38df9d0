#include "support/lumotest.h"

#include "platform/desktopthumbnailcache.h"
#include "platform/lumothumbnails.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <sys/stat.h>

using Size = DesktopThumbnailCache::Size;
using Source = DesktopThumbnailCache::Source;

// The desktop's shared thumbnail cache: what is stored and how, when a stored thumbnail or a
// recorded failure still stands for its file, and which files are never stored.
class TestDesktopThumbnailCache : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_cacheHome;
    std::unique_ptr<QTemporaryDir> m_files;

    QString cacheDir() const { return m_cacheHome->filePath("thumbnails"); }

    QString writeFile(const QString& name, const QByteArray& content = "picture bytes")
    {
        QFile file(m_files->filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size()
            ? file.fileName()
            : QString();
    }

    static QImage thumbnail(const QSize& size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::green);
        return image;
    }

    static int modeOf(const QString& path)
    {
        struct stat status = {};
        return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 0777
                                                                          : -1;
    }

private slots:
    void init()
    {
        m_cacheHome = std::make_unique<QTemporaryDir>();
        m_files = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cacheHome->path()));
    }

    void writtenThenRead_data() { lumotest::addRows(QStringLiteral("thumbnailstored.txt")); }

    void writtenThenRead()
    {
        QFETCH(QSize, picture);
        QFETCH(bool, stored);
        const Size size = Size::Normal;
        const QString dir = QStringLiteral("normal");
        const QString file = writeFile("photo one.jpg");
        const DesktopThumbnailCache cache; // from XDG_CACHE_HOME
        const Source source = DesktopThumbnailCache::sourceOf(file);
        QCOMPARE(cache.write(source, size, thumbnail(picture)), stored);
        const QString path = cache.thumbnailPath(file, size);
        QCOMPARE(QFileInfo(path).path(), cacheDir() + '/' + dir);
        QCOMPARE(QFile::exists(path), stored);
        QCOMPARE(cache.read(source, size).size(), stored ? picture : QSize(0, 0));
        if (!stored)
            return;
        // What another program reading the standard finds in the file: an 8-bit PNG with alpha.
        QCOMPARE(QImageReader(path).format(), QByteArray("png"));
        const QImage png(path);
        QCOMPARE(png.format(), QImage::Format_ARGB32);
        QCOMPARE(png.text("Thumb::URI").toLatin1(), LumoThumbnails::fileUri(file));
        QCOMPARE(png.text("Thumb::MTime").toLongLong(),
                 QFileInfo(file).lastModified().toSecsSinceEpoch());
        QCOMPARE(png.text("Thumb::Size").toLongLong(), QFileInfo(file).size());
        QVERIFY(png.text("Software").startsWith("lumo-image "));
        QCOMPARE(modeOf(path), 0600);
        QCOMPARE(modeOf(cacheDir()), 0700);
        QCOMPARE(modeOf(cacheDir() + '/' + dir), 0700);
        // Nothing is left beside it from the write.
        QCOMPARE(QDir(cacheDir() + '/' + dir).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void staleOrForeign_data() { lumotest::addRows(QStringLiteral("thumbnailstale.txt")); }

    void staleOrForeign()
    {
        QFETCH(QString, change);
        QFETCH(bool, used);
        const QString file = writeFile("a.png");
        const DesktopThumbnailCache cache(cacheDir());
        Source written = DesktopThumbnailCache::sourceOf(file);
        Source now = written;
        if (change == "mtime")
            ++now.mtime;
        else if (change == "uri")
            written.uri = LumoThumbnails::fileUri(m_files->filePath("elsewhere/a.png"));
        QVERIFY(cache.write(written, Size::Normal, thumbnail({16, 16})));
        const QString path = cache.thumbnailPath(file, Size::Normal);
        if (change.startsWith("no ")) {
            // Saved again without the key; the name of the file stays the file's.
            QImage stored(path);
            stored.setText(change == "no size key" ? "Thumb::Size" : "Thumb::MTime", QString());
            QImage bare(stored.size(), stored.format());
            bare.fill(Qt::green);
            for (const QString& key : stored.textKeys())
                if (!stored.text(key).isEmpty())
                    bare.setText(key, stored.text(key));
            QVERIFY(bare.save(path, "PNG"));
        }
        QCOMPARE(!cache.read(now, Size::Normal).isNull(), used);
    }

    // Another program's larger thumbnail saves a decode, when it stands for the file as it is.
    void largerOneScaledDown_data() { lumotest::addRows(QStringLiteral("thumbnaillarger.txt")); }
    void largerOneScaledDown()
    {
        QFETCH(bool, fresh);
        QFETCH(QSize, read);
        const QString file = writeFile("b.jpg");
        const DesktopThumbnailCache cache(cacheDir());
        Source source = DesktopThumbnailCache::sourceOf(file);
        QVERIFY(cache.write(source, Size::Large, thumbnail({256, 192})));
        if (!fresh)
            ++source.mtime;
        QCOMPARE(cache.read(source, Size::Normal).size(), read);
    }

    void failureHonouredUntilFileChanges_data()
    {
        lumotest::addRows(QStringLiteral("thumbnailfailure.txt"));
    }

    void failureHonouredUntilFileChanges()
    {
        QFETCH(QString, change);
        QFETCH(bool, failed);
        const QString file = writeFile("broken.jpg", "not a picture");
        const DesktopThumbnailCache cache(cacheDir());
        QVERIFY(!cache.hasFailed(DesktopThumbnailCache::sourceOf(file)));
        QVERIFY(cache.writeFailure(DesktopThumbnailCache::sourceOf(file)));
        const QString marker = cache.failurePath(file);
        QCOMPARE(QFileInfo(marker).path(), cacheDir() + "/fail/lumo-image-" LUMO_VERSION);
        QCOMPARE(modeOf(marker), 0600);
        QCOMPARE(modeOf(cacheDir() + "/fail"), 0700);
        QCOMPARE(QImage(marker).size(), QSize(1, 1));
        QString asked = file;
        if (change == "size") {
            QVERIFY(writeFile("broken.jpg", "not a picture, still") == file);
        } else if (change == "other") {
            asked = writeFile("other.jpg", "not a picture");
        }
        QCOMPARE(cache.hasFailed(DesktopThumbnailCache::sourceOf(asked)), failed);
        // A failure is no thumbnail.
        QVERIFY(cache.read(DesktopThumbnailCache::sourceOf(asked), Size::Normal).isNull());
    }

    void filesInsideTheCache_data()
    {
        lumotest::addRows(QStringLiteral("thumbnailcachefiles.txt"));
    }

    void filesInsideTheCache()
    {
        QFETCH(QString, file);
        QFETCH(bool, inside);
        QVERIFY(QDir().mkpath(cacheDir() + "/normal"));
        QFile stored(cacheDir() + "/normal/0123.png");
        QVERIFY(stored.open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(cacheDir(), m_files->filePath("link")));
        file.replace('@', cacheDir());
        if (QFileInfo(file).isRelative())
            file = m_files->filePath(file);
        QCOMPARE(DesktopThumbnailCache(cacheDir()).contains(file), inside);
    }
};

LUMO_TEST_MAIN(TestDesktopThumbnailCache)
#include "tst_desktopthumbnailcache.moc"
