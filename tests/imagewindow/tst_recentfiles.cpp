#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedfiledialogs.h"

#include "app/settings.h"
#include "dialogs/settingsdialog.h"
#include "imagewindow/imageopener.h"
#include "imagewindow/recentfilesmenu.h"
#include "view/recentfilerecord.h"
#include "view/spicview.h"

#include <QActionGroup>
#include <QDir>
#include <QMenu>
#include <QSettings>

// The files read most recently: how reading records them, and the File menu entries they make.
class TestRecentFiles : public QObject
{
    Q_OBJECT

public slots:
    void loadLast() { m_loaded << RecentFilesMenu::pathOf(qobject_cast<QAction*>(sender())); }

private slots:
    void init();
    void reading_data();
    void reading();
    void lastDirOfRecordedFile();
    void menuEntries_data();
    void menuEntries();
    void loadLastOpens_data();
    void loadLastOpens();
    void deleteAllEntries();

private:
    // A File menu as the image window's ends, and the browser's, sharing one entry group.
    QStringList rebuild(QMenu* menu);
    static QStringList tail(const QMenu& menu);

    std::unique_ptr<QMenu> m_fileMenu;
    std::unique_ptr<QMenu> m_otherMenu;
    QActionGroup* m_group = nullptr;
    QStringList m_loaded;
};

void TestRecentFiles::init()
{
    Settings::instance()->store()->clear();
    m_fileMenu = std::make_unique<QMenu>();
    m_otherMenu = std::make_unique<QMenu>();
    for (QMenu* menu : {m_fileMenu.get(), m_otherMenu.get()}) {
        menu->addAction(QStringLiteral("&Open"));
        menu->addSeparator();
        menu->addAction(QStringLiteral("&Quit"));
    }
    m_group = new QActionGroup(m_fileMenu.get());
    m_group->setExclusive(false);
    m_loaded.clear();
}

QStringList TestRecentFiles::rebuild(QMenu* menu)
{
    RecentFilesMenu::rebuild(m_group, menu, this, &TestRecentFiles::loadLast);
    return tail(*menu);
}

// What follows "&Quit"; a separator shows as "-".
QStringList TestRecentFiles::tail(const QMenu& menu)
{
    QStringList texts;
    const QList<QAction*> actions = menu.actions();
    for (int i = 3; i < actions.size(); ++i)
        texts << (actions.at(i)->isSeparator() ? QStringLiteral("-") : actions.at(i)->text());
    return texts;
}

void TestRecentFiles::reading_data()
{
    QTest::addColumn<QStringList>("read"); // "other/" files are not pictures
    QTest::addColumn<int>("lastN");
    QTest::addColumn<QStringList>("lasts");
    QTest::newRow("a, b, a leaves a then b")
        << QStringList{"a.png", "b.png", "a.png"} << 10 << QStringList{"a.png", "b.png"};
    QTest::newRow("lastN 3 keeps the newest three")
        << QStringList{"a.png", "b.png", "c.png", "d.png", "e.png"} << 3
        << QStringList{"e.png", "d.png", "c.png"};
    QTest::newRow("a file that fails to read changes nothing")
        << QStringList{"a.png", "other/broken.png"} << 10 << QStringList{"a.png"};
}

void TestRecentFiles::reading()
{
    QFETCH(QStringList, read);
    QFETCH(int, lastN);
    QFETCH(QStringList, lasts);
    PictureFixture fixture;
    Settings::General* general = Settings::instance()->general();
    general->setLasts({});
    general->setLastN(lastN);
    QDir().mkpath(fixture.path(QStringLiteral("other")));
    for (const QString& name : read) {
        const QString path = fixture.path(name);
        if (name.startsWith(QLatin1String("other/"))) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
        } else if (!QFileInfo::exists(path)) {
            QVERIFY(PictureFixture::writePicture(path, QSize(4, 4)));
        }
        fixture.view()->openFile(path);
    }
    QStringList paths;
    QStringList entries{QStringLiteral("-")};
    for (const QString& name : lasts) {
        entries << RecentFilesMenu::entryText(paths.size(), fixture.path(name));
        paths << fixture.path(name);
    }
    QCOMPARE(general->lasts(), paths);
    QCOMPARE(general->lastDir(), QFileInfo(fixture.picturePath()).absolutePath());
    QCOMPARE(rebuild(m_fileMenu.get()), entries);
}

