#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedprompter.h"

#include "app/mainwindow.h"
#include "app/settings.h"
#include "app/startup.h"
#include "browser/filescentralwidget.h"
#include "browser/imagefileselector.h"
#include "browser/imagesdirview.h"
#include "imagewindow/imagescentralwidget.h"
#include "imagewindow/sworkspace.h"
#include "platform/lumofm/navigation.h"
#include "platform/lumogeometry.h"
#include "platform/lumotabletmode.h"

#include <QCommandLineParser>
#include <QMenu>
#include <QToolBar>

// The normal run: the sorting of the command line, what it opens, the window's modes with their
// own layouts, full screen, tablet mode, and closing with unsaved pictures.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void sortArguments_data();
    void sortArguments();
    void fullScreenOption();
    void eachArgumentGivesEventsATurn();
    void startUp_data();
    void startUp();
    void defaultGeometry();
    void modeLayouts();
    void closeWritesLayouts_data();
    void closeWritesLayouts();
    void closingAsksForPictures_data();
    void closingAsksForPictures();
    void closingAFullScreenPictureAsksEachQuestionOnce();
    void activation_data();
    void activation();
    void browserRecentFiles();

private:
    QString path(const QString& name) const { return QDir::cleanPath(m_dir.filePath(name)); }
    QStringList paths(const QStringList& names) const;
    // Relative arguments resolve against the working directory, as on a real command line.
    template <typename Sort> Startup::Arguments inSandbox(Sort sort) const;
    void make();
    int pictureCount() const
    {
        return m_window->imagesWidget()->workspace()->subWindowList().size();
    }
    SPicView* currentView() const { return m_window->imagesWidget()->currentView(); }
    static bool modify(SPicView* view)
    {
        return view->runAdjustment(
            [](SPicView* parent, QImage* target, const QImage* source) {
                return new ScriptedAdjustmentDialog(parent, target, source, true);
            },
            SPicView::AdjustmentOption::AnnouncesNotSaved);
    }
    static Settings::WindowState* windowState() { return Settings::instance()->windowState(); }

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(QDir(m_dir.path()).mkpath("sub") && QDir(m_dir.path()).mkpath("d2"));
    for (const char* name : {"a.png", "b.png"})
        QVERIFY(PictureFixture::writePicture(path(QLatin1String(name)), QSize(40, 30)));
    QVERIFY(QFile::link(path("a.png"), path("link.png")));
    QVERIFY(QFile::link(path("sub"), path("linkdir")));
}

QStringList TestMainWindow::paths(const QStringList& names) const
{
    QStringList result;
    for (const QString& name : names)
        result << path(name);
    return result;
}

template <typename Sort> Startup::Arguments TestMainWindow::inSandbox(Sort sort) const
{
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    const Startup::Arguments sorted = sort();
    QDir::setCurrent(oldCurrent);
    return sorted;
}

void TestMainWindow::init()
{
    Settings::instance()->store()->clear();
    Settings::instance()->general()->setLastDir(path("sub"));
    lumoSetTabletMode(false);
    m_prompter = std::make_unique<ScriptedPrompter>();
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    m_prompter.reset();
    lumoSetTabletMode(false);
}

