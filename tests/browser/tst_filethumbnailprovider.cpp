#include "support/animatedgif.h"
#include "support/lumotest.h"

#include "browser/filethumbnailprovider.h"
#include "platform/desktopthumbnailcache.h"
#include "support/cmykjpegs.h"

#include <QColorSpace>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>

#include <sys/stat.h>

// Where a file's thumbnail comes from: the desktop's cache when it holds a current one, else a
// decode that is then shared through the cache, or remembered as failed until the file changes.
// Thumbnails are in sRGB, whatever profile the picture carries.
class TestFileThumbnailProvider : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_cacheHome;
    std::unique_ptr<QTemporaryDir> m_files;
    QStringList m_decoded;

    QString cacheDir() const { return m_cacheHome->filePath("thumbnails"); }

    QString writeBytes(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path
                                                                                   : QString();
    }

    QImage read(const QString& file, int shownEdge)
    {
        return FileThumbnailProvider::readThumbnail(file, shownEdge, [this](const QString& path) {
            m_decoded << QFileInfo(path).fileName();
        });
    }

    QStringList storedFiles() const
    {
        QStringList found;
        QDirIterator it(cacheDir(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir(cacheDir()).relativeFilePath(it.next()).section('/', 0, -2);
        return found;
    }

private slots:
    void init()
    {
        m_cacheHome = std::make_unique<QTemporaryDir>();
        m_files = std::make_unique<QTemporaryDir>();
        m_decoded.clear();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cacheHome->path()));
    }

    // Which size of the cache a shown edge needs is the thumbnail loader's test.
    void decodedOnceThenShared()
    {
        const int shownEdge = 48;
        const QSize made(128, 64);
        const QString dir = QStringLiteral("normal");
        const QString file =
            lumotest::writeSolid(m_files->filePath("wide.jpg"), {600, 300}, Qt::red);
        QCOMPARE(read(file, shownEdge).size(), made);
        QCOMPARE(storedFiles(), QStringList{dir});
        // Second visit: from the cache, the picture untouched.
        const QImage again = read(file, shownEdge);
        QCOMPARE(again.size(), made);
        QVERIFY(qRed(again.pixel(made.width() / 2, made.height() / 2)) > 200);
        QCOMPARE(m_decoded, QStringList{"wide.jpg"});
    }

    // Whether a changed file is tried again is the desktop cache's rule, tested there.
    void failureRemembered()
    {
        const QString file =
            writeBytes(m_files->filePath("bad.png"), QByteArray("\x89PNG\r\n\x1a\nbroken", 14));
        QVERIFY(read(file, 48).isNull());
        QCOMPARE(storedFiles(), QStringList{"fail/lumo-image-" LUMO_VERSION});
        QVERIFY(read(file, 48).isNull());
        QCOMPARE(m_decoded, QStringList{"bad.png"});
    }

    void notStored_data() { lumotest::addRows(QStringLiteral("thumbnailnotstored.txt")); }

    void notStored()
    {
        QFETCH(QString, kind);
        QFETCH(bool, shown);
        QString file = m_files->filePath("x.png");
        if (kind == "in cache") {
            file = lumotest::writeSolid(cacheDir() + "/normal/0123.png", {16, 16}, Qt::red);
        } else if (kind == "fifo") {
            // Opened, it would block until some writer came.
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        }
        QCOMPARE(!read(file, 48).isNull(), shown);
        QCOMPARE(storedFiles(), kind == "in cache" ? QStringList{"normal"} : QStringList{});
    }

    void inScreenColours_data() { lumotest::addRows(QStringLiteral("thumbnailcolours.txt")); }
    void inScreenColours()
    {
        QFETCH(QString, kind);
        QFETCH(QSize, made);
        const QString path = m_files->filePath(QStringLiteral("profiled.jpg"));
        if (kind == "adobe") {
            QImage image(1200, 600, QImage::Format_RGB32);
            image.fill(qRgb(60, 140, 200));
            image.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
            QVERIFY(image.save(path, "JPEG", 95));
        } else {
            const QByteArray profile = cmykjpegs::pressProfile();
            if (profile.isEmpty())
                QSKIP("no CMYK profile installed (libgs-common)");
            const QSize size = kind == "cmyk" ? QSize(1200, 600) : QSize(96, 48);
            QVERIFY(!writeBytes(path, cmykjpegs::encoded(size, {255, 0, 0, 0},
                                                         cmykjpegs::Samples::AdobeInverted,
                                                         profile))
                         .isEmpty());
        }
        const QImage thumbnail = read(path, 48);
        QCOMPARE(thumbnail.size(), made);
        const QRgb pixel = thumbnail.pixel(made.width() / 2, made.height() / 2);
        // Adobe RGB's wider green takes the red out of this blue; press cyan is no screen cyan.
        if (kind == "adobe")
            QVERIFY2(qRed(pixel) < 20, qPrintable(QColor(pixel).name()));
        else
            QVERIFY2(qGreen(pixel) < 200 && qBlue(pixel) > 200, qPrintable(QColor(pixel).name()));
    }

    // An animation's thumbnail is its first frame.
    void animationShowsItsFirstFrame()
    {
        const QString file = m_files->filePath(QStringLiteral("a.gif"));
        QVERIFY(animatedgif::write(file, QSize(8, 8), {5, 5, 5}, 0));
        QCOMPARE(FileThumbnailProvider::readThumbnail(file).pixelColor(0, 0),
                 animatedgif::frameColour(0));
    }
};

LUMO_TEST_MAIN(TestFileThumbnailProvider)
#include "tst_filethumbnailprovider.moc"
