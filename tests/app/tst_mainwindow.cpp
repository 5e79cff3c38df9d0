#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/recordinglauncher.h"
#include "support/scriptedprompter.h"

#include "app/mainwindow.h"
#include "app/startup.h"
#include "browser/imagefileselector.h"
#include "browser/imagesdirview.h"
#include "imagewindow/imagescentralwidget.h"
#include "imagewindow/imagewindowactions.h"
#include "imagewindow/sworkspace.h"
#include "platform/lumofm/navigation.h"
#include "platformwidgets/lumogeometry.h"
#include "platformwidgets/lumotabletmode.h"
#include "settings/settings.h"
#include "shell/filescentralwidget.h"

#include <QCommandLineParser>
#include <QMenu>
#include <QToolBar>

#include <sys/stat.h>

// The normal run: the sorting of the command line, what it opens, the window's modes with their
// own layouts, full screen, tablet mode, and closing with unsaved pictures.
class TestMainWindow : public QObject
{
    Q_OBJECT

    QString path(const QString& name) const { return QDir::cleanPath(m_dir.filePath(name)); }
    static QStringList words(const QString& text) { return text.split(' ', Qt::SkipEmptyParts); }
    QStringList paths(QStringList names) const
    {
        for (QString& name : names)
            name = path(name);
        return names;
    }
    void make()
    {
        m_window = std::make_unique<MainWindow>(QString());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    int pictureCount() const
    {
        return m_window->imagesWidget()->workspace()->subWindowList().size();
    }
    SPicView* currentView() const { return m_window->imagesWidget()->currentView(); }
    static bool modify(SPicView* view)
    {
        return view->runAdjustment(
            [](SPicView* parent, PictureAdjustment* adjustment) {
                return new ScriptedAdjustmentDialog(parent, adjustment, AdjustmentScript());
            },
            SPicView::AdjustmentOptions());
    }
    static Settings::WindowState* windowState() { return Settings::instance()->windowState(); }

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("sub") && QDir(m_dir.path()).mkpath("d2"));
        for (const char* name : {"a.png", "b.png", "./:c.png"})
            QVERIFY(lumotest::writePicture(path(QLatin1String(name)), QSize(40, 30)));
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
        QVERIFY(QFile::link(path("a.png"), path("link.png")));
        QVERIFY(QFile::link(path("sub"), path("linkdir")));
    }

    void init()
    {
        Settings::instance()->store()->clear();
        Settings::instance()->general()->setLastDir(path("sub"));
        m_prompter = std::make_unique<ScriptedPrompter>();
    }

    void cleanup()
    {
        m_window.reset();
        m_prompter.reset();
        lumoSetTabletMode(false);
    }

    void defaultSize_data() { lumotest::addRows(QStringLiteral("windowdefaultsize.txt")); }
    void defaultSize()
    {
        QFETCH(QSize, available);
        QFETCH(int, bars);
        QFETCH(QSize, size);
        QCOMPARE(MainWindow::defaultSize(available, bars), size);
    }

    void sortArguments_data() { lumotest::addRows(QStringLiteral("startuparguments.txt")); }

    void sortArguments()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, files);
        QFETCH(QString, directories);
        QFETCH(QString, start);
        QFETCH(QString, missing);
        QCommandLineParser parser;
        Startup::setUpParser(parser);
        QVERIFY(parser.parse(QStringList{"lumo-image"} + words(arguments)));
        // Relative arguments resolve against the working directory, as on a real command line.
        const QString oldCurrent = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        const Startup::Arguments sorted = Startup::sort(parser);
        QDir::setCurrent(oldCurrent);
        QCOMPARE(sorted.fullScreen, words(arguments).contains("-f"));
        QCOMPARE(sorted.files, paths(words(files)));
        QCOMPARE(sorted.directories, paths(words(directories)));
        QCOMPARE(sorted.startDirectory, start.isEmpty() ? QString() : path(start));
        QCOMPARE(sorted.missing, words(missing));
    }

    void startUp_data() { lumotest::addRows(QStringLiteral("startupwindow.txt")); }

    void startUp()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, directoryOption);
        QFETCH(QString, shownFile);
        QFETCH(QString, browserDir);
        m_window = Startup::showMainWindow(
            Startup::sort(paths(words(arguments)), !directoryOption.isEmpty(),
                          directoryOption.isEmpty() ? QString() : path(directoryOption)));

        QVERIFY(m_window->isVisible());
        // First start on an 800 by 600 screen: two thirds of its height, its whole width for
        // the tool bars, placed by the window manager.
        QCOMPARE(m_window->geometry().size(), QSize(800, 400));
        QVERIFY(!m_window->testAttribute(Qt::WA_Moved));
        QCOMPARE(m_window->isFilesMode(), shownFile.isEmpty());
        QCOMPARE(m_window->filesWidget()->navigation()->current().path(), path(browserDir));
        QCOMPARE(pictureCount(), shownFile.isEmpty() ? 0 : 1);
        if (!shownFile.isEmpty()) {
            QTRY_COMPARE(currentView()->filePath(), path(shownFile));
            if (words(arguments).size() > 1) // one file takes in its folder later
                QCOMPARE(currentView()->fileModel()->rowCount(), words(arguments).size());
        }
    }

    void modeLayouts()
    {
        make();
        QToolBar* navigationBar = m_window->filesWidget()->toolBars().last();
        m_window->addToolBar(Qt::LeftToolBarArea, navigationBar);
        m_window->imagesAction()->setChecked(true);
        QToolBar* editBar = m_window->findChild<QToolBar*>(QStringLiteral("editToolBar"));
        QVERIFY(editBar);
        m_window->addToolBar(Qt::BottomToolBarArea, editBar);

        m_window->filesAction()->setChecked(true);
        QCOMPARE(m_window->toolBarArea(navigationBar), Qt::LeftToolBarArea);
        QVERIFY(!editBar->isVisible());
        m_window->imagesAction()->setChecked(true);
        QCOMPARE(m_window->toolBarArea(editBar), Qt::BottomToolBarArea);
    }

    void closeWritesLayouts_data() { lumotest::addRows(QStringLiteral("mainwindowlayouts.txt")); }

    void closeWritesLayouts()
    {
        QFETCH(bool, inImagesMode);
        QFETCH(QString, storedImagesLayout);
        QFETCH(bool, byQuit);
        if (!storedImagesLayout.isEmpty())
            windowState()->setImagesWindowState(storedImagesLayout.toLatin1());
        make();
        const QByteArray filesLayout = m_window->saveState();
        if (inImagesMode) {
            m_window->imagesAction()->setChecked(true);
            QToolBar* bar = m_window->imagesWidget()->windowActions()->toolBars().first();
            m_window->addToolBar(Qt::BottomToolBarArea, bar);
        }
        if (byQuit) {
            QAction* quit = m_window->imagesWidget()->windowActions()->fileMenu()->actions().last();
            QCOMPARE(quit->text(), QStringLiteral("&Quit"));
            QTimer::singleShot(0, quit, &QAction::trigger);
            QCOMPARE(QApplication::exec(), 0);
        } else {
            QVERIFY(m_window->close());
        }
        // In images mode, the layout as it was when the window went.
        const QByteArray imagesLayout =
            inImagesMode ? m_window->saveState() : storedImagesLayout.toLatin1();
        QCOMPARE(windowState()->filesWindowState(), filesLayout);
        QCOMPARE(windowState()->imagesWindowState(), imagesLayout);
        QSettings* store = Settings::instance()->store();
        QCOMPARE(store->contains("WindowState/imagesWindowState"), !imagesLayout.isEmpty());
        QVERIFY(store->contains(lumoGeometryGroup(m_window.get()) + "/rect"));
    }

    // Whether each picture asks, and a cancelled question in the window, are the image window's
    // test; here, a cancelled question about a picture out full screen stops the main window
    // closing and brings the picture back.
    void cancelledQuestionKeepsTheWindow()
    {
        make();
        m_window->imagesWidget()->openFileList({path("a.png")});
        const QPointer<SPicView> view = currentView();
        QVERIFY(view && modify(view));
        m_prompter->answer(QMessageBox::Cancel);
        m_prompter->answer(QMessageBox::Yes); // a second question would quit
        m_window->fullScreenAction()->trigger();
        QVERIFY(view->isFullScreenMode());
        QVERIFY(!m_window->close());
        QCOMPARE(m_prompter->asked().size(), 1);
        QVERIFY(!Settings::instance()->store()->contains("WindowState/filesWindowState"));
        // One picture, current, modified, not full screen.
        QCOMPARE((QList<bool>{pictureCount() == 1, currentView() == view, view->isModified(),
                              view->isFullScreenMode()}),
                 (QList<bool>{true, true, true, false}));
    }

    void closingAFullScreenPictureAsksEachQuestionOnce()
    {
        Settings::instance()->imagesCentralWidget()->setSingleWindowMode(false);
        make();
        m_window->imagesWidget()->openFileList({path("a.png")});
        // Handed in without a file: changed, and asked about with Yes and No.
        m_window->imagesWidget()->newPVFromImage(lumotest::rampImage(QSize(8, 8)));
        QCOMPARE(pictureCount(), 2);
        QMdiArea* workspace = m_window->imagesWidget()->workspace();
        workspace->setActiveSubWindow(workspace->subWindowList().first());
        const QPointer<SPicView> shown = currentView();
        m_window->fullScreenAction()->trigger();
        QVERIFY(shown->isFullScreenMode());

        // The other picture is kept, then the warning is answered Yes.
        m_prompter->answer(QMessageBox::No);
        m_prompter->answer(QMessageBox::Yes);
        shown->close();
        QCOMPARE(m_prompter->asked().size(), 2);
        QTRY_VERIFY(!m_window->isVisible());
    }

    void activation_data()
    {
        QTest::addColumn<bool>("tablet");
        QTest::newRow("desktop: images mode; full screen there and back stays") << false;
        QTest::newRow("tablet: full screen; leaving it returns to files mode") << true;
    }

    void activation()
    {
        QFETCH(bool, tablet);
        Settings::instance()->general()->setLastDir(m_dir.path());
        make();
        lumoSetTabletMode(tablet);
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

    // Back in files mode, the browser shows the folder of the picture the user was looking at.
    void filesModeFollowsThePicture()
    {
        make();
        QCOMPARE(m_window->filesWidget()->navigation()->current().path(), path("sub"));
        m_window->imagesWidget()->newPVFromFile(path("a.png"));
        QVERIFY(!m_window->isFilesMode());
        QTRY_COMPARE(currentView() ? currentView()->filePath() : QString(), path("a.png"));
        m_window->filesAction()->setChecked(true);
        QVERIFY(m_window->isFilesMode());
        QCOMPARE(m_window->filesWidget()->navigation()->current().path(), m_dir.path());
    }

    void deleteKeysInFilesMode_data()
    {
        lumotest::addRows(QStringLiteral("mainwindow-deletekeys.txt"));
    }

    void deleteKeysInFilesMode()
    {
        QFETCH(bool, shift);
        QFETCH(QString, option);
        Settings::instance()->general()->setLastDir(m_dir.path());
        make();
        RecordingLauncher launcher;
        ImagesDirView* dirView = m_window->filesWidget()->selector()->dirView();
        QTRY_VERIFY(dirView->indexOfPath(path("b.png")).isValid());
        dirView->setCurrentIndex(dirView->indexOfPath(path("b.png")));
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        dirView->setFocus();
        QTest::keyClick(dirView, Qt::Key_Delete, shift ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(launcher.starts().size(), 1);
        QCOMPARE(launcher.starts().first().arguments, (QStringList{option, path("b.png")}));
    }

    // A picture read in images mode is offered by the browser's File menu, which opens it in
    // the image window. How entries are recorded and listed is tst_opensave's, how the settings
    // dialog clears them tst_settingsdialog's.
    void recentFilesInBothModes()
    {
        make();
        m_window->imagesWidget()->openFileList({path("b.png")});
        // Recorded once the picture is read, in the background.
        QTRY_COMPARE(Settings::instance()->general()->lasts(), QStringList{path("b.png")});
        m_window->filesAction()->setChecked(true);
        m_window->imagesWidget()->workspace()->closeAllSubWindows();
        QMenu* filesMenu = m_window->filesWidget()->fileMenu();
        emit filesMenu->aboutToShow();
        QAction* entry = filesMenu->actions().last();
        QCOMPARE(entry->text(), "&0: " + path("b.png"));
        entry->trigger();
        QVERIFY(!m_window->isFilesMode());
        QTRY_COMPARE(currentView()->filePath(), path("b.png"));
    }

    // Pictures open, both modes shown and both File menus with their entries: the window goes
    // with nothing of it used after it was freed (the sanitizer build is the judge).
    void closingWithBothModesBuilt()
    {
        make();
        m_window->imagesWidget()->openFileList({path("a.png"), path("b.png")});
        emit m_window->imagesWidget()->windowActions()->fileMenu()->aboutToShow();
        m_window->fullScreenAction()->trigger();
        m_window->fullScreenAction()->trigger();
        m_window->filesAction()->setChecked(true);
        emit m_window->filesWidget()->fileMenu()->aboutToShow();
        const QPointer<ImagesCentralWidget> images = m_window->imagesWidget();
        QVERIFY(m_window->close());
        m_window.reset();
        QVERIFY(!images);
    }

};

LUMO_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