void TestMainWindow::make()
{
    m_window = std::make_unique<MainWindow>(QString());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindow::sortArguments_data()
{
    QTest::addColumn<QStringList>("positional");
    QTest::addColumn<QString>("directory"); // the "d" option; empty: not given
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("directories");
    QTest::addColumn<QString>("start");

    // No arguments, one file, two files and "d" with a directory run end to end below.
    const QStringList none;
    QTest::newRow("directory and file")
        << QStringList{"sub", "a.png"} << "" << QStringList{"a.png"} << QStringList{"sub"} << "sub";
    QTest::newRow("two directories: the first starts")
        << QStringList{"sub", "d2"} << "" << none << QStringList{"sub", "d2"} << "sub";
    QTest::newRow("d with a file starts nowhere")
        << QStringList{"a.png"} << "a.png" << none << none << "";
    QTest::newRow("missing path is skipped, order kept")
        << QStringList{"b.png", "missing.png", "a.png"} << "" << QStringList{"b.png", "a.png"}
        << none << ".";
    QTest::newRow("links to files are files, links to directories are directories")
        << QStringList{"link.png", "linkdir"} << "" << QStringList{"link.png"}
        << QStringList{"linkdir"} << "linkdir";
}

void TestMainWindow::sortArguments()
{
    QFETCH(QStringList, positional);
    QFETCH(QString, directory);
    QFETCH(QStringList, files);
    QFETCH(QStringList, directories);
    QFETCH(QString, start);
    const Startup::Arguments sorted =
        inSandbox([&] { return Startup::sort(positional, !directory.isEmpty(), directory); });
    QCOMPARE(sorted.files, paths(files));
    QCOMPARE(sorted.directories, paths(directories));
    QCOMPARE(sorted.startDirectory, start.isEmpty() ? QString() : QDir::cleanPath(path(start)));
}

void TestMainWindow::fullScreenOption()
{
    for (const bool fullScreen : {false, true}) {
        QCommandLineParser parser;
        Startup::setUpParser(parser);
        const QStringList options = fullScreen ? QStringList{"-f"} : QStringList();
        QVERIFY(parser.parse(QStringList{"lumo-image"} + options + QStringList{"a.png", "b.png"}));
        const Startup::Arguments sorted = inSandbox([&] { return Startup::sort(parser); });
        QCOMPARE(sorted.fullScreen, fullScreen);
        QCOMPARE(sorted.files, paths({"a.png", "b.png"}));
    }
}

void TestMainWindow::eachArgumentGivesEventsATurn()
{
    int turns = 0;
    Startup::sort(paths({"a.png", "missing", "sub"}), false, QString(), [&turns] { ++turns; });
    QCOMPARE(turns, 3);
}

void TestMainWindow::startUp_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("directoryOption"); // empty: not given
    QTest::addColumn<bool>("filesMode");
    QTest::addColumn<QString>("shownFile"); // the one picture opened; empty: none
    QTest::addColumn<QString>("browserDir");

    // "sub" is the directory the browser remembers.
    const QStringList a{"a.png"};
    QTest::newRow("no arguments: files mode") << QStringList() << "" << true << "" << "sub";
    QTest::newRow("one file: shown, browser keeps its start") << a << "" << false << "a.png"
                                                              << "sub";
    QTest::newRow("two files: one view, browser in their directory")
        << QStringList{"a.png", "b.png"} << "" << false << "a.png" << ".";
    QTest::newRow("d and a file: the directory, nothing opened") << a << "." << true << "" << ".";
}

void TestMainWindow::startUp()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, directoryOption);
    QFETCH(bool, filesMode);
    QFETCH(QString, shownFile);
    QFETCH(QString, browserDir);
    QStringList positional;
    for (const QString& argument : arguments)
        positional << path(argument);
    m_window = Startup::showMainWindow(
        Startup::sort(positional, !directoryOption.isEmpty(),
                      directoryOption.isEmpty() ? QString() : path(directoryOption)));

    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->geometry().size(), QSize(600, 400)); // first start on an 800 by 600 screen
    QCOMPARE(m_window->isFilesMode(), filesMode);
    QCOMPARE(m_window->filesAction()->isChecked(), filesMode);
    QCOMPARE(m_window->filesWidget()->navigation()->current().path(), path(browserDir));
    QCOMPARE(pictureCount(), shownFile.isEmpty() ? 0 : 1);
    if (!shownFile.isEmpty()) {
        QTRY_COMPARE(currentView()->filePath(), path(shownFile));
        if (arguments.size() > 1) // one file takes in its folder later
            QCOMPARE(currentView()->fileModel()->rowCount(), arguments.size());
    }
}

void TestMainWindow::defaultGeometry()
{
    QCOMPARE(MainWindow::defaultGeometry(QSize(1280, 800)), QRect(0, 0, 600, 400));
    QCOMPARE(MainWindow::defaultGeometry(QSize(800, 300)), QRect(0, 0, 600, 300));
    QCOMPARE(MainWindow::defaultGeometry(QSize(500, 350)), QRect(0, 0, 500, 350));
}

