#include "support/imagewindowhost.h"
#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/pictureloading.h"
#include "support/scriptedadjustmentdialogs.h"
#include "support/scriptedfiledialogs.h"
#include "support/scriptedprompter.h"

#include "browser/thumbnailsbar.h"
#include "decoding/decoderpool.h"
#include "dialogs/settingsdialog.h"
#include "document/imageformats.h"
#include "fullscreen/fullscreenpanel.h"
#include "imagewindow/currentviewbinding.h"
#include "imagewindow/imagescentralwidget.h"
#include "imagewindow/imagewindowactions.h"
#include "imagewindow/sworkspace.h"
#include "settings/settings.h"
#include "view/quickedits.h"
#include "view/spic.h"
#include "view/spicview.h"
#include "view/zoommodel.h"

#include <QActionGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHash>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>

Q_DECLARE_METATYPE(QuickEdits::Kind)

namespace {

using Index = SharedActions::Index;
using Kind = QuickEdits::Kind;

// Accepts the modal dialog about to run, as soon as it shows.
void acceptNextDialog()
{
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
}

// Counts picture views shown as windows of their own.
struct ShownAlone : QObject
{
    ShownAlone() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* view = qobject_cast<SPicView*>(watched);
        if (event->type() == QEvent::Show && view && view->isWindow())
            ++count;
        return false;
    }
    int count = 0;
};

QStringList texts(const QList<QAction*>& actions)
{
    QStringList result;
    for (QAction* action : actions)
        if (!action->isSeparator())
            result << action->text();
    return result;
}

