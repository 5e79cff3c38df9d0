#include "support/imagewindowhost.h"
#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedprompter.h"

#include "app/settings.h"
#include "browser/metainfowidget.h"
#include "browser/thumbnailsbar.h"
#include "imagewindow/imagescentralwidget.h"
#include "imagewindow/sworkspace.h"
#include "view/fullscreenpanel.h"
#include "view/spicview.h"

#include <QActionGroup>
#include <QDialog>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>

namespace {

using Host = ImageWindowHost;

// Accepts the modal dialog about to run, as soon as it shows.
void acceptNextDialog()
{
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
}

QStringList texts(const QList<QAction*>& actions)
{
    QStringList result;
    for (QAction* action : actions) {
        if (action && !action->isSeparator())
            result << action->text();
    }
    return result;
}

} // namespace

// The image window inside a plain main window, over pictures made in a sandbox.
class TestImagesCentralWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void openFileList_data();
    void openFileList();
    void actionStates_data();
    void actionStates();
    void slideshowSurvivesActivation();
    void closing_data();
    void closing();
    void windowMenu_data();
    void windowMenu();
    void imageMenu_data();
    void imageMenu();
    void contextMenus_data();
    void contextMenus();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void fullScreenPictureClosed_data();
    void fullScreenPictureClosed();
    void picturesWithoutFile_data();
    void picturesWithoutFile();
    void thumbnailsBarFollowsView_data();
    void thumbnailsBarFollowsView();
    void attachAndDetach_data();
    void attachAndDetach();

private:
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    void remake();
    // Opens the files and waits until each picture knows its place in its directory.
    bool open(const QStringList& names);
    QList<SPicView*> views() const;
    QMdiSubWindow* subWindow(int index) const;
    // Runs an adjustment dialog from the Image menu and accepts it.
    void modify(SPicView* view);
    ImagesCentralWidget* window() const { return m_host->window; }

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<Host> m_host;
};

void TestImagesCentralWidget::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const char* name : {"a.png", "b.png", "c.png"})
        QVERIFY(PictureFixture::writePicture(path(QLatin1String(name)), QSize(40, 30)));
    QFile broken(path(QStringLiteral("broken.png")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
}

void TestImagesCentralWidget::init()
{
    Settings::instance()->store()->clear();
    Settings::instance()->imagesCentralWidget()->setSingleWindowMode(false);
    m_prompter = std::make_unique<ScriptedPrompter>();
    remake();
    QVERIFY(QTest::qWaitForWindowExposed(&m_host->mainWindow));
}

void TestImagesCentralWidget::cleanup()
{
    m_host.reset();
    m_prompter.reset();
}

void TestImagesCentralWidget::remake()
{
    m_host = std::make_unique<Host>();
}

bool TestImagesCentralWidget::open(const QStringList& names)
{
    QStringList paths;
    for (const QString& name : names)
        paths << path(name);
    window()->openFileList(paths);
    return QTest::qWaitFor([this] {
        const QList<SPicView*> all = views();
        return std::all_of(all.begin(), all.end(),
                           [](SPicView* view) { return !view->filePath().isEmpty(); });
    });
}

QList<SPicView*> TestImagesCentralWidget::views() const
{
    QList<SPicView*> result;
    for (QMdiSubWindow* window : window()->workspace()->subWindowList(QMdiArea::CreationOrder))
        result << qobject_cast<SPicView*>(window->widget());
    return result;
}

QMdiSubWindow* TestImagesCentralWidget::subWindow(int index) const
{
    return window()->workspace()->subWindowList(QMdiArea::CreationOrder).value(index);
}

void TestImagesCentralWidget::modify(SPicView* view)
{
    window()->workspace()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(view->parentWidget()));
    emit window()->imageMenu()->aboutToShow();
    acceptNextDialog();
    // "&Brightness-Contrast..."
    window()->imageMenu()->actions().at(5)->trigger();
}

void TestImagesCentralWidget::openFileList_data()
{
    QTest::addColumn<bool>("single");
    QTest::newRow("free windows: two cascaded sub-windows") << false;
    QTest::newRow("single-window mode: one view steps through both") << true;
}

