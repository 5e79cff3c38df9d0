#include "support/lumotest.h"

#include "platform/lumofm/iconprovider.h"
#include "platform/lumofm/vfs.h"
#include "platform/lumothumbnails.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <QtConcurrent>

using LumoFM::Entry;
using LumoFM::VFS;

// Mapping typed paths to entries, walking the tree, how entries see links, icon names, and the
// freedesktop thumbnail cache paths.
class TestVfs : public QObject
{
    Q_OBJECT

    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(path("d/sub")));
        const QByteArray png("\x89PNG\r\n\x1a\n", 8);
        for (const auto& file : QList<QPair<QString, QByteArray>>{
                 {"f.png", png}, {"pngdata", png}, {"blob", QByteArray("\x00\x01\xff\xfe", 4)}}) {
            QFile out(path(file.first));
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file.second) > 0);
        }
        QVERIFY(QFile::link(path("f.png"), path("filelink")));
        QVERIFY(QFile::link(path("d"), path("dirlink")));
        QVERIFY(QFile::link(path("gone"), path("dangling")));
    }

    void entryFromText_data() { lumotest::addRows(QStringLiteral("vfsentries.txt")); }

    void entryFromText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        text.replace('@', m_dir.path());
        expected.replace('@', m_dir.path());
        if (expected.startsWith('~'))
            expected = QDir::cleanPath(QDir::homePath()) + expected.mid(1);

        const QString oldCurrent = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        const Entry entry = VFS::ptr()->entry(text);
        QDir::setCurrent(oldCurrent);
        QCOMPARE(entry.isValid(), !expected.isEmpty());
        QCOMPARE(entry.path(), expected);
    }

    void walking_data() { lumotest::addRows(QStringLiteral("vfswalking.txt")); }

    void walking()
    {
        QFETCH(QString, from);
        QFETCH(QString, childName);
        QFETCH(QString, expected);
        QCOMPARE(VFS::ptr()->child(Entry(from), childName).path(), expected);
    }

    void links_data() { lumotest::addRows(QStringLiteral("vfslinks.txt")); }

    void links()
    {
        QFETCH(QString, name);
        QFETCH(QString, traits);
        const Entry entry = VFS::ptr()->entry(path(name));
        // Following links is the caller's choice.
        QCOMPARE(entry.path(), path(name));
        const QStringList seen({VFS::ptr()->isEntryExists(entry) ? "exists" : "",
                                entry.isDir() ? "dir" : "", entry.isFile() ? "file" : "",
                                entry.isFileLink() ? "link" : ""});
        QCOMPARE(seen.join(' ').simplified(), traits);
    }

    void iconNames_data() { lumotest::addRows(QStringLiteral("vfsicons.txt")); }

    void iconNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, prefix);
        const QString file = name.isEmpty() ? QString() : path(name);
        const auto lookUp = [file] { return LumoFM::IconProvider::ptr()->nameForFile(file); };
        const bool onWorker = QByteArray(QTest::currentDataTag()) == "worker";
        const QString icon = onWorker ? QtConcurrent::run(lookUp).result() : lookUp();
        QVERIFY2(onWorker ? icon == prefix : icon.startsWith(prefix), qPrintable(icon));
    }

    void thumbnailPath_data() { lumotest::addRows(QStringLiteral("thumbnailpath.txt")); }

    void thumbnailPath()
    {
        QFETCH(int, sizeCode);
        QFETCH(QString, cacheDir);
        QFETCH(QString, expected);
        const QString cache = QDir::cleanPath(qEnvironmentVariable("XDG_CACHE_HOME"));
        QVERIFY(!cache.isEmpty());
        expected.replace('@', cache + "/thumbnails");
        QCOMPARE(LumoThumbnails::thumbnailPath("/home/jens/photos/me.png", sizeCode, cacheDir),
                 expected);
    }

    void fileUri_data() { lumotest::addRows(QStringLiteral("thumbnailuri.txt")); }

    void fileUri()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        file.replace('@', m_dir.path());
        expected.replace('&', QDir(m_dir.path()).canonicalPath());
        const QByteArray uri = LumoThumbnails::fileUri(file);
        for (const char c : uri)
            QVERIFY2(c > ' ' && static_cast<unsigned char>(c) < 0x80, uri.constData());
        QCOMPARE(QUrl::fromEncoded(uri).toLocalFile(), expected);
    }
};

LUMO_TEST_MAIN(TestVfs)
#include "tst_vfs.moc"
