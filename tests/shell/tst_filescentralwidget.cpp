#include "support/lumotest.h"

#include "browser/imagefileselector.h"
#include "browser/imagesdirview.h"
#include "document/recentfiles.h"
#include "platform/lumofm/navigation.h"
#include "platform/lumofm/vfs.h"
#include "settings/settings.h"
#include "shell/filescentralwidget.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QSlider>
#include <QToolBar>

// Files mode inside a plain main window: start directory, one thumbnail size per view mode, the
// bars it hangs on the window, and the full-screen switch.
class TestFilesCentralWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("sub"));
        QFile file(path("a.png"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void init()
    {
        Settings::instance()->store()->clear();
        Settings::instance()->general()->setLastDir(m_dir.path());
    }

    void cleanup() { m_widget.reset(); }

    void startDirectory_data()
    {
        lumotest::addRows(QStringLiteral("filescentralwidget-start.txt"));
    }

    void startDirectory()
    {
        QFETCH(QString, lastDir);
        QFETCH(bool, desktopExists);
        QFETCH(QString, expected);
        const QString desktop = LumoFM::VFS::ptr()->desktopEntry().path();
        QVERIFY(desktopExists ? QDir().mkpath(desktop) : QDir(desktop).removeRecursively());
        Settings::instance()->general()->setLastDir(lastDir.isEmpty() ? QString() : path(lastDir));
        make();
        QDir().mkpath(desktop);
        const QString expectedPath = expected == "desktop" ? desktop
                                     : expected == "home"  ? QDir::homePath()
                                                           : path(expected);
        QCOMPARE(m_widget->navigation()->current().path(), expectedPath);
        // Written back at once, not first when the user moves.
        QCOMPARE(Settings::instance()->general()->lastDir(), expectedPath);
    }

    // List to icons with the slider at 40 and a stored icon size of 100 stores 40 and shows 100.
    void viewModeSwitch()
    {
        Settings::FilesCentralWidget* settings = Settings::instance()->filesCentralWidget();
        settings->setIconViewMode(false);
        settings->setThumbnailSizeInIconMode(100);
        make();
        m_widget->sizeSlider()->setValue(40);
        m_widget->iconsAction()->setChecked(true);
        QCOMPARE(settings->thumbnailSizeInListMode(), 40);
        QCOMPARE(m_widget->sizeSlider()->value(), 100);
        QCOMPARE(m_widget->selector()->dirView()->thumbnailSize(), 100);
        QCOMPARE(m_widget->selector()->dirView()->viewMode(), QListView::IconMode);
        m_widget->listAction()->setChecked(true);
        QCOMPARE(m_widget->sizeSlider()->value(), 40);
    }

    // Attached, the bars, the menus and the full-screen switch are the window's; detached, the
    // switch belongs to the image window and another item changes nothing.
    void attachAndDetach()
    {
        QAction* fullScreen = m_actions.at(SharedActions::Index::FullScreen);
        make();
        const QList<QToolBar*> bars = m_widget->toolBars();
        for (int round = 0; round < 2; ++round) {
            m_widget->setMainWindow(&m_mainWindow);
            QCOMPARE(m_mainWindow.findChildren<QToolBar*>(), bars);
            QVERIFY(!m_mainWindow.menuBar()->actions().isEmpty());
            m_widget->setMainWindow(nullptr);
            QVERIFY(m_mainWindow.menuBar()->actions().isEmpty());
            QVERIFY(m_mainWindow.findChildren<QToolBar*>().isEmpty());
        }
        m_widget->setMainWindow(&m_mainWindow);
        QVERIFY2(!fullScreen->isEnabled(), "nothing current yet");
        ImagesDirView* view = m_widget->selector()->dirView();
        QTRY_VERIFY(view->indexOfPath(path("a.png")).isValid());
        view->setCurrentIndex(view->indexOfPath(path("a.png")));
        QVERIFY(fullScreen->isEnabled());
        view->setCurrentIndex(view->indexOfPath(path("sub")));
        QVERIFY(!fullScreen->isEnabled());
        m_widget->setMainWindow(nullptr);
        view->setCurrentIndex(view->indexOfPath(path("a.png")));
        QVERIFY(!fullScreen->isEnabled());
        // Attached when it goes: the bars go with it, not later with the window.
        m_widget->setMainWindow(&m_mainWindow);
        m_widget.reset();
        QVERIFY(m_mainWindow.findChildren<QToolBar*>().isEmpty());
    }

private:
    QString path(const QString& name) const { return QDir::cleanPath(m_dir.filePath(name)); }
    void make()
    {
        m_widget =
            std::make_unique<FilesCentralWidget>(QString(), &m_actions, &m_recentFiles, nullptr);
    }

    QTemporaryDir m_dir;
    SharedActions m_actions;
    RecentFiles m_recentFiles;
    QMainWindow m_mainWindow;
    std::unique_ptr<FilesCentralWidget> m_widget;
};

LUMO_TEST_MAIN(TestFilesCentralWidget)
#include "tst_filescentralwidget.moc"