void TestImagesCentralWidget::openFileList()
{
    QFETCH(bool, single);
    window()->singleWindowAction()->setChecked(single);
    QVERIFY(open({"a.png", "c.png"}));
    const QList<SPicView*> all = views();
    QCOMPARE(all.size(), single ? 1 : 2);
    QCOMPARE(all.first()->fileName(), QStringLiteral("a.png"));
    if (single) {
        QCOMPARE(all.first()->fileModel()->rowCount(), 2);
        all.first()->next();
        QCOMPARE(all.first()->fileName(), QStringLiteral("c.png"));
        return;
    }
    QCOMPARE(all.last()->fileName(), QStringLiteral("c.png"));
    QVERIFY(!subWindow(0)->isMaximized() && !subWindow(1)->isMaximized());
    const QPoint step = subWindow(1)->pos() - subWindow(0)->pos();
    QVERIFY2(step.x() > 0 && step.y() > 0, "the later window sits lower right");
    QCOMPARE(window()->currentView(), all.last());
}

void TestImagesCentralWidget::actionStates_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("readable");
    QTest::newRow("no picture") << QString() << false;
    QTest::newRow("unreadable picture") << "broken.png" << false;
    QTest::newRow("readable picture") << "a.png" << true;
}

void TestImagesCentralWidget::actionStates()
{
    QFETCH(QString, file);
    QFETCH(bool, readable);
    m_host.reset(); // it would store its own delay on leaving
    Settings::instance()->imagesCentralWidget()->setSlideDelay(7);
    remake();
    const bool hasFile = !file.isEmpty();
    if (hasFile)
        QVERIFY(open({file}));
    using Index = SharedActions::Index;
    QVERIFY(!m_host->action(Index::Save)->isEnabled());
    QCOMPARE(m_host->action(Index::SaveAs)->isEnabled(), readable);
    QCOMPARE(m_host->action(Index::Print)->isEnabled(), readable);
    QCOMPARE(m_host->action(Index::FullScreen)->isEnabled(), readable);
    QTRY_COMPARE(m_host->action(Index::Remove)->isEnabled(), hasFile);
    QCOMPARE(window()->delaySpinBox()->isEnabled(), hasFile);
    QCOMPARE(window()->delaySpinBox()->value(), 7);
}

void TestImagesCentralWidget::slideshowSurvivesActivation()
{
    QVERIFY(open({"a.png", "b.png"}));
    SPicView* first = views().first();
    window()->workspace()->setActiveSubWindow(subWindow(0));
    modify(first);
    QVERIFY(m_host->action(SharedActions::Index::Save)->isEnabled());
    first->startSlideshow();
    for (int index : {1, 0})
        window()->workspace()->setActiveSubWindow(subWindow(index));
    QCOMPARE(window()->currentView(), first);
    QVERIFY(!window()->editGroup()->isEnabled());
    QVERIFY(!window()->copyAction()->isEnabled());
    QVERIFY(!m_host->action(SharedActions::Index::Save)->isEnabled());
    first->stopSlideshow();
    QVERIFY(window()->copyAction()->isEnabled());
    QVERIFY(m_host->action(SharedActions::Index::Save)->isEnabled());
}

void TestImagesCentralWidget::closing_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("warningAnswer");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("unchanged picture: no warning")
        << false << int(QMessageBox::NoButton) << true;
    QTest::newRow("changes kept, No keeps the window") << true << int(QMessageBox::No) << false;
    QTest::newRow("changes kept, Yes quits anyway") << true << int(QMessageBox::Yes) << true;
}

void TestImagesCentralWidget::closing()
{
    QFETCH(bool, modified);
    QFETCH(int, warningAnswer);
    QFETCH(bool, accepted);
    QVERIFY(open({"a.png"}));
    if (modified) {
        modify(views().first());
        m_prompter->answer(QMessageBox::Cancel);
        m_prompter->answer(QMessageBox::StandardButton(warningAnswer));
    }
    QCOMPARE(window()->close(), accepted);
    QCOMPARE(m_prompter->asked().size(), modified ? 2 : 0);
    if (modified) {
        QCOMPARE(m_prompter->asked().last().title, QStringLiteral("lumo-image"));
        QCOMPARE(m_prompter->asked().last().buttons, QMessageBox::Yes | QMessageBox::No);
    }
    QCOMPARE(views().size(), modified ? 1 : 0);
}

void TestImagesCentralWidget::windowMenu_data()
{
    QTest::addColumn<int>("pictures");
    QTest::addColumn<bool>("single");
    QTest::addColumn<bool>("tabbed");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("arranging");
    const QStringList both = {"&0: ", "&1: "};
    QTest::newRow("free windows: numbered from 0") << 2 << false << false << both << true;
    QTest::newRow("single-window mode: none listed") << 2 << true << false << QStringList()
                                                     << false;
    QTest::newRow("tabs: no arranging") << 2 << false << true << both << false;
    QTest::newRow("no picture") << 0 << false << false << QStringList() << false;
}