// Drags a selection over the canvas from image pixel to image pixel, as the left button does.
void drawSelection(SPic* canvas, const QRect& rect)
{
    const QPoint origin =
        SPic::imageRectFor(canvas->size(), QSize(canvas->scaledWidth(), canvas->scaledHeight()))
            .topLeft();
    const QPoint from = origin + rect.topLeft();
    const QPoint to = from + QPoint(rect.width(), rect.height());
    const auto send = [canvas](QEvent::Type type, const QPoint& at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, canvas->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

} // namespace

// The image window inside a plain main window, over pictures made in a sandbox: its modes, the
// questions before pictures go, its keys, one-step edits and pasting as a new picture.
class TestImagesCentralWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // What the workspace does with pictures, not how they are decoded: read here, a
        // picture does not wait for a helper to start on a loaded machine.
        DecoderPool::setInProcess(true);
        for (const char* name : {"a.png", "b.png", "c.png"})
            QVERIFY(lumotest::writePicture(path(QLatin1String(name)), QSize(40, 30)));
    }

    void init()
    {
        Settings::instance()->store()->clear();
        Settings::instance()->imagesCentralWidget()->setSingleWindowMode(false);
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_host = std::make_unique<ImageWindowHost>();
        QVERIFY(QTest::qWaitForWindowActive(&m_host->mainWindow));
    }

    void cleanup()
    {
        m_host.reset();
        m_prompter.reset();
        QApplication::clipboard()->clear();
    }

    // Single-window mode steps one view through the list, tabs show the current picture over
    // the area. The Windows menu lists the pictures, the current one checked, and arranges free
    // windows only.
    void modes_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("entries");
        const QStringList both = {"&1: a.png", "&2: c.png"};
        QTest::newRow("free windows: two sub-windows, numbered from 1") << "free" << both;
        QTest::newRow("single-window mode: one view steps through both, none listed")
            << "single" << QStringList();
        QTest::newRow("tabs: the current picture fills the area, no arranging") << "tabs" << both;
    }

    void modes()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, entries);
        const bool single = mode == "single";
        actions()->singleWindowAction()->setChecked(single);
        actions()->tabbedAction()->setChecked(mode == "tabs");
        QVERIFY(open({"a.png", "c.png"}));
        QCOMPARE(shown(), paths(single ? QStringList{"a.png"} : QStringList{"a.png", "c.png"}));
        emit actions()->windowsMenu()->aboutToShow();
        for (QAction* action : actions()->arrangementGroup()->actions())
            QCOMPARE(action->isEnabled(), mode == "free");
        const QList<QAction*> listed = actions()->windowListGroup()->actions();
        QCOMPARE(texts(listed), entries);
        if (single) {
            views().first()->next();
            QCOMPARE(shown(), paths({"c.png"}));
            return;
        }
        QCOMPARE(window()->currentView(), views().last());
        QVERIFY(listed.at(2)->isChecked() && !listed.at(1)->isChecked());
        listed.at(1)->trigger();
        QCOMPARE(window()->currentView(), views().first());
        QTRY_COMPARE(subWindow(0)->isMaximized(), mode == "tabs");
        activate(1);
        QTRY_COMPARE(subWindow(1)->isMaximized(), mode == "tabs");
    }

    void newPictureShowsOnlyInside_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::newRow("handed in") << "handed-in";
        QTest::newRow("blank new") << "blank";
    }

    void newPictureShowsOnlyInside()
    {
        QFETCH(QString, picture);
        const ShownAlone shownAlone;
        QVERIFY(add(picture));
        QCOMPARE(shownAlone.count, 0);
        QCOMPARE(views().size(), 1);
        QVERIFY(views().first()->isVisible());
        QLabel* zoom = window()->viewBinding()->statusLabel(CurrentViewBinding::StatusLabel::Zoom);
        QTRY_VERIFY(!zoom->text().isEmpty());
    }

    // The title of a changed picture still names its file.
    void titleOfChangedPicture()
    {
        m_host->mainWindow.setWindowTitle(QStringLiteral("lumo-image"));
        actions()->singleWindowAction()->setChecked(true);
        QVERIFY(open({"a.png"}));
        modify(views().first());
        views().first()->refreshStatus();
        QCOMPARE(m_host->mainWindow.windowTitle(),
                 "lumo-image - [" + path(QStringLiteral("a.png")) + " (Not saved)]");
    }

    // The files open in the order the dialog gives them. The dialog starts in the folder of the
    // file recorded last and offers every picture format first.
    void openDialog()
    {
        m_host->recentFiles.add(QStringLiteral("/home/u/pics/x.jpg"));
        const QStringList chosen{"c.png", "a.png", "b.png"};
        ScriptedFileDialogs dialogs;
        dialogs.chooseFiles(paths(chosen));
        m_host->action(Index::Open)->trigger();
        QCOMPARE(shown(), paths(chosen));
        QCOMPARE(dialogs.openCalls().value(0).directory, QStringLiteral("/home/u/pics"));
        QVERIFY(dialogs.openCalls().first().filter.startsWith(
            ImageFormats::instance()->allImagesFilter() + ";;All Files (*);;"));
    }

    // The rules' answers reach the actions, the delay box and the Image menu.
    void actionStates()
    {
        QVERIFY(open({QStringLiteral("a.png")}));
        const auto states = [this] {
            QString bits;
            for (Index index :
                 {Index::Save, Index::SaveAs, Index::Remove, Index::Print, Index::FullScreen})
                bits += enabled(index) ? '1' : '0';
            bits += actions()->delaySpinBox()->isEnabled() ? "1 " : "0 ";
            emit actions()->imageMenu()->aboutToShow();
            for (QAction* entry : actions()->imageMenu()->actions())
                bits += entry->isSeparator() ? '-' : entry->isEnabled() ? '1' : '0';
            return bits;
        };
        // Save ... Full screen, delay box; dialogs, one-step edits (crop wants a mark), wallpaper.
        QTRY_COMPARE(states(), QStringLiteral("011111 111111-111101-1"));
    }

    void slideshowSurvivesActivation()
    {
        QVERIFY(open({"a.png", "b.png"}));
        SPicView* first = views().first();
        modify(first);
        first->startSlideshow();
        activate(1);
        activate(0);
        QCOMPARE(window()->currentView(), first);
        QAction* copy = actions()->edit(ImageWindowActions::Edit::Copy);
        QVERIFY(!actions()->editGroup()->isEnabled() && !copy->isEnabled());
        QVERIFY(!enabled(Index::Save));
        first->stopSlideshow();
        QVERIFY(copy->isEnabled() && enabled(Index::Save));
    }

    // Quitting asks each changed picture, then warns about those kept; a cancelled question
    // ends it. Every button but Cancel says what it does. A picture handed in without a file
    // counts as changed until saved; a blank new one does not.
    void closeQuestions_data()
    {
        QTest::addColumn<QString>("steps"); // the picture first
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("asked");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("kept");
        using B = QMessageBox;
        const QList<int> no{B::No};
        QTest::newRow("unchanged picture: no warning") << "a.png quit" << no << 0 << true << false;
        QTest::newRow("question cancelled: nothing more asked, nothing closes")
            << "a.png edit quit" << QList<int>{B::Cancel, B::Yes} << 1 << false << true;
        QTest::newRow("picture kept, No keeps the window")
            << "handed-in quit" << QList<int>{B::No, B::No} << 2 << false << true;
        QTest::newRow("picture kept, Yes quits anyway and closes it")
            << "handed-in quit" << QList<int>{B::No, B::Yes} << 2 << true << false;
        QTest::newRow("blank new picture closes without a question")
            << "blank close" << no << 0 << true << false;
    }

    void closeQuestions()
    {
        QFETCH(QString, steps);
        QFETCH(QList<int>, answers);
        QFETCH(int, asked);
        QFETCH(bool, closed);
        QFETCH(bool, kept);
        QStringList script = steps.split(' ');
        const QString picture = script.takeFirst();
        QVERIFY(add(picture));
        QCOMPARE(views().size(), 1);
        SPicView* view = views().first();
        QCOMPARE(view->isModified(), picture == "handed-in");
        for (int answer : answers)
            m_prompter->answer(QMessageBox::StandardButton(answer));
        bool done = false;
        for (const QString& step : script) {
            if (step == "edit")
                modify(view);
            else
                done = step == "quit" ? window()->close() : subWindow(0)->close();
        }
        QCOMPARE(m_prompter->asked().size(), asked);
        QCOMPARE(done, closed);
        QCOMPARE(views(), kept ? QList<SPicView*>{view} : QList<SPicView*>());
        using B = QMessageBox;
        for (const ScriptedPrompter::Question& question : m_prompter->asked())
            for (B::StandardButton button : {B::Yes, B::No, B::Save, B::Discard})
                QVERIFY(!(question.buttons & button) || question.buttonTexts.contains(button));
    }

    // Every changed picture is asked about before any is written or closed.
    void quitAsksEveryPictureFirst_data()
    {
        QTest::addColumn<QList<int>>("answers"); // about the first picture, then the third
        QTest::addColumn<bool>("closed");
        using B = QMessageBox;
        QTest::newRow("cancel on the last: nothing written, nothing closed")
            << QList<int>{B::Save, B::Cancel} << false;
        QTest::newRow("save and discard: written, then all closed")
            << QList<int>{B::Save, B::Discard} << true;
    }
    void quitAsksEveryPictureFirst()
    {
        QFETCH(QList<int>, answers);
        QFETCH(bool, closed);
        const QStringList names{"quit-a.png", "quit-b.png", "quit-c.png"};
        for (const QString& name : names)
            QVERIFY(lumotest::writePicture(path(name), QSize(20, 10)));
        QVERIFY(open(names));
        modify(views().at(0));
        modify(views().at(2));
        const QImage before(path(names.first()));
        for (int answer : answers)
            m_prompter->answer(QMessageBox::StandardButton(answer));
        QCOMPARE(window()->close(), closed);
        QCOMPARE(m_prompter->asked().size(), 2);
        QCOMPARE(views().size(), closed ? 0 : 3);
        QCOMPARE(QImage(path(names.first())) != before, closed);
    }

    // In single-window mode the picture the user would not let go of stays, and the file refused
    // is not recorded among the recent ones, though it was read while the question waited.
    void refusedOpenIsNotRecorded()
    {
        actions()->singleWindowAction()->setChecked(true);
        QVERIFY(open({"a.png"}));
        SPicView* shownView = views().first();
        modify(shownView);
        m_prompter->answer(QMessageBox::Cancel);
        m_prompter->whileAsking([shownView] {
            for (QWidget* widget : QApplication::allWidgets()) {
                auto* refused = qobject_cast<SPicView*>(widget);
                if (refused && refused != shownView)
                    QVERIFY(waitForPicture(refused));
            }
        });
        window()->newPVFromFile(path("b.png"));
        QCOMPARE(m_prompter->asked().size(), 1);
        QCOMPARE(views(), QList<SPicView*>{shownView});
        QVERIFY(!m_host->recentFiles.entries().contains(path("b.png")));
    }

    // Pages keep coming from the scanner's feeder while a question about closing is open.
    void pagesArriveDuringQuestions_data()
    {
        QTest::addColumn<bool>("single");
        QTest::addColumn<bool>("quit"); // after the first two pages
        QTest::addColumn<int>("answer");
        QTest::addColumn<QList<int>>("left"); // the pages still open
        QTest::addColumn<int>("asked");
        QTest::newRow("single window, each replaced page let go: the last page alone")
            << true << false << int(QMessageBox::Discard) << QList<int>{6} << 5;
        QTest::newRow("single window, the first page kept: each later page asked for")
            << true << false << int(QMessageBox::No) << QList<int>{1} << 5;
        QTest::newRow("quitting: pages arriving meanwhile are asked about too")
            << false << true << int(QMessageBox::Discard) << QList<int>() << 6;
    }

    void pagesArriveDuringQuestions()
    {
        QFETCH(bool, single);
        QFETCH(bool, quit);
        QFETCH(int, answer);
        QFETCH(QList<int>, left);
        QFETCH(int, asked);
        const int pages = 6;
        actions()->singleWindowAction()->setChecked(single);
        int next = 1;
        // As a question's event loop does: it takes the next page and deletes closed windows.
        const auto deliver = [this, &next, pages] {
            if (next <= pages)
                window()->newPVFromImage(lumotest::rampImage(QSize(10 + next++, 8)));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        m_prompter->whileAsking(deliver);
        m_prompter->setFallback(QMessageBox::StandardButton(answer));
        deliver();
        deliver();
        if (quit)
            QVERIFY(window()->close());
        while (next <= pages)
            deliver();
        QList<int> open;
        for (SPicView* view : views())
            open << view->image().width() - 10;
        QCOMPARE(open, left);
        QCOMPARE(m_prompter->asked().size(), asked);
    }

    // A hundred windows are one list: the first nine keyed by their number, no columns.
    void windowMenuOfAHundred()
    {
        for (int i = 0; i < 100; ++i) {
            auto* label = new QLabel;
            label->setWindowTitle(i == 0 ? QStringLiteral("Tom & Jerry") : QString::number(i + 1));
            window()->workspace()->addSubWindow(label)->show();
        }
        QMenu* menu = actions()->windowsMenu();
        emit menu->aboutToShow();
        const QList<QAction*> listed = actions()->windowListGroup()->actions();
        QCOMPARE(listed.size(), 101);
        QCOMPARE((QStringList{listed.at(1)->text(), listed.at(9)->text(), listed.at(10)->text()}),
                 (QStringList{"&1: Tom && Jerry", "&9: 9", "10: 10"}));
        QSet<int> columns;
        for (QAction* action : listed)
            columns.insert(menu->actionGeometry(action).x());
        QCOMPARE(columns.size(), 1);
    }

    // The File menu's recent entries open their file through the window's loadLast, which
    // finds the entry's position in its data; called by anything else it opens nothing.
    void recentEntryOpensThroughLoadLast()
    {
        Settings::instance()->general()->setLasts(paths({"a.png", "b.png"}));
        QMenu* fileMenu = actions()->fileMenu();
        emit fileMenu->aboutToShow();
        QAction* entry = fileMenu->actions().last();
        QCOMPARE(entry->data(), QVariant(1));
        entry->trigger();
        QTRY_COMPARE(shown(), QStringList{path("b.png")});
        QVERIFY(QMetaObject::invokeMethod(window(), "loadLast"));
        QCOMPARE(views().size(), 1);
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
        activate(1);
        m_host->fullScreen->trigger();
        const QPointer<SPicView> shown = window()->currentView();
        const QPointer<FullscreenPanel> panel = window()->fullscreenPanel();
        QVERIFY(shown->isFullScreenMode());
        QCOMPARE(panel->picView(), shown.data());

        shown->close();
        QVERIFY(!panel->picView() && !panel->parentWidget());
        QVERIFY(!m_host->fullScreen->isChecked());
        QCOMPARE(m_host->mainWindow.isVisible(), otherModified);
        QCOMPARE(views().size(), otherModified ? 1 : 0);
        QTRY_VERIFY(shown.isNull());
        QVERIFY2(panel, "the panel outlives the view");
    }

    // Switching views once dropped the link that keeps the bar on the view's current model.
    void thumbnailsBarFollowsViewBack()
    {
        QVERIFY(open({"a.png", "b.png"}));
        SPicView* first = views().first();
        activate(0);
        activate(1);
        QCOMPARE(window()->thumbnailsBar()->model(), views().last()->fileModel());
        activate(0);
        first->openList({path(QStringLiteral("a.png")), path(QStringLiteral("c.png"))});
        QCOMPARE(window()->thumbnailsBar()->model(), first->fileModel());
        QCOMPARE(window()->thumbnailsBar()->model()->rowCount(), 2);
    }

    // A thumbnail chosen while an adjustment dialog keeps the view on its picture: the bar goes
    // back to the view's row rather than showing the neighbour as current.
    void thumbnailsBarReturnsWhenAMoveIsRefused()
    {
        QVERIFY(open({"a.png"}));
        SPicView* view = views().first();
        ThumbnailsBar* bar = window()->thumbnailsBar();
        QTRY_VERIFY(bar->model() && bar->model()->rowCount() >= 3);
        const int row = view->currentRow();
        QCOMPARE(bar->currentIndex().row(), row);
        int shownWhileOpen = -1;
        ScriptedAdjustmentDialogs dialogs;
        dialogs.script.whileOpen = [&] {
            bar->setCurrentIndex(bar->model()->index(row == 0 ? 1 : 0, 0));
            shownWhileOpen = bar->currentIndex().row();
        };
        emit actions()->imageMenu()->aboutToShow();
        actions()->imageMenu()->actions().at(5)->trigger(); // "&Brightness-Contrast..."
        QCOMPARE(dialogs.opened().size(), 1);
        QCOMPARE(shownWhileOpen, row);
        QCOMPARE(view->currentRow(), row);
    }

    // A changed zoom setting applies to the pictures already shown once Ok is pressed.
    void zoomSettingAppliesAtOnce()
    {
        QVERIFY(open({"a.png"}));
        SPicView* view = views().first();
        view->zoomBy(1.45);
        QCOMPARE(view->currentZoomMode(), ZoomModel::manualMode);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* box = dialog->findChild<QComboBox*>(QStringLiteral("windowZoomComboBox"));
            box->setCurrentIndex(box->findData(ZoomModel::fitNoEnlargingMode));
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        window()->settingsDlg();
        QCOMPARE(view->currentZoomMode(), ZoomModel::fitNoEnlargingMode);
        QCOMPARE(view->scale(), 1.0); // a picture smaller than its window is not enlarged
    }

    // A shifted press reaches Qt on X11 as the key with Shift ("Shift+=") and as the symbol it
    // types without Shift ("+"); with two actions behind those Qt triggers neither.
    void eachKeyMeansOneAction()
    {
        const QString unshifted = QStringLiteral("`1234567890-=[]\\;',./");
        const QString shifted = QStringLiteral("~!@#$%^&*()_+{}|:\"<>?");
        QHash<int, QAction*> owners;
        const QList<QAction*> actions = m_host->mainWindow.findChildren<QAction*>()
                                        + m_host->actions.findChildren<QAction*>();
        for (QAction* action : actions)
            for (const QKeySequence& shortcut : action->shortcuts()) {
                QAction*& owner = owners[shortcut[0]];
                QVERIFY2(!owner || owner == action, qPrintable(shortcut.toString()));
                owner = action;
            }
        QVERIFY(owners.size() > 20);
        for (auto it = owners.cbegin(); it != owners.cend(); ++it) {
            const int modifiers = it.key() & int(Qt::KeyboardModifierMask);
            const int code = it.key() & ~int(Qt::KeyboardModifierMask);
            const QChar key = code < 0x80 ? QChar(code) : QChar();
            int twin = 0;
            if (modifiers & Qt::SHIFT && unshifted.contains(key))
                twin = (modifiers & ~Qt::SHIFT) | shifted.at(unshifted.indexOf(key)).unicode();
            else if (!(modifiers & Qt::SHIFT) && shifted.contains(key))
                twin = modifiers | Qt::SHIFT | unshifted.at(shifted.indexOf(key)).unicode();
            QAction* other = owners.value(twin);
            QVERIFY2(!other || other == it.value(),
                     qPrintable(QKeySequence(it.key()).toString() + QStringLiteral(" and ")
                                + QKeySequence(twin).toString()));
        }
    }

    void keyReachesItsStep_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("drag"); // the mouse pressed while the key is down
        QTest::addColumn<int>("row");
        QTest::newRow("Home to the first") << int(Qt::Key_Home) << 2 << false << 0;
        QTest::newRow("End to the last") << int(Qt::Key_End) << 0 << false << 2;
        QTest::newRow("Space one step on") << int(Qt::Key_Space) << 0 << false << 1;
        QTest::newRow("Space held for a drag stays") << int(Qt::Key_Space) << 0 << true << 0;
        QTest::newRow("PageDown one step on") << int(Qt::Key_PageDown) << 0 << false << 1;
        QTest::newRow("Backspace one step back") << int(Qt::Key_Backspace) << 2 << false << 1;
    }

    void keyReachesItsStep()
    {
        QFETCH(int, key);
        QFETCH(int, from);
        QFETCH(bool, drag);
        QFETCH(int, row);
        window()->newPVFromList(paths({"a.png", "b.png", "c.png"}));
        SPicView* view = window()->currentView();
        QVERIFY(view && waitForPicture(view));
        if (from == 2) {
            view->last();
            QVERIFY(waitForPicture(view));
        }
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        QTest::keyPress(view, Qt::Key(key));
        if (drag)
            drawSelection(view->pic(), QRect(1, 1, 4, 4));
        QTest::keyRelease(view, Qt::Key(key));
        // Space steps only once it is sure the key is not held.
        QTRY_COMPARE(view->currentRow(), row);
        QVERIFY(waitForPicture(view));
    }

    void quickEdit_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QRect>("selection");
        QTest::addColumn<QPoint>("from"); // a pixel of the 40 x 30 source
        QTest::addColumn<QPoint>("to");   // where the edit puts it
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("negative"); // the pixel comes out with its colours turned round
        const QRect none;
        const QPoint corner(0, 0);
        QTest::newRow("rotate left")
            << Kind::RotateLeft << none << corner << QPoint(0, 39) << QSize(30, 40) << false;
        QTest::newRow("crop keeps the marked rectangle") << Kind::CropToSelection
            << QRect(2, 1, 5, 3) << QPoint(2, 1) << corner << QSize(5, 3) << false;
        QTest::newRow("invert colours")
            << Kind::InvertColours << none << QPoint(5, 3) << QPoint(5, 3) << QSize(40, 30) << true;
    }

    // Each edit is one step of the history: undo brings back the file's pixels.
    void quickEdit()
    {
        QFETCH(Kind, kind);
        QFETCH(QRect, selection);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QSize, size);
        QFETCH(bool, negative);
        QVERIFY(open({"a.png"}));
        SPicView* view = window()->currentView();
        QVERIFY(view && waitForPicture(view));
        const QImage source = view->image();
        QAction* action = actions()->quickEdit(kind);
        if (!selection.isNull()) {
            drawSelection(view->pic(), selection);
            QCOMPARE(view->pic()->selection(), selection);
            QVERIFY(action->isEnabled());
        }
        QSignalSpy imageInfo(view, &SPicView::imageInfoChanged);
        action->trigger();
        QCOMPARE(view->image().size(), size);
        // The view follows the edit: the status tells the new size.
        QVERIFY(!imageInfo.isEmpty()
                && imageInfo.last().at(0).toString().startsWith(
                    QStringLiteral("%1 X %2").arg(size.width()).arg(size.height())));
        const QRgb was = source.pixel(from);
        QCOMPARE(view->image().pixel(to),
                 negative ? qRgba(255 - qRed(was), 255 - qGreen(was), 255 - qBlue(was), qAlpha(was))
                          : was);
        QVERIFY(!view->pic()->hasSelection());
        QVERIFY(!actions()->quickEdit(Kind::CropToSelection)->isEnabled());
        QVERIFY(actions()->edit(ImageWindowActions::Edit::Undo)->isEnabled());

        actions()->edit(ImageWindowActions::Edit::Undo)->trigger();
        QCOMPARE(view->image(), source);
    }

    void pasteAsNew_data()
    {
        QTest::addColumn<bool>("pictureOpen");
        QTest::newRow("no picture open") << false;
        QTest::newRow("beside a picture") << true;
    }

    void pasteAsNew()
    {
        QFETCH(bool, pictureOpen);
        QVERIFY(!pictureOpen || open({"a.png"}));
        const QImage pasted = lumotest::rampImage(QSize(9, 5));
        QApplication::clipboard()->setImage(pasted);
        QAction* action = actions()->pasteAsNew();
        QTRY_VERIFY(action->isEnabled());
        action->trigger();
        QCOMPARE(views().size(), pictureOpen ? 2 : 1);
        SPicView* view = window()->currentView();
        QVERIFY(view && waitForPicture(view));
        QCOMPARE(view->image().convertToFormat(pasted.format()), pasted);
        QVERIFY(view->isModified());
        QVERIFY(view->filePath().isEmpty());
    }

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QStringList paths(QStringList names) const
    {
        for (QString& name : names)
            name = path(name);
        return names;
    }

    // Opens the files and waits until each picture knows its place in its directory.
    bool open(const QStringList& names)
    {
        window()->openFileList(paths(names));
        return QTest::qWaitFor([this] { return !shown().contains(QString()); });
    }

    // "blank": a new picture made by the New dialog; "handed-in": one made in memory; else a file.
    bool add(const QString& picture)
    {
        if (picture == "handed-in") {
            window()->newPVFromImage(lumotest::rampImage(QSize(16, 12)));
        } else if (picture == "blank") {
            acceptNextDialog();
            window()->newDlg();
        } else {
            return open({picture});
        }
        return true;
    }

    QList<SPicView*> views() const
    {
        QList<SPicView*> result;
        for (QMdiSubWindow* window : window()->workspace()->subWindowList(QMdiArea::CreationOrder))
            result << qobject_cast<SPicView*>(window->widget());
        return result;
    }

    QStringList shown() const
    {
        QStringList result;
        for (SPicView* view : views())
            result << view->filePath();
        return result;
    }

    QMdiSubWindow* subWindow(int index) const
    {
        return window()->workspace()->subWindowList(QMdiArea::CreationOrder).value(index);
    }
    void activate(int index) { window()->workspace()->setActiveSubWindow(subWindow(index)); }

    // Runs an adjustment dialog from the Image menu, changes the picture with it and accepts.
    void modify(SPicView* view)
    {
        activate(views().indexOf(view));
        emit actions()->imageMenu()->aboutToShow();
        const ScriptedAdjustmentDialogs dialogs;
        // "&Brightness-Contrast..."
        actions()->imageMenu()->actions().at(5)->trigger();
        QCOMPARE(dialogs.opened(),
                 QList<AdjustmentDialogs::Kind>{AdjustmentDialogs::Kind::BrightnessContrast});
    }

    ImagesCentralWidget* window() const { return m_host->window; }
    ImageWindowActions* actions() const { return window()->windowActions(); }
    bool enabled(Index index) const { return m_host->action(index)->isEnabled(); }

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ImageWindowHost> m_host;
};

LUMO_TEST_MAIN(TestImagesCentralWidget)
#include "tst_imagescentralwidget.moc"
