#include "support/imagewindowhost.h"
#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedfiledialogs.h"
#include "support/scriptedprompter.h"

#include "app/settings.h"
#include "browser/metainfowidget.h"
#include "browser/thumbnailsbar.h"
#include "imagewindow/actionrules.h"
#include "imagewindow/imagescentralwidget.h"
#include "imagewindow/sworkspace.h"
#include "view/fullscreenpanel.h"
#include "view/spicview.h"

#include <QActionGroup>
#include <QDialog>
#include <QFile>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSpinBox>
#include <QTableWidget>

namespace {

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
    void initTestCase()
    {
        for (const char* name : {"a.png", "b.png", "c.png"})
            QVERIFY(PictureFixture::writePicture(path(QLatin1String(name)), QSize(40, 30)));
        QFile broken(path(QStringLiteral("broken.png")));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not a picture") > 0);
    }

    void init()
    {
        Settings::instance()->store()->clear();
        Settings::instance()->imagesCentralWidget()->setSingleWindowMode(false);
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_host = std::make_unique<ImageWindowHost>();
        QVERIFY(QTest::qWaitForWindowExposed(&m_host->mainWindow));
    }

    void cleanup()
    {
        m_host.reset();
        m_prompter.reset();
    }

    // Small pictures get a margin; large ones three quarters of the workspace, rounded.
    void placedViewSize()
    {
        QCOMPARE(ActionRules::placedViewSize(QSize(100, 50), QSize(800, 600)), QSize(120, 70));
        QCOMPARE(ActionRules::placedViewSize(QSize(4000, 3000), QSize(801, 603)), QSize(601, 452));
    }

    void openFileList_data()
    {
        QTest::addColumn<bool>("single");
        QTest::newRow("free windows: two cascaded sub-windows") << false;
        QTest::newRow("single-window mode: one view steps through both") << true;
    }

    void openFileList()
    {
        QFETCH(bool, single);
        window()->singleWindowAction()->setChecked(single);
        QVERIFY(open({"a.png", "c.png"}));
        const QList<SPicView*> all = views();
        QCOMPARE(all.size(), single ? 1 : 2);
        QCOMPARE(all.first()->fileName(), QStringLiteral("a.png"));
        if (single) {
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

    void openDialog_data()
    {
        QTest::addColumn<QStringList>("chosen");
        QTest::newRow("three files, in the dialog's order")
            << QStringList{"c.png", "a.png", "b.png"};
        QTest::newRow("cancelled") << QStringList();
    }

    void openDialog()
    {
        QFETCH(QStringList, chosen);
        QStringList paths;
        for (const QString& name : chosen)
            paths << path(name);
        ScriptedFileDialogs dialogs;
        dialogs.chooseFiles(paths);
        m_host->action(SharedActions::Index::Open)->trigger();
        QStringList opened;
        for (SPicView* view : views())
            opened << view->filePath();
        QCOMPARE(opened, paths);
        QVERIFY(!enabled(SharedActions::Index::Save));
        QVERIFY(!enabled(SharedActions::Index::Remove));
    }

    void actionStates_data()
    {
        QTest::addColumn<QString>("file"); // "-" for a picture handed in without a file
        QTest::addColumn<bool>("slideshow");
        // Save, Save as, Remove, Print, Full screen, delay box, the Image menu's six dialogs,
        // wallpaper
        QTest::addColumn<QString>("expected");
        QTest::newRow("no picture") << QString() << false << "00000000";
        QTest::newRow("unreadable picture can still be removed")
            << "broken.png" << false << "00100101";
        QTest::newRow("readable picture") << "a.png" << false << "01111111";
        QTest::newRow("slideshow") << "a.png" << true << "00001101";
        QTest::newRow("picture without a file") << "-" << false << "11011110";
    }

    void actionStates()
    {
        QFETCH(QString, file);
        QFETCH(bool, slideshow);
        QFETCH(QString, expected);
        m_host.reset(); // it would store its own delay on leaving
        Settings::instance()->imagesCentralWidget()->setSlideDelay(7);
        m_host = std::make_unique<ImageWindowHost>();
        if (file == QLatin1String("-"))
            window()->newPVFromImage(PictureFixture::rampImage(QSize(8, 8)));
        else if (!file.isEmpty())
            QVERIFY(open({file}));
        if (slideshow)
            window()->currentView()->startSlideshow();
        QCOMPARE(window()->delaySpinBox()->value(), 7);
        const auto states = [this] {
            using Index = SharedActions::Index;
            emit window()->imageMenu()->aboutToShow();
            QList<QAction*> entries = window()->imageMenu()->actions();
            QString bits;
            for (bool on : {enabled(Index::Save), enabled(Index::SaveAs), enabled(Index::Remove),
                            enabled(Index::Print), enabled(Index::FullScreen),
                            window()->delaySpinBox()->isEnabled()})
                bits += on ? QLatin1Char('1') : QLatin1Char('0');
            if (entries.size() != 8 || !entries.at(6)->isSeparator())
                return bits + QStringLiteral("menu changed");
            const auto dialogs = std::count_if(entries.begin(), entries.begin() + 6,
                                               [](QAction* entry) { return entry->isEnabled(); });
            bits += dialogs == 6   ? QLatin1Char('1')
                    : dialogs == 0 ? QLatin1Char('0')
                                   : QLatin1Char('?');
            return bits + (entries.last()->isEnabled() ? QLatin1Char('1') : QLatin1Char('0'));
        };
        QTRY_COMPARE(states(), expected);
    }

    void slideshowSurvivesActivation()
    {
        QVERIFY(open({"a.png", "b.png"}));
        SPicView* first = views().first();
        modify(first);
        QVERIFY(enabled(SharedActions::Index::Save));
        first->startSlideshow();
        for (int index : {1, 0})
            window()->workspace()->setActiveSubWindow(subWindow(index));
        QCOMPARE(window()->currentView(), first);
        QVERIFY(!window()->editGroup()->isEnabled());
        QVERIFY(!window()->copyAction()->isEnabled());
        QVERIFY(!enabled(SharedActions::Index::Save));
        first->stopSlideshow();
        QVERIFY(window()->copyAction()->isEnabled());
        QVERIFY(enabled(SharedActions::Index::Save));
    }

    void closing_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<int>("warningAnswer");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("unchanged picture: no warning")
            << false << int(QMessageBox::NoButton) << true;
        QTest::newRow("changes kept, No keeps the window") << true << int(QMessageBox::No) << false;
        QTest::newRow("changes kept, Yes quits anyway") << true << int(QMessageBox::Yes) << true;
    }

    void closing()
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
        QCOMPARE(views().size(), modified ? 1 : 0);
    }