void TestImagesCentralWidget::windowMenu()
{
    QFETCH(int, pictures);
    QFETCH(bool, single);
    QFETCH(bool, tabbed);
    QFETCH(QStringList, entries);
    QFETCH(bool, arranging);
    if (pictures > 0)
        QVERIFY(open(QStringList{"a.png", "b.png"}.mid(0, pictures)));
    window()->singleWindowAction()->setChecked(single);
    window()->tabbedAction()->setChecked(tabbed);
    emit window()->windowsMenu()->aboutToShow();

    const QList<QAction*> arrangement = window()->arrangementGroup()->actions();
    QCOMPARE(texts(arrangement),
             (QStringList{"&Vertical tile", "&Horizontal tile", "&Cascade", "&Minimize"}));
    for (QAction* action : arrangement)
        QCOMPARE(action->isEnabled(), arranging);

    const QList<QAction*> listed = window()->windowListGroup()->actions();
    QStringList prefixes;
    for (QAction* action : listed) {
        if (!action->isSeparator())
            prefixes << action->text().left(4);
    }
    QCOMPARE(prefixes, entries);
    if (entries.isEmpty())
        return;
    QVERIFY(listed.at(2)->isChecked() && !listed.at(1)->isChecked());
    QVERIFY(window()->windowsMenu()->actions().contains(listed.at(1)));
    listed.at(1)->trigger();
    QCOMPARE(window()->currentView(), views().first());
}

void TestImagesCentralWidget::imageMenu_data()
{
    QTest::addColumn<QString>("file"); // "-" for a picture handed in without a file
    QTest::addColumn<bool>("slideshow");
    QTest::addColumn<bool>("dialogs");
    QTest::addColumn<bool>("wallpaper");
    QTest::newRow("picture shown") << "a.png" << false << true << true;
    QTest::newRow("slideshow running") << "a.png" << true << false << true;
    QTest::newRow("picture without a file") << "-" << false << true << false;
    QTest::newRow("no picture") << QString() << false << false << false;
}

void TestImagesCentralWidget::imageMenu()
{
    QFETCH(QString, file);
    QFETCH(bool, slideshow);
    QFETCH(bool, dialogs);
    QFETCH(bool, wallpaper);
    if (file == QLatin1String("-"))
        window()->newPVFromImage(PictureFixture::rampImage(QSize(8, 8)));
    else if (!file.isEmpty())
        QVERIFY(open({file}));
    if (slideshow)
        window()->currentView()->startSlideshow();
    emit window()->imageMenu()->aboutToShow();
    QList<QAction*> entries = window()->imageMenu()->actions();
    QCOMPARE(entries.size(), 8);
    QVERIFY(entries.at(6)->isSeparator());
    entries.removeAt(6);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(entries.at(i)->isEnabled(), dialogs);
    QCOMPARE(entries.last()->text(), QStringLiteral("Set as wallpaper"));
    QCOMPARE(entries.last()->isEnabled(), wallpaper);
}

void TestImagesCentralWidget::contextMenus_data()
{
    QTest::addColumn<bool>("selection");
    QTest::addColumn<bool>("fullScreen");
    QTest::addColumn<QStringList>("entries");
    const QStringList picture = {"&Paste...",       "Re&load",    "&Start slideshow",
                                 "S&top slideshow", "&Next image", "&Previous image",
                                 "Save as...",      "&Print...",  "&Full screen"};
    QTest::newRow("picture") << false << false
                             << picture + QStringList{"Show thumbnails bar", "Metainfo"};
    QTest::newRow("picture in full screen: no bar or dock") << false << true << picture;
    QTest::newRow("selection") << true << false << QStringList{"&Copy", "&Cut"};
}

void TestImagesCentralWidget::contextMenus()
{
    QFETCH(bool, selection);
    QFETCH(bool, fullScreen);
    QFETCH(QStringList, entries);
    QVERIFY(open({"a.png"}));
    SPicView* view = window()->currentView();
    if (fullScreen)
        m_host->fullScreen->trigger();
    QStringList shown;
    QTimer::singleShot(0, this, [&shown] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        shown = texts(menu->actions());
        menu->close();
    });
    if (selection)
        emit view->selectionContextMenuRequested(QPoint(10, 10));
    else
        emit view->contextMenuRequested(QPoint(10, 10));
    QCOMPARE(shown, entries);
}

