#include "support/animatedgif.h"
#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/pictureloading.h"
#include "support/scriptedprompter.h"

#include "document/picture.h"
#include "document/pictureanimation.h"
#include "view/spicview.h"
#include "view/writequestions.h"

#include <QDialog>

namespace {

// Opens a three-frame animation in the fixture's view, stepped by changesFrame() alone once the
// first frame's delay is known.
bool openAnimation(PictureFixture& pic)
{
    const QString path = pic.path(QStringLiteral("a.gif"));
    if (!animatedgif::write(path, QSize(8, 8), {5, 5, 5}, 0))
        return false;
    pic.view()->openFile(path);
    if (!waitForPicture(pic.view()) || !pic.view()->picture()->isAnimated())
        return false;
    PictureAnimation* animation = pic.view()->picture()->animation();
    animation->setTimerEnabled(false);
    return QTest::qWaitFor([animation] { return animation->delay(0) >= 0; }, 10000);
}

// Whether the picture moves to another frame when the shown one's time is up.
bool changesFrame(SPicView* view)
{
    PictureAnimation* animation = view->picture()->animation();
    if (!animation)
        return false;
    QSignalSpy changed(view->picture(), &Picture::imageChanged);
    animation->tick();
    const bool settled = QTest::qWaitFor(
        [&] { return !changed.isEmpty() || !animation->isWaitingForFrame(); }, 10000);
    return settled && !changed.isEmpty();
}

} // namespace

// In the picture view an animation waits for a dialog, and saving it says once that only the
// frame shown is written. What an edit does to the frames is tst_pictureanimation's.
class TestSPicViewAnimation : public QObject
{
    Q_OBJECT

private slots:
    void dialogHoldsTheFrame_data()
    {
        QTest::addColumn<bool>("modal");
        QTest::newRow("modal dialog holds it") << true;
        QTest::newRow("modeless window does not") << false;
    }
    void dialogHoldsTheFrame()
    {
        QFETCH(bool, modal);
        PictureFixture pic;
        QVERIFY(openAnimation(pic));
        QVERIFY(changesFrame(pic.view()));
        QDialog dialog(pic.view());
        dialog.setModal(modal);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(changesFrame(pic.view()), !modal);
        dialog.close();
        QVERIFY(changesFrame(pic.view()));
    }

    // Qt writes no GIF: saving an animation as another format says once a picture that only the
    // frame shown is written, and that frame is what is shown next.
    void saveWritesFrameShown_data()
    {
        QTest::addColumn<bool>("animated");
        QTest::addColumn<int>("told");
        QTest::newRow("animation") << true << 1;
        QTest::newRow("still picture") << false << 0;
    }
    void saveWritesFrameShown()
    {
        QFETCH(bool, animated);
        QFETCH(int, told);
        PictureFixture pic;
        if (animated)
            QVERIFY(openAnimation(pic));
        QVERIFY(pic.runAdjustment(true));
        const QImage edited = pic.view()->image().convertToFormat(QImage::Format_RGB32);
        ScriptedPrompter prompter;
        prompter.setFallback(QMessageBox::Ok);
        const QString png = QStringLiteral("png");
        const QString copy = pic.path(QStringLiteral("copy.png"));
        WriteQuestions saver(pic.view()->picture(), pic.view());
        QVERIFY(saver.writeFile(copy, png, pic.view()->filePath()));
        const QString path = pic.path(QStringLiteral("frame.png"));
        QVERIFY(pic.view()->write(path, png));
        QCOMPARE(prompter.asked().size(), told);
        QCOMPARE(QImage(copy).convertToFormat(QImage::Format_RGB32), edited);
        QVERIFY(waitForPicture(pic.view()));
        // The folder may list the new file a moment after it is read.
        QTRY_COMPARE(pic.view()->filePath(), path);
        QTRY_VERIFY(!pic.view()->picture()->isAnimated());
        QCOMPARE(pic.view()->image().convertToFormat(QImage::Format_RGB32), edited);
    }
};

LUMO_TEST_MAIN(TestSPicViewAnimation)
#include "tst_spicviewanimation.moc"