void TestMainWindow::modeLayouts()
{
    make();
    QToolBar* navigationBar = m_window->filesWidget()->toolBars().last();
    m_window->addToolBar(Qt::LeftToolBarArea, navigationBar);
    m_window->imagesAction()->setChecked(true);
    QToolBar* editBar = m_window->findChild<QToolBar*>(QStringLiteral("editToolBar"));
    QVERIFY(editBar);
    QCOMPARE(m_window->toolBarArea(editBar), Qt::TopToolBarArea);
    m_window->addToolBar(Qt::BottomToolBarArea, editBar);

    m_window->filesAction()->setChecked(true);
    QCOMPARE(m_window->toolBarArea(navigationBar), Qt::LeftToolBarArea);
    QVERIFY(!editBar->isVisible());
    m_window->imagesAction()->setChecked(true);
    QCOMPARE(m_window->toolBarArea(editBar), Qt::BottomToolBarArea);
}

void TestMainWindow::closeWritesLayouts_data()
{
    QTest::addColumn<bool>("inImagesMode");
    QTest::addColumn<QByteArray>("storedImagesLayout");
    QTest::addColumn<bool>("byQuit"); // "&Quit" ends the event loop without closing the window
    QTest::newRow("files mode only: no empty images layout") << false << QByteArray() << false;
    QTest::newRow("files mode only: loaded images layout kept")
        << false << QByteArray("earlier") << false;
    QTest::newRow("images mode: its new layout, files as it was left")
        << true << QByteArray() << false;
    QTest::newRow("quit in images mode saves the same") << true << QByteArray() << true;
}

void TestMainWindow::closeWritesLayouts()
{
    QFETCH(bool, inImagesMode);
    QFETCH(QByteArray, storedImagesLayout);
    QFETCH(bool, byQuit);
    if (!storedImagesLayout.isEmpty())
        windowState()->setImagesWindowState(storedImagesLayout);
    make();
    const QByteArray filesLayout = m_window->saveState();
    QByteArray imagesLayout = storedImagesLayout;
    if (inImagesMode) {
        m_window->imagesAction()->setChecked(true);
        m_window->addToolBar(Qt::BottomToolBarArea, m_window->imagesWidget()->toolBars().first());
    }
    if (byQuit) {
        QAction* quit = m_window->imagesWidget()->fileMenu()->actions().last();
        QCOMPARE(quit->text(), QStringLiteral("&Quit"));
        QTimer::singleShot(0, quit, &QAction::trigger);
        QCOMPARE(QApplication::exec(), 0);
    } else {
        QVERIFY(m_window->close());
    }
    if (inImagesMode)
        imagesLayout = m_window->saveState(); // as it was when the window went
    QCOMPARE(windowState()->filesWindowState(), filesLayout);
    QCOMPARE(windowState()->imagesWindowState(), imagesLayout);
    QCOMPARE(Settings::instance()->store()->contains("WindowState/imagesWindowState"),
             !imagesLayout.isEmpty());
    QVERIFY(Settings::instance()->store()->contains(lumoGeometryGroup(m_window.get()) + "/rect"));
}

void TestMainWindow::closingAsksForPictures_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("fullScreen");
    QTest::addColumn<int>("warningAnswer"); // after the picture's own question is cancelled
    QTest::addColumn<bool>("closed");

    QTest::newRow("unmodified picture: no question")
        << false << false << int(QMessageBox::NoButton) << true;
    QTest::newRow("modified, refused: window and picture stay")
        << true << false << int(QMessageBox::No) << false;
    QTest::newRow("modified, quit without saving")
        << true << false << int(QMessageBox::Yes) << true;
    QTest::newRow("modified picture out full screen is asked too")
        << true << true << int(QMessageBox::No) << false;
}