void TestImagesCentralWidget::settingsRoundTrip_data()
{
    QTest::addColumn<bool>("modes");
    QTest::addColumn<bool>("bar");
    QTest::addColumn<int>("delay");
    QTest::addColumn<int>("column");
    QTest::newRow("modes on, bar hidden") << true << false << 9 << 150;
    QTest::newRow("modes off, bar shown") << false << true << 2 << 60;
}

void TestImagesCentralWidget::settingsRoundTrip()
{
    QFETCH(bool, modes);
    QFETCH(bool, bar);
    QFETCH(int, delay);
    QFETCH(int, column);
    m_host.reset();
    Settings* settings = Settings::instance();
    Settings::ImagesCentralWidget* stored = settings->imagesCentralWidget();
    stored->setSingleWindowMode(modes);
    stored->setTabbedWindowMode(modes);
    stored->setThumbnailsBarVisible(bar);
    stored->setSlideDelay(delay);
    settings->metaInfoWidget()->setFirstColumnWidth(column);
    remake();

    QCOMPARE(window()->singleWindowAction()->isChecked(), modes);
    QCOMPARE(window()->workspace()->singleWindowMode(), modes);
    QCOMPARE(window()->workspace()->viewMode() == QMdiArea::TabbedView, modes);
    QCOMPARE(window()->thumbnailsBar()->isVisibleTo(window()), bar);
    QCOMPARE(window()->delaySpinBox()->value(), delay);
    QCOMPARE(window()->metaInfoWidget()->table()->columnWidth(0), column);

    window()->singleWindowAction()->setChecked(!modes);
    window()->tabbedAction()->setChecked(!modes);
    window()->thumbnailsBarAction()->setChecked(!bar);
    window()->delaySpinBox()->setValue(delay + 3);
    window()->metaInfoWidget()->table()->setColumnWidth(0, column + 40);
    m_host.reset();

    settings->store()->sync();
    QCOMPARE(stored->singleWindowMode(), !modes);
    QCOMPARE(stored->tabbedWindowMode(), !modes);
    QCOMPARE(stored->thumbnailsBarVisible(), !bar);
    QCOMPARE(stored->slideDelay(), delay + 3);
    QVERIFY(!stored->thumbnailsBarSplitterSizes().isEmpty());
    QCOMPARE(settings->metaInfoWidget()->firstColumnWidth(), column + 40);
}

void TestImagesCentralWidget::fullScreenPictureClosed_data()
{
    QTest::addColumn<bool>("otherModified");
    QTest::newRow("others unchanged: the program ends") << false;
    QTest::newRow("another picture unsaved and kept: the program stays") << true;
}

void TestImagesCentralWidget::fullScreenPictureClosed()
{
    QFETCH(bool, otherModified);
    QVERIFY(open({"a.png", "b.png"}));
    if (otherModified) {
        modify(views().first());
        m_prompter->answer(QMessageBox::Cancel);
        m_prompter->answer(QMessageBox::No);
    }
    window()->workspace()->setActiveSubWindow(subWindow(1));
    m_host->fullScreen->trigger();
    const QPointer<SPicView> shown = window()->currentView();
    FullscreenPanel* panel = window()->fullscreenPanel();
    QVERIFY(shown->isFullScreenMode());
    QCOMPARE(panel->picView(), shown.data());

    shown->close();
    QCOMPARE(panel->picView(), nullptr);
    QCOMPARE(panel->parentWidget(), nullptr);
    QVERIFY(!m_host->fullScreen->isChecked());
    QCOMPARE(m_host->mainWindow.isVisible(), otherModified);
    QCOMPARE(views().size(), otherModified ? 1 : 0);
    QTRY_VERIFY(shown.isNull());

    m_host->mainWindow.show();
    window()->show();
    QVERIFY(open({"c.png"}));
    window()->workspace()->setActiveSubWindow(subWindow(views().size() - 1));
    m_host->fullScreen->trigger();
    QCOMPARE(panel->picView(), window()->currentView());
    QCOMPARE(panel->parentWidget(), window()->currentView());
    m_host->fullScreen->trigger();
    QCOMPARE(panel->picView(), nullptr);
    QVERIFY(!window()->currentView()->isFullScreenMode());
}

void TestImagesCentralWidget::picturesWithoutFile_data()
{
    QTest::addColumn<bool>("blank");
    QTest::addColumn<bool>("single");
    QTest::addColumn<QString>("then");
    QTest::addColumn<bool>("asks");
    QTest::newRow("handed-in picture asks before closing") << false << false << "close" << true;
    QTest::newRow("handed-in picture asks before the next one replaces it")
        << false << true << "open" << true;
    QTest::newRow("handed-in picture asks after its edits are undone")
        << false << false << "undo" << true;
    QTest::newRow("blank new picture closes without a question")
        << true << false << "close" << false;
}