void TestRecentFiles::lastDirOfRecordedFile()
{
    RecentFileRecord::record(QStringLiteral("/home/u/pics/x.jpg"));
    QCOMPARE(Settings::instance()->general()->lastDir(), QStringLiteral("/home/u/pics"));
}

void TestRecentFiles::menuEntries_data()
{
    QTest::addColumn<bool>("show");
    QTest::addColumn<int>("lastN");
    QTest::addColumn<QStringList>("lasts");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("stored");
    const QStringList abc{"/p/a.png", "/p/b.png", "/p/c.png"};
    QTest::newRow("numbered from 0")
        << true << 10 << abc << QStringList{"-", "&0: /p/a.png", "&1: /p/b.png", "&2: /p/c.png"}
        << abc;
    QTest::newRow("lastN 1 shows one and shortens the list")
        << true << 1 << abc << QStringList{"-", "&0: /p/a.png"} << QStringList{"/p/a.png"};
    QTest::newRow("empty list, separator only")
        << true << 10 << QStringList() << QStringList{"-"} << QStringList();
    QTest::newRow("hidden list ends the menu with quit")
        << false << 1 << abc << QStringList() << abc;
}

void TestRecentFiles::menuEntries()
{
    QFETCH(bool, show);
    QFETCH(int, lastN);
    QFETCH(QStringList, lasts);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, stored);
    Settings::General* general = Settings::instance()->general();
    general->setLasts(lasts);
    // Entries shown earlier in the other File menu move over rather than stay behind twice.
    rebuild(m_otherMenu.get());
    general->setShowLastFiles(show);
    general->setLastN(lastN);
    rebuild(m_fileMenu.get());
    QCOMPARE(rebuild(m_fileMenu.get()), entries);
    QCOMPARE(tail(*m_otherMenu), QStringList());
    QCOMPARE(m_fileMenu->actions().at(2)->text(), QStringLiteral("&Quit"));
    QCOMPARE(general->lasts(), stored);
}

void TestRecentFiles::loadLastOpens_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QStringList>("listWhenChosen");
    QTest::addColumn<QString>("path");
    const QStringList abc{"/p/a.png", "/p/b.png", "/p/c.png"};
    QTest::newRow("newest") << 0 << abc << "/p/a.png";
    QTest::newRow("oldest") << 2 << abc << "/p/c.png";
    QTest::newRow("list shortened since the menu showed") << 2 << QStringList{"/p/a.png"} << "";
}

void TestRecentFiles::loadLastOpens()
{
    QFETCH(int, entry);
    QFETCH(QStringList, listWhenChosen);
    QFETCH(QString, path);
    Settings::instance()->general()->setLasts({"/p/a.png", "/p/b.png", "/p/c.png"});
    rebuild(m_fileMenu.get());
    Settings::instance()->general()->setLasts(listWhenChosen);
    m_fileMenu->actions().at(4 + entry)->trigger();
    QCOMPARE(m_loaded, QStringList{path});
}

void TestRecentFiles::deleteAllEntries()
{
    PictureFixture fixture;
    QVERIFY(!Settings::instance()->general()->lasts().isEmpty());
    SettingsDialog().clearLast();
    ScriptedFileDialogs dialogs;
    ImageOpener::chooseFiles(nullptr);
    QCOMPARE(dialogs.openCalls().value(0).directory,
             QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    QCOMPARE(rebuild(m_fileMenu.get()), QStringList{"-"});
}

LUMO_TEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
