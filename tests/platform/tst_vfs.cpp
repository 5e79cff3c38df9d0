#include "support/lumotest.h"

#include "platform/lumofm/vfs.h"

#include <QDir>
#include <QFile>
#include <QUrl>

using LumoFM::Entry;
using LumoFM::VFS;

// Mapping typed paths to entries, walking the tree, and how entries see links.
class TestVfs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void entryFromText_data();
    void entryFromText();
    void walking_data();
    void walking();
    void links_data();
    void links();
    void desktopFollowsUserDirs_data();
    void desktopFollowsUserDirs();

private:
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir m_dir;
};

void TestVfs::initTestCase()
{
    QVERIFY(QDir().mkpath(path(QStringLiteral("d/sub"))));
    QFile file(path(QStringLiteral("f.png")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(path(QStringLiteral("f.png")), path(QStringLiteral("filelink"))));
    QVERIFY(QFile::link(path(QStringLiteral("d")), path(QStringLiteral("dirlink"))));
    QVERIFY(QFile::link(path(QStringLiteral("gone")), path(QStringLiteral("dangling"))));
}

void TestVfs::entryFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // "@" stands for the sandbox, "~" for HOME

    QTest::newRow("empty is invalid") << QString() << QString();
    QTest::newRow("relative to the working directory") << "d/sub" << "@/d/sub";
    QTest::newRow("dot segments cleaned") << "./d/../d/sub/" << "@/d/sub";
    QTest::newRow("tilde alone") << "~" << "~";
    QTest::newRow("tilde slash") << "~/pics/a.png" << "~/pics/a.png";
    QTest::newRow("tilde inside a name is literal") << "a~b" << "@/a~b";
    QTest::newRow("file URL") << "file://@/d/sub" << "@/d/sub";
    QTest::newRow("file URL decodes percent escapes") << "file://@/a%20b.png" << "@/a b.png";
    QTest::newRow("file URL on localhost") << "file://localhost@/d" << "@/d";
    QTest::newRow("file URL without a path is invalid") << "file://" << QString();
    QTest::newRow("remote URL is invalid") << "file://otherhost/x" << QString();
}

void TestVfs::entryFromText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    const QString home = QDir::cleanPath(QDir::homePath());
    text.replace(QLatin1Char('@'), m_dir.path());
    expected.replace(QLatin1Char('@'), m_dir.path());
    if (expected.startsWith(QLatin1Char('~')))
        expected = home + expected.mid(1);

    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    const Entry entry = VFS::ptr()->entry(text);
    QDir::setCurrent(oldCurrent);

    QCOMPARE(entry.isValid(), !expected.isEmpty());
    QCOMPARE(entry.path(), expected);
    QCOMPARE(entry.localPath(), expected);
}

void TestVfs::walking_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("childName"); // empty: take the parent
    QTest::addColumn<QString>("expected");

    QTest::newRow("parent") << "/usr/lib" << QString() << "/usr";
    QTest::newRow("parent of a top directory is root") << "/usr" << QString() << "/";
    QTest::newRow("parent of root is root") << "/" << QString() << "/";
    QTest::newRow("child") << "/usr" << "lib" << "/usr/lib";
    QTest::newRow("child with a slash is invalid") << "/usr" << "a/b" << QString();
    QTest::newRow("dot-dot is no child") << "/usr/lib" << ".." << QString();
}

void TestVfs::walking()
{
    QFETCH(QString, from);
    QFETCH(QString, childName);
    QFETCH(QString, expected);

    const Entry start(from);
    const Entry result =
        childName.isEmpty() ? VFS::ptr()->parent(start) : VFS::ptr()->child(start, childName);
    QCOMPARE(result.path(), expected);
}

void TestVfs::links_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("traits");

    QTest::newRow("plain file") << "f.png" << "exists file";
    QTest::newRow("plain directory") << "d" << "exists dir";
    QTest::newRow("link to a file") << "filelink" << "exists file link";
    QTest::newRow("link to a directory") << "dirlink" << "exists dir";
    QTest::newRow("dangling link exists as a link") << "dangling" << "exists";
    QTest::newRow("missing") << "missing" << "";
}

void TestVfs::links()
{
    QFETCH(QString, name);
    QFETCH(QString, traits);
    const Entry entry = VFS::ptr()->entry(path(name));
    // Links are kept as typed; following them is the caller's choice.
    QCOMPARE(entry.path(), path(name));
    const QStringList seen({VFS::ptr()->isEntryExists(entry) ? "exists" : "",
                            entry.isDir() ? "dir" : "", entry.isFile() ? "file" : "",
                            entry.isFileLink() ? "link" : ""});
    QCOMPARE(seen.join(QLatin1Char(' ')).simplified(), traits);
}

void TestVfs::desktopFollowsUserDirs_data()
{
    QTest::addColumn<QByteArray>("userDirs"); // empty: no user-dirs.dirs at all
    QTest::addColumn<QString>("expected");   // relative to HOME

    QTest::newRow("no user-dirs.dirs") << QByteArray() << "Desktop";
    QTest::newRow("among other entries")
        << QByteArray("# comment\nXDG_DOWNLOAD_DIR=\"$HOME/dl\"\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\n")
        << "Bureau";
}

void TestVfs::desktopFollowsUserDirs()
{
    QFETCH(QByteArray, userDirs);
    QFETCH(QString, expected);

    const QString home = QDir::cleanPath(QDir::homePath());
    QVERIFY(QDir(home).mkpath(expected));
    const QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/user-dirs.dirs");
    QFile::remove(file);
    if (!userDirs.isEmpty()) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(userDirs);
    }
    const Entry desktop = VFS::ptr()->desktopEntry();
    QFile::remove(file);
    QCOMPARE(desktop.path(), home + QLatin1Char('/') + expected);
}

LUMO_TEST_MAIN(TestVfs)
#include "tst_vfs.moc"