void TestImagesCentralWidget::picturesWithoutFile()
{
    QFETCH(bool, blank);
    QFETCH(bool, single);
    QFETCH(QString, then);
    QFETCH(bool, asks);
    window()->singleWindowAction()->setChecked(single);
    if (blank) {
        acceptNextDialog();
        window()->newDlg();
    } else {
        window()->newPVFromImage(PictureFixture::rampImage(QSize(16, 12)));
    }
    QCOMPARE(views().size(), 1);
    SPicView* view = views().first();
    QCOMPARE(view->isModified(), !blank);
    m_prompter->answer(QMessageBox::No);
    if (then == QLatin1String("open")) {
        window()->newPVFromFile(path(QStringLiteral("a.png")));
    } else {
        if (then == QLatin1String("undo")) {
            modify(view);
            view->undo();
        }
        subWindow(0)->close();
    }
    QCOMPARE(m_prompter->asked().size(), asks ? 1 : 0);
    if (asks)
        QCOMPARE(m_prompter->asked().first().title, QStringLiteral("lumo-image - Close image?"));
    QCOMPARE(views().size(), asks ? 1 : 0);
    if (asks)
        QCOMPARE(views().first(), view);
}

void TestImagesCentralWidget::thumbnailsBarFollowsView_data()
{
    QTest::addColumn<bool>("switchAway");
    QTest::newRow("view stays current") << false;
    QTest::newRow("after switching away and back") << true;
}

void TestImagesCentralWidget::thumbnailsBarFollowsView()
{
    QFETCH(bool, switchAway);
    QVERIFY(open({"a.png", "b.png"}));
    SPicView* first = views().first();
    SWorkspace* workspace = window()->workspace();
    workspace->setActiveSubWindow(subWindow(0));
    if (switchAway) {
        workspace->setActiveSubWindow(subWindow(1));
        QCOMPARE(window()->thumbnailsBar()->model(), views().last()->fileModel());
        workspace->setActiveSubWindow(subWindow(0));
    }
    QCOMPARE(window()->thumbnailsBar()->model(), first->fileModel());
    first->openList({path(QStringLiteral("a.png")), path(QStringLiteral("c.png"))});
    QCOMPARE(window()->thumbnailsBar()->model(), first->fileModel());
    QCOMPARE(window()->thumbnailsBar()->model()->rowCount(), 2);
}

void TestImagesCentralWidget::attachAndDetach_data()
{
    QTest::addColumn<bool>("reattach");
    QTest::newRow("first attach") << false;
    QTest::newRow("detached and attached again") << true;
}

void TestImagesCentralWidget::attachAndDetach()
{
    QFETCH(bool, reattach);
    QVERIFY(open({"a.png"}));
    QMainWindow& mainWindow = m_host->mainWindow;
    if (reattach) {
        window()->setMainWindow(nullptr);
        QVERIFY(mainWindow.menuBar()->actions().isEmpty());
        QCOMPARE(window()->statusBar(), nullptr);
        for (QToolBar* bar : window()->toolBars())
            QVERIFY(bar->parentWidget() == window() && !bar->isVisible());
        QVERIFY(!window()->metaInfoDock()->isVisible());
        window()->setMainWindow(&mainWindow);
    }
    QCOMPARE(texts(mainWindow.menuBar()->actions()),
             (QStringList{"&File", "&Edit", "&View", "&Go", "&Image", "&Windows"}));
    for (QToolBar* bar : window()->toolBars())
        QVERIFY(mainWindow.toolBarArea(bar) != Qt::NoToolBarArea && bar->isVisible());
    QCOMPARE(mainWindow.dockWidgetArea(window()->metaInfoDock()), Qt::RightDockWidgetArea);
    SPicView* view = window()->currentView();
    emit view->message(QStringLiteral("Undo: done"), 1000);
    QCOMPARE(window()->statusBar()->currentMessage(), QStringLiteral("Undo: done"));
    emit view->zoomChanged(QStringLiteral("50%"));
    QCOMPARE(window()->statusLabel(ImagesCentralWidget::ZoomLabel)->text(), QStringLiteral("50%"));
}

LUMO_TEST_MAIN(TestImagesCentralWidget)
#include "tst_imagescentralwidget.moc"
