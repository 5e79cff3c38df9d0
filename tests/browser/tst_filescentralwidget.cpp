#include "support/lumotest.h"

#include "app/settings.h"
#include "browser/filescentralwidget.h"
#include "browser/imagefileselector.h"
#include "browser/imagesdirview.h"
#include "platform/lumofm/navigation.h"
#include "platform/lumofm/vfs.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QToolBar>

// Files mode inside a plain main window: start directory, one thumbnail size per view mode, the
// menus and bars it hangs on the window, and the full-screen switch.
class TestFilesCentralWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { m_widget.reset(); }
    void startDirectory_data();
    void startDirectory();
    void viewModeSwitch_data();
    void viewModeSwitch();
    void attachAndDetach();
    void fullScreenAccessibility_data();
    void fullScreenAccessibility();

private:
    QString path(const QString& name) const { return QDir::cleanPath(m_dir.filePath(name)); }
    void make(QMenu* help = nullptr)
    {
        m_widget = std::make_unique<FilesCentralWidget>(QString(), &m_actions, help, nullptr);
    }
    Settings::FilesCentralWidget* settings() const
    {
        return Settings::instance()->filesCentralWidget();
    }

    QTemporaryDir m_dir;
    QObject m_actionOwner;
    SharedActions m_actions;
    QMainWindow m_mainWindow;
    std::unique_ptr<FilesCentralWidget> m_widget;
};

void TestFilesCentralWidget::initTestCase()
{
    QVERIFY(QDir(m_dir.path()).mkpath("sub"));
    QFile file(path("a.png"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (std::size_t i = 0; i < SharedActions::count; ++i)
        m_actions.set(SharedActions::Index(i), new QAction(QString::number(i), &m_actionOwner));
}

void TestFilesCentralWidget::init()
{
    Settings::instance()->store()->clear();
    Settings::instance()->general()->setLastDir(m_dir.path());
}

void TestFilesCentralWidget::startDirectory_data()
{
    QTest::addColumn<QString>("lastDir"); // empty: nothing stored
    QTest::addColumn<bool>("desktopExists");
    QTest::addColumn<QString>("expected"); // "desktop", "home" or a name in the sandbox
    QTest::newRow("remembered directory") << "sub" << true << "sub";
    QTest::newRow("nothing remembered: the desktop") << "" << true << "desktop";
    QTest::newRow("remembered directory gone: the desktop") << "gone" << true << "desktop";
    QTest::newRow("no desktop folder: home") << "" << false << "home";
}

void TestFilesCentralWidget::startDirectory()
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
    QCOMPARE(Settings::instance()->store()->value("/lumo-apps/lumo-image/lastDir").toString(),
             expectedPath);
}

void TestFilesCentralWidget::viewModeSwitch_data()
{
    QTest::addColumn<bool>("iconMode");
    QTest::addColumn<int>("sliderSize");
    QTest::addColumn<int>("storedOtherSize");
    QTest::newRow("list to icons: 40 kept for the list, 100 shown") << false << 40 << 100;
    QTest::newRow("icons to list: 120 kept for icons, 64 shown") << true << 120 << 64;
}

void TestFilesCentralWidget::viewModeSwitch()
{
    QFETCH(bool, iconMode);
    QFETCH(int, sliderSize);
    QFETCH(int, storedOtherSize);
    settings()->setIconViewMode(iconMode);
    (iconMode ? settings()->setThumbnailSizeInListMode(storedOtherSize)
              : settings()->setThumbnailSizeInIconMode(storedOtherSize));
    make();
    ImagesDirView* view = m_widget->selector()->dirView();
    QAction* other = iconMode ? m_widget->listAction() : m_widget->iconsAction();
    m_widget->sizeSlider()->setValue(sliderSize);

    other->setChecked(true);
    QCOMPARE(iconMode ? settings()->thumbnailSizeInIconMode()
                      : settings()->thumbnailSizeInListMode(),
             sliderSize);
    QCOMPARE(m_widget->sizeSlider()->value(), storedOtherSize);
    QCOMPARE(view->thumbnailSize(), storedOtherSize);
    QCOMPARE(view->viewMode(), iconMode ? QListView::ListMode : QListView::IconMode);
    QCOMPARE(settings()->iconViewMode(), iconMode);

    (iconMode ? m_widget->iconsAction() : m_widget->listAction())->setChecked(true);
    QCOMPARE(m_widget->sizeSlider()->value(), sliderSize);
    // The mode and the shown size are kept when the browser goes.
    other->setChecked(true);
    m_widget.reset();
    QCOMPARE(settings()->iconViewMode(), !iconMode);
    QCOMPARE(iconMode ? settings()->thumbnailSizeInListMode()
                      : settings()->thumbnailSizeInIconMode(),
             storedOtherSize);
}

void TestFilesCentralWidget::attachAndDetach()
{
    make(new QMenu(QStringLiteral("&Help"), &m_mainWindow));
    const QList<QToolBar*> bars = m_widget->toolBars();
    QCOMPARE(bars.size(), 3);
    for (int round = 0; round < 2; ++round) {
        m_widget->setMainWindow(&m_mainWindow);
        QStringList menus;
        for (QAction* action : m_mainWindow.menuBar()->actions())
            menus << action->text();
        QCOMPARE(menus, (QStringList{"&File", "&View", "&Help"}));
        QCOMPARE(m_mainWindow.findChildren<QToolBar*>(), bars);
        QVERIFY2(m_mainWindow.toolBarBreak(bars.at(2)), "navigation runs on a second row");
        QVERIFY(!m_mainWindow.toolBarBreak(bars.at(1)));

        m_widget->setMainWindow(nullptr);
        QVERIFY(m_mainWindow.menuBar()->actions().isEmpty());
        QVERIFY(m_mainWindow.findChildren<QToolBar*>().isEmpty());
    }
    // Attached when it goes: the bars go with it, not later with the window.
    m_widget->setMainWindow(&m_mainWindow);
    m_widget.reset();
    QVERIFY(m_mainWindow.findChildren<QToolBar*>().isEmpty());
}

void TestFilesCentralWidget::fullScreenAccessibility_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("a picture is current") << "a.png" << true;
    QTest::newRow("a directory is current") << "sub" << false;
}

void TestFilesCentralWidget::fullScreenAccessibility()
{
    QFETCH(QString, current);
    QFETCH(bool, enabled);
    QAction* fullScreen = m_actions.at(SharedActions::Index::FullScreen);
    make();
    m_widget->setMainWindow(&m_mainWindow);
    QVERIFY2(!fullScreen->isEnabled(), "nothing current yet");
    ImagesDirView* view = m_widget->selector()->dirView();
    QTRY_VERIFY(view->indexOfPath(path(current)).isValid());
    view->setCurrentIndex(view->indexOfPath(path(current)));
    QCOMPARE(fullScreen->isEnabled(), enabled);

    // Detached, the switch belongs to the image window: another item changes nothing.
    m_widget->setMainWindow(nullptr);
    view->setCurrentIndex(view->indexOfPath(path(current == "sub" ? "a.png" : "sub")));
    QCOMPARE(fullScreen->isEnabled(), enabled);
}

LUMO_TEST_MAIN(TestFilesCentralWidget)
#include "tst_filescentralwidget.moc"