    void windowMenu_data()
    {
        QTest::addColumn<int>("pictures");
        QTest::addColumn<bool>("single");
        QTest::addColumn<bool>("tabbed");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("arranging");
        const QStringList both = {"&0: ", "&1: "};
        QTest::newRow("free windows: numbered from 0") << 2 << false << false << both << true;
        QTest::newRow("single-window mode: none listed")
            << 2 << true << false << QStringList() << false;
        QTest::newRow("tabs: no arranging") << 2 << false << true << both << false;
        QTest::newRow("no picture") << 0 << false << false << QStringList() << false;
    }

    void windowMenu()
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
        for (QAction* action : arrangement)
            QCOMPARE(action->isEnabled(), arranging);

        const QList<QAction*> listed = window()->windowListGroup()->actions();
        QStringList prefixes;
        for (const QString& text : texts(listed))
            prefixes << text.left(4);
        QCOMPARE(prefixes, entries);
        if (entries.isEmpty())
            return;
        QVERIFY(listed.at(2)->isChecked() && !listed.at(1)->isChecked());
        listed.at(1)->trigger();
        QCOMPARE(window()->currentView(), views().first());
    }

    void contextMenus()
    {
        QVERIFY(open({"a.png"}));
        SPicView* view = window()->currentView();
        const auto shown = [this](auto request) {
            QStringList entries;
            QTimer::singleShot(0, this, [&entries] {
                if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                    entries = texts(menu->actions());
                    menu->close();
                }
            });
            request();
            return entries;
        };
        const auto pictureMenu = [view] { emit view->contextMenuRequested(QPoint(10, 10)); };
        const QStringList picture = shown(pictureMenu);
        QCOMPARE(picture.size(), 11);
        QCOMPARE(picture.mid(9), (QStringList{"Show thumbnails bar", "Metainfo"}));
        QCOMPARE(shown([view] { emit view->selectionContextMenuRequested(QPoint(10, 10)); }),
                 (QStringList{"&Copy", "&Cut"}));
        // Full screen has neither the thumbnails bar nor the dock.
        m_host->fullScreen->trigger();
        QCOMPARE(shown(pictureMenu), picture.mid(0, 9));
    }

    // Read at construction, written on destruction: one set of values in, the opposite one out.
    void settingsRoundTrip()
    {
        m_host.reset();
        Settings* settings = Settings::instance();
        Settings::ImagesCentralWidget* stored = settings->imagesCentralWidget();
        stored->setSingleWindowMode(true);
        stored->setTabbedWindowMode(true);
        stored->setThumbnailsBarVisible(false);
        stored->setSlideDelay(9);
        settings->metaInfoWidget()->setFirstColumnWidth(150);
        m_host = std::make_unique<ImageWindowHost>();
        QVERIFY(window()->workspace()->singleWindowMode());
        QCOMPARE(window()->workspace()->viewMode(), QMdiArea::TabbedView);
        QVERIFY(!window()->thumbnailsBar()->isVisibleTo(window()));
        QCOMPARE(window()->delaySpinBox()->value(), 9);
        QCOMPARE(window()->metaInfoWidget()->table()->columnWidth(0), 150);

        window()->singleWindowAction()->setChecked(false);
        window()->tabbedAction()->setChecked(false);
        window()->thumbnailsBarAction()->setChecked(true);
        window()->delaySpinBox()->setValue(2);
        window()->metaInfoWidget()->table()->setColumnWidth(0, 60);
        m_host.reset();
        settings->store()->sync();
        QVERIFY(!stored->singleWindowMode());
        QVERIFY(!stored->tabbedWindowMode());
        QVERIFY(stored->thumbnailsBarVisible());
        QCOMPARE(stored->slideDelay(), 2);
        QCOMPARE(settings->metaInfoWidget()->firstColumnWidth(), 60);
    }

    void fullScreenPictureClosed_data()
    {
        QTest::addColumn<bool>("otherModified");
        QTest::newRow("others unchanged: the program ends") << false;
        QTest::newRow("another picture unsaved and kept: the program stays") << true;
    }

    // The panel lives in the full-screen view; closing the view must not take the panel with it.
    void fullScreenPictureClosed()
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
        QCOMPARE(panel->parentWidget(), window()->currentView());
        m_host->fullScreen->trigger();
        QCOMPARE(panel->picView(), nullptr);
        QVERIFY(!window()->currentView()->isFullScreenMode());
    }

    void picturesWithoutFile_data()
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

    void picturesWithoutFile()
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
        QCOMPARE(views(), asks ? QList<SPicView*>{view} : QList<SPicView*>());
    }

    // Switching views once dropped the link that keeps the bar on the view's current model.
    void thumbnailsBarFollowsViewBack()
    {
        QVERIFY(open({"a.png", "b.png"}));
        SPicView* first = views().first();
        SWorkspace* workspace = window()->workspace();
        workspace->setActiveSubWindow(subWindow(0));
        workspace->setActiveSubWindow(subWindow(1));
        QCOMPARE(window()->thumbnailsBar()->model(), views().last()->fileModel());
        workspace->setActiveSubWindow(subWindow(0));
        first->openList({path(QStringLiteral("a.png")), path(QStringLiteral("c.png"))});
        QCOMPARE(window()->thumbnailsBar()->model(), first->fileModel());
        QCOMPARE(window()->thumbnailsBar()->model()->rowCount(), 2);
    }

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // Opens the files and waits until each picture knows its place in its directory.
    bool open(const QStringList& names)
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

    QList<SPicView*> views() const
    {
        QList<SPicView*> result;
        for (QMdiSubWindow* window : window()->workspace()->subWindowList(QMdiArea::CreationOrder))
            result << qobject_cast<SPicView*>(window->widget());
        return result;
    }

    QMdiSubWindow* subWindow(int index) const
    {
        return window()->workspace()->subWindowList(QMdiArea::CreationOrder).value(index);
    }

    // Runs an adjustment dialog from the Image menu and accepts it.
    void modify(SPicView* view)
    {
        window()->workspace()->setActiveSubWindow(
            qobject_cast<QMdiSubWindow*>(view->parentWidget()));
        emit window()->imageMenu()->aboutToShow();
        acceptNextDialog();
        // "&Brightness-Contrast..."
        window()->imageMenu()->actions().at(5)->trigger();
    }

    ImagesCentralWidget* window() const { return m_host->window; }
    bool enabled(SharedActions::Index index) const { return m_host->action(index)->isEnabled(); }

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ImageWindowHost> m_host;
};

LUMO_TEST_MAIN(TestImagesCentralWidget)
#include "tst_imagescentralwidget.moc"