void TestMainWindow::closingAsksForPictures()
{
    QFETCH(bool, modified);
    QFETCH(bool, fullScreen);
    QFETCH(int, warningAnswer);
    QFETCH(bool, closed);
    make();
    m_window->imagesWidget()->openFileList({path("a.png")});
    const QPointer<SPicView> view = currentView();
    QVERIFY(view);
    if (modified) {
        QVERIFY(modify(view));
        m_prompter->answer(QMessageBox::Cancel);
        m_prompter->answer(QMessageBox::StandardButton(warningAnswer));
    }
    if (fullScreen) {
        m_window->fullScreenAction()->trigger();
        QVERIFY(view->isFullScreenMode());
    }

    QCOMPARE(m_window->close(), closed);
    QCOMPARE(m_prompter->asked().size(), modified ? 2 : 0);
    QCOMPARE(m_window->isVisible(), !closed);
    QCOMPARE(Settings::instance()->store()->contains("WindowState/filesWindowState"), closed);
    if (!closed) {
        QCOMPARE(pictureCount(), 1);
        QCOMPARE(currentView(), view.data());
        QVERIFY(view->isModified());
        QVERIFY(!view->isFullScreenMode());
    }
}

void TestMainWindow::closingAFullScreenPictureAsksEachQuestionOnce()
{
    Settings::instance()->imagesCentralWidget()->setSingleWindowMode(false);
    make();
    m_window->imagesWidget()->openFileList({path("a.png"), path("b.png")});
    QCOMPARE(pictureCount(), 2);
    QVERIFY(modify(currentView()));
    QMdiArea* workspace = m_window->imagesWidget()->workspace();
    workspace->setActiveSubWindow(workspace->subWindowList().first());
    const QPointer<SPicView> shown = currentView();
    m_window->fullScreenAction()->trigger();
    QVERIFY(shown->isFullScreenMode());

    // The other picture's question is cancelled, then the warning is answered Yes.
    m_prompter->answer(QMessageBox::Cancel);
    m_prompter->answer(QMessageBox::Yes);
    shown->close();
    QCOMPARE(m_prompter->asked().size(), 2);
    QTRY_VERIFY(!m_window->isVisible());
}

void TestMainWindow::activation_data()
{
    QTest::addColumn<bool>("tablet");
    QTest::newRow("desktop: images mode; full screen there and back stays") << false;
    QTest::newRow("tablet: full screen; leaving it returns to files mode") << true;
}

void TestMainWindow::activation()
{
    QFETCH(bool, tablet);
    Settings::instance()->general()->setLastDir(m_dir.path());
    make();
    lumoSetTabletMode(tablet);
    QCOMPARE(m_window->imagesWidget()->tabletMode(), tablet);
    QCOMPARE(m_window->filesWidget()->selector()->tabletMode(), tablet);

    ImagesDirView* dirView = m_window->filesWidget()->selector()->dirView();
    QTRY_VERIFY(dirView->indexOfPath(path("b.png")).isValid());
    const QModelIndex index = dirView->indexOfPath(path("b.png"));
    dirView->setCurrentIndex(index);
    emit dirView->activated(index);

    QVERIFY(!m_window->isFilesMode());
    QCOMPARE(pictureCount(), 1);
    SPicView* view = currentView();
    QCOMPARE(view->filePath(), path("b.png"));
    QCOMPARE(view->isFullScreenMode(), tablet);
    QCOMPARE(m_window->fullScreenAction()->isChecked(), tablet);
    if (!tablet) {
        m_window->fullScreenAction()->trigger();
        QVERIFY(view->isFullScreenMode());
    }
    m_window->fullScreenAction()->trigger();
    QVERIFY(!view->isFullScreenMode());
    QCOMPARE(m_window->isFilesMode(), tablet);
    QCOMPARE(m_window->filesAction()->isChecked(), tablet);
}

void TestMainWindow::browserRecentFiles()
{
    Settings::instance()->general()->setLasts({path("a.png"), path("b.png")});
    make();
    QMenu* menu = m_window->filesWidget()->fileMenu();
    emit menu->aboutToShow();
    QAction* last = menu->actions().last();
    QCOMPARE(last->text(), "&1: " + path("b.png"));
    last->trigger();
    QVERIFY(!m_window->isFilesMode());
    QTRY_COMPARE(currentView()->filePath(), path("b.png"));
}

LUMO_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
