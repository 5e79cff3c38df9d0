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
    // The actions drive the view and follow it by themselves; their loop choice is the stored one.
    void goActionsDriveAndFollowTheView()
    {
        PictureFixture pic;
        SPicView* view = pic.view();
        QSignalSpy browse(view, &SPicView::browseInfoChanged);
        QTemporaryDir folder;
        QVERIFY(openInFolder(pic, folder, 1));
        QTRY_COMPARE(browse.last().at(0).toString(), QStringLiteral("2 / 3"));
        GoActions actions;
        actions.setPicView(view);
        actions.startAction()->trigger();
        view->timerTimeout();
        QVERIFY(waitForPicture(view));
        // A show from the next-to-last picture stops on the last, where Next stays off.
        QCOMPARE((QVariantList{view->currentRow(), view->slideshowRunning()}),
                 (QVariantList{2, false}));
        QCOMPARE(enabledNames(actions), (QStringList{"first", "previous"}));
        actions.loopAction()->trigger();
        QVERIFY(Settings::instance()->imagesCentralWidget()->slideLoop());
        QCOMPARE(enabledNames(actions), (QStringList{"start", "first", "previous"}));
        Settings::instance()->imagesCentralWidget()->setSlideLoop(false);
        QVERIFY(!actions.loopAction()->isChecked());
        actions.firstAction()->trigger();
        QVERIFY(waitForPicture(view));
        QCOMPARE(enabledNames(actions), (QStringList{"start", "last", "next"}));
        // A view closed is forgotten, not acted on.
        delete view;
        actions.updateActions();
        QCOMPARE(enabledNames(actions), QStringList{});
    }

    // The folder's current file follows the moves: a file appearing before the one shown keeps
    // the row on the file shown.
    void rowStaysOnTheFileShown()
    {
        PictureFixture pic;
        SPicView* view = pic.view();
        QTemporaryDir folder;
        QVERIFY(openInFolder(pic, folder, 0));
        view->next();
        QVERIFY(waitForPicture(view));
        QVERIFY(lumotest::writePicture(folder.filePath("0.png"), QSize(8, 8)));
        QTRY_COMPARE_WITH_TIMEOUT(view->fileModel()->rowCount(), 4, 20000);
        QCOMPARE(view->currentRow(), 2);
        QCOMPARE(view->filePath(), folder.filePath("b.png"));
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
