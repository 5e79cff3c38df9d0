#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/pictureloading.h"
#include "support/scriptedprompter.h"

#include "settings/settings.h"
#include "view/fileentries.h"
#include "view/goactions.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QAbstractItemModel>
#include <QAction>

namespace {

const QStringList threeNames{"a.png", "b.png", "c.png"};

// Opens one of three pictures of a fresh folder that also holds two sub-folders, and waits
// until the directory listing has arrived.
bool openInFolder(PictureFixture& pic, QTemporaryDir& folder, int index)
{
    makeEntries(folder.path(), QStringList{"sub1/", "sub2/"} + threeNames);
    SPicView* view = pic.view();
    view->openFile(folder.filePath(threeNames.at(index)));
    if (!waitForPicture(view))
        return false;
    return QTest::qWaitFor(
        [&] { return view->fileModel()->rowCount() == 3 && view->currentRow() == index; });
}

QStringList enabledNames(const GoActions& actions)
{
    const QStringList names{"start", "stop", "first", "last", "next", "previous"};
    QStringList enabled;
    for (int i = 0; i < names.size(); ++i)
        if (actions.actions().at(i)->isEnabled())
            enabled << names.at(i);
    return enabled;
}

} // namespace

// Moving through a directory's pictures, the browse text, the slideshow and the go actions.
class TestPictureNavigation : public QObject
{
    Q_OBJECT

private slots:
    // From the middle of three pictures; the go actions follow the view as the image window's do.
    void slideshowAtTheEnd_data()
    {
        QTest::addColumn<bool>("loop");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QStringList>("enabled");
        QTest::newRow("no loop: stops on the last")
            << false << QStringList{"start", "tick"} << 2 << false
            << QStringList{"first", "previous"};
        QTest::newRow("loop: round past the last")
            << true << QStringList{"start", "tick", "tick"} << 0 << true
            << QStringList{"stop", "last", "next"};
        QTest::newRow("loop: stepped onto the last by hand, still stoppable")
            << true << QStringList{"start", "next"} << 2 << true
            << QStringList{"stop", "first", "previous"};
        QTest::newRow("loop switched on by its action at the last, a show can start")
            << false << QStringList{"last", "loop action"} << 2 << false
            << QStringList{"start", "first", "previous"};
        QTest::newRow("loop switched on in the settings at the last, a show can start")
            << false << QStringList{"last", "loop stored"} << 2 << false
            << QStringList{"start", "first", "previous"};
    }
    void slideshowAtTheEnd()
    {
        QFETCH(bool, loop);
        QFETCH(QStringList, steps);
        QFETCH(int, row);
        QFETCH(bool, running);
        QFETCH(QStringList, enabled);
        PictureFixture pic;
        SPicView* view = pic.view();
        QSignalSpy browse(view, &SPicView::browseInfoChanged);
        QTemporaryDir folder;
        QVERIFY(openInFolder(pic, folder, 1));
        QTRY_COMPARE(browse.last().at(0).toString(), QStringLiteral("2 / 3"));
        Settings::instance()->imagesCentralWidget()->setSlideLoop(loop);
        GoActions actions;
        actions.setPicView(view);
        QCOMPARE(actions.loopAction()->isChecked(), loop);
        for (const QString& step : steps) {
            if (step == "start")
                actions.startAction()->trigger();
            else if (step == "tick")
                view->timerTimeout();
            else if (step == "next")
                actions.nextAction()->trigger();
            else if (step == "last")
                actions.lastAction()->trigger();
            else if (step == "loop action")
                actions.loopAction()->trigger();
            else if (step == "loop stored")
                Settings::instance()->imagesCentralWidget()->setSlideLoop(true);
            QVERIFY(waitForPicture(view));
        }
        QCOMPARE((QVariantList{view->currentRow(), view->slideshowRunning()}),
                 (QVariantList{row, running}));
        QCOMPARE(enabledNames(actions), enabled);
        // The action and the store agree whichever side changed.
        QCOMPARE(actions.loopAction()->isChecked(),
                 Settings::instance()->imagesCentralWidget()->slideLoop());
        view->stopSlideshow();
    }

    void goActionsForgetAClosedView()
    {
        GoActions actions;
        auto view = std::make_unique<SPicView>(5);
        actions.setPicView(view.get());
        view->startSlideshow();
        QCOMPARE(enabledNames(actions), QStringList{"stop"});
        view.reset();
        actions.updateActions();
        QCOMPARE(enabledNames(actions), QStringList{});
    }

    // A question about the edits pauses a slideshow; Cancel ends it.
    void choosingRowWhileModified_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("row");
        QTest::newRow("the shown row again: nothing") << 1 << int(QMessageBox::Discard) << 0 << 1;
        QTest::newRow("another row asks first") << 2 << int(QMessageBox::Discard) << 1 << 2;
        QTest::newRow("cancel stays") << 2 << int(QMessageBox::Cancel) << 1 << 1;
    }
    void choosingRowWhileModified()
    {
        QFETCH(int, chosen);
        QFETCH(int, answer);
        QFETCH(int, questions);
        QFETCH(int, row);
        PictureFixture pic;
        SPicView* view = pic.view();
        QTemporaryDir folder;
        QVERIFY(openInFolder(pic, folder, 1));
        QVERIFY(pic.runAdjustment(true));
        view->startSlideshow();
        ScriptedPrompter prompter;
        prompter.answer(QMessageBox::StandardButton(answer));
        QSignalSpy stopped(view, &SPicView::slideshow_stopped);
        view->setCurrentIndex(view->fileModel()->index(chosen, 0));
        QCOMPARE(prompter.asked().size(), questions);
        QCOMPARE(view->currentRow(), row);
        QCOMPARE(view->isModified(), row == 1);
        QCOMPARE(stopped.count(), questions);
        QCOMPARE(view->slideshowRunning(), answer != QMessageBox::Cancel);
    }
};

LUMO_TEST_MAIN(TestPictureNavigation)
#include "tst_picturenavigation.moc"
