#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedprompter.h"

#include "view/spic.h"
#include "view/spicview.h"

#include <QAbstractItemModel>
#include <QDir>

// Moving through a directory's pictures, the browse text and the slideshow.
class TestPictureNavigation : public QObject
{
    Q_OBJECT

private slots:
    void browseText_data();
    void browseText();
    void moves_data();
    void moves();
    void choosingRowWhileModified_data();
    void choosingRowWhileModified();
    void questionPausesSlideshow_data();
    void questionPausesSlideshow();
};

namespace {

// Opens one of the pictures of a fresh folder holding two sub-folders and the given images,
// and waits until the directory listing has arrived.
bool openInFolder(PictureFixture& pic, QTemporaryDir& folder, const QStringList& names, int index)
{
    QDir().mkpath(folder.filePath(QStringLiteral("sub1")));
    QDir().mkpath(folder.filePath(QStringLiteral("sub2")));
    for (const QString& name : names)
        PictureFixture::writePicture(folder.filePath(name), QSize(20, 10));
    SPicView* view = pic.view();
    if (!view->openFile(folder.filePath(names.at(index))))
        return false;
    return QTest::qWaitFor([&] {
        return view->fileModel()->rowCount() == names.size() && view->currentRow() == index;
    });
}

const QStringList threeNames{"a.png", "b.png", "c.png"};

} // namespace

void TestPictureNavigation::browseText_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("middle of three") << threeNames << 1 << "2 / 3";
    QTest::newRow("only picture") << QStringList{"only.png"} << 0 << "";
}

void TestPictureNavigation::browseText()
{
    QFETCH(QStringList, names);
    QFETCH(int, index);
    QFETCH(QString, text);
    PictureFixture pic;
    QSignalSpy browse(pic.view(), &SPicView::browseInfoChanged);
    QTemporaryDir folder;
    QVERIFY(openInFolder(pic, folder, names, index));
    QTRY_COMPARE(browse.last().at(0).toString(), text);
}

void TestPictureNavigation::moves_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("firsts");
    QTest::addColumn<int>("ends");
    QTest::newRow("next on the last reads it again") << 2 << "next" << 2 << 0 << 1;
    QTest::newRow("previous on the first reads it again") << 0 << "previous" << 0 << 1 << 0;
    QTest::newRow("next from the middle") << 1 << "next" << 2 << 0 << 1;
    QTest::newRow("previous from the middle") << 1 << "previous" << 0 << 1 << 0;
    QTest::newRow("first") << 2 << "first" << 0 << 1 << 0;
    QTest::newRow("last") << 0 << "last" << 2 << 0 << 1;
    QTest::newRow("index in the middle") << 0 << "index 1" << 1 << 0 << 0;
    QTest::newRow("slideshow from the next-to-last stops at the end") << 1 << "tick" << 2 << 0 << 1;
    QTest::newRow("slideshow on the last stops there") << 2 << "tick" << 2 << 0 << 1;
}

void TestPictureNavigation::moves()
{
    QFETCH(int, start);
    QFETCH(QString, move);
    QFETCH(int, row);
    QFETCH(int, firsts);
    QFETCH(int, ends);
    PictureFixture pic;
    QTemporaryDir folder;
    QVERIFY(openInFolder(pic, folder, threeNames, start));
    SPicView* view = pic.view();
    // Paint over the picture without history: only a new read brings the file's pixels back.
    view->pic()->image().fill(Qt::red);
    QSignalSpy atFirst(view, &SPicView::atTheFirst);
    QSignalSpy atEnd(view, &SPicView::atTheEnd);
    QSignalSpy both(view, &SPicView::hasNext);
    if (move == QLatin1String("next"))
        view->next();
    else if (move == QLatin1String("previous"))
        view->previous();
    else if (move == QLatin1String("first"))
        view->first();
    else if (move == QLatin1String("last"))
        view->last();
    else if (move == QLatin1String("index 1"))
        view->setCurrentIndex(view->fileModel()->index(1, 0));
    if (move == QLatin1String("tick")) {
        QSignalSpy started(view, &SPicView::slideshow_started);
        view->startSlideshow();
        QVERIFY(view->slideshowRunning());
        QCOMPARE(started.count(), 1);
        view->timerTimeout();
    }
    QVERIFY(!view->slideshowRunning());
    QCOMPARE(view->currentRow(), row);
    QCOMPARE(view->fileName(), threeNames.at(row));
    QVERIFY(view->image().pixel(0, 0) != qRgb(255, 0, 0));
    QCOMPARE(atFirst.count(), firsts);
    QCOMPARE(atEnd.count(), ends);
    QCOMPARE(both.count(), firsts + ends == 0 ? 1 : 0);
}

void TestPictureNavigation::choosingRowWhileModified_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("row");
    QTest::newRow("the shown row again: nothing") << 1 << 0 << 1;
    QTest::newRow("another row asks first") << 2 << 1 << 2;
}

void TestPictureNavigation::choosingRowWhileModified()
{
    QFETCH(int, chosen);
    QFETCH(int, questions);
    QFETCH(int, row);
    PictureFixture pic;
    QTemporaryDir folder;
    QVERIFY(openInFolder(pic, folder, threeNames, 1));
    QVERIFY(pic.runAdjustment(true));
    ScriptedPrompter prompter;
    prompter.answer(QMessageBox::No);
    pic.view()->setCurrentIndex(pic.view()->fileModel()->index(chosen, 0));
    QCOMPARE(prompter.asked().size(), questions);
    QCOMPARE(pic.view()->currentRow(), row);
    QCOMPARE(pic.view()->isModified(), questions == 0);
}

void TestPictureNavigation::questionPausesSlideshow_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("may");
    QTest::addColumn<bool>("runsAfter");
    QTest::newRow("yes resumes") << int(QMessageBox::Yes) << true << true;
    QTest::newRow("no resumes") << int(QMessageBox::No) << true << true;
    QTest::newRow("cancel stays stopped") << int(QMessageBox::Cancel) << false << false;
}

void TestPictureNavigation::questionPausesSlideshow()
{
    QFETCH(int, answer);
    QFETCH(bool, may);
    QFETCH(bool, runsAfter);
    PictureFixture pic;
    SPicView* view = pic.view();
    QVERIFY(pic.runAdjustment(true));
    view->startSlideshow();
    ScriptedPrompter prompter;
    prompter.answer(QMessageBox::StandardButton(answer));
    QSignalSpy stopped(view, &SPicView::slideshow_stopped);
    QSignalSpy started(view, &SPicView::slideshow_started);
    QCOMPARE(view->confirmClose(), may);
    QCOMPARE(prompter.asked().size(), 1);
    QCOMPARE(stopped.count(), 1);
    QCOMPARE(started.count(), runsAfter ? 1 : 0);
    QCOMPARE(view->slideshowRunning(), runsAfter);
}

LUMO_TEST_MAIN(TestPictureNavigation)
#include "tst_picturenavigation.moc"
