#include "support/animatedgif.h"
#include "support/lumotest.h"

#include "document/edithistory.h"
#include "document/picture.h"
#include "document/pictureanimation.h"
#include "document/pictureedits.h"

#include <QFile>
#include <QPointer>
#include <QTemporaryDir>

namespace {

// The frame an image is, told by its colour; -1 for none of the file's.
int frameOf(const QImage& image)
{
    for (int frame = 0; frame < 4; ++frame) {
        if (image.pixelColor(0, 0) == animatedgif::frameColour(frame))
            return frame;
    }
    return -1;
}

// An animation of a file, stepped by hand: the first frame as the picture read it.
struct Stepped
{
    explicit Stepped(const QString& path)
        : animation(path, QImage(path), QImage())
    {
        animation.setTimerEnabled(false);
    }
    // Steps once the next frame is decoded; false when playing ended instead.
    bool step()
    {
        QSignalSpy shown(&animation, &PictureAnimation::frameShown);
        animation.tick();
        const bool settled = QTest::qWaitFor(
            [this, &shown] {
                return !shown.isEmpty() || !animation.isWaitingForFrame() || !animation.isPlaying();
            },
            10000);
        return settled && !shown.isEmpty();
    }
    PictureAnimation animation;
};

} // namespace

// An animated file plays at its own delays as often as it says, holds while asked to, keeps
// few frames of a long one, and a broken one ends on its last good frame.
class TestPictureAnimation : public QObject
{
    Q_OBJECT

private slots:
    void framesAndDelaysRead_data() { lumotest::addRows(QStringLiteral("animationdelays.txt")); }
    void framesAndDelaysRead()
    {
        QFETCH(QVector<int>, stored);
        QFETCH(int, loops);
        QFETCH(QVector<int>, shown);
        QFETCH(int, loopCount);
        QFETCH(QVector<int>, frames);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.gif"));
        QVERIFY(animatedgif::write(path, QSize(4, 4), stored, loops));
        Stepped stepped(path);
        QSignalSpy shownFrames(&stepped.animation, &PictureAnimation::frameShown);
        QSignalSpy finished(&stepped.animation, &PictureAnimation::finished);
        stepped.animation.start();
        QTRY_COMPARE(stepped.animation.frameCount(), stored.size());
        QCOMPARE(stepped.animation.loopCount(), loopCount);
        if (frames.isEmpty()) {
            for (int i = 1; i < stored.size(); ++i)
                QVERIFY(stepped.step());
        } else {
            while (stepped.step())
                QVERIFY(shownFrames.size() <= frames.size());
            QVector<int> seen;
            for (const QList<QVariant>& args : qAsConst(shownFrames))
                seen.append(frameOf(args.at(0).value<QImage>()));
            QCOMPARE(seen, frames);
            QCOMPARE(finished.size(), 1);
            QVERIFY(!stepped.animation.isPlaying());
            // The last frame stays.
            QCOMPARE(stepped.animation.currentFrame(), frames.last());
        }
        for (int i = 0; i < stored.size(); ++i)
            QCOMPARE(stepped.animation.delay(i), shown.at(i));
    }

    // Its own timer moves it, at the delays of the file.
    void timerPlays()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.gif"));
        QVERIFY(animatedgif::write(path, QSize(4, 4), {2, 2, 2}, 0));
        PictureAnimation animation(path, QImage(path), QImage());
        QSignalSpy shown(&animation, &PictureAnimation::frameShown);
        animation.start();
        QTRY_VERIFY_WITH_TIMEOUT(shown.size() >= 4, 10000);
        QCOMPARE(frameOf(shown.at(2).at(0).value<QImage>()), 0);
    }

    void holdKeepsTheFrame()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.gif"));
        QVERIFY(animatedgif::write(path, QSize(4, 4), {5, 5, 5}, 0));
        Stepped stepped(path);
        bool held = false;
        stepped.animation.setHold([&held] { return held; });
        stepped.animation.start();
        QVERIFY(stepped.step());
        held = true;
        QVERIFY(!stepped.step());
        QVERIFY(stepped.animation.isPlaying());
        QCOMPARE(stepped.animation.currentFrame(), 1);
        held = false;
        QVERIFY(stepped.step());
        QCOMPARE(stepped.animation.currentFrame(), 2);
    }

    // A long animation keeps only the frame shown and the next one; a short one keeps all.
    void framesKeptWithinBudget_data()
    {
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<int>("mostKept");
        const qint64 frameBytes = 64 * 64 * 4;
        QTest::newRow("all fit") << 12 * frameBytes << 12;
        QTest::newRow("over budget") << 11 * frameBytes << 2;
    }
    void framesKeptWithinBudget()
    {
        QFETCH(qint64, budget);
        QFETCH(int, mostKept);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.gif"));
        QVERIFY(animatedgif::write(path, QSize(64, 64), QVector<int>(12, 5), 0));
        Stepped stepped(path);
        QCOMPARE(stepped.animation.cachedFrames(), 1);
        stepped.animation.setBudget(budget);
        stepped.animation.start();
        int most = 0;
        for (int i = 0; i < 14; ++i) {
            QVERIFY(stepped.step());
            QTRY_VERIFY(!stepped.animation.isDecoding());
            most = std::max(most, stepped.animation.cachedFrames());
        }
        QCOMPARE(most, mostKept);
        QCOMPARE(stepped.animation.currentFrame(), 2);
    }

    // A file cut short plays the frames that are whole.
    void cutFilePlaysWholeFrames()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cut.gif"));
        QByteArray content = animatedgif::build(QSize(4, 4), {5, 5, 5, 5}, 0);
        content.truncate(animatedgif::build(QSize(4, 4), {5, 5}, 0).size() + 14);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        Stepped stepped(path);
        stepped.animation.start();
        QVector<int> seen;
        for (int i = 0; i < 4; ++i) {
            QVERIFY(stepped.step());
            seen.append(stepped.animation.currentFrame());
        }
        QCOMPARE(seen, (QVector<int>{1, 0, 1, 0}));
        QCOMPARE(stepped.animation.frameCount(), 2);
    }

    // Read again from the start (too long to keep), the file is no picture any more: playing
    // ends on the last frame that was read.
    void spoiltFileEndsOnLastGoodFrame_data()
    {
        QTest::addColumn<QByteArray>("spoilt");
        QTest::newRow("garbage") << QByteArray("no picture at all");
        QTest::newRow("emptied") << QByteArray();
    }
    void spoiltFileEndsOnLastGoodFrame()
    {
        QFETCH(QByteArray, spoilt);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.gif"));
        QVERIFY(animatedgif::write(path, QSize(4, 4), {5, 5, 5}, 0));
        Stepped stepped(path);
        stepped.animation.setBudget(0);
        QSignalSpy finished(&stepped.animation, &PictureAnimation::finished);
        stepped.animation.start();
        QVERIFY(stepped.step());
        QTRY_VERIFY(!stepped.animation.isDecoding());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(spoilt) == spoilt.size());
        file.close();
        QVERIFY(stepped.step());
        QVERIFY(!stepped.step());
        QCOMPARE(finished.size(), 1);
        QCOMPARE(stepped.animation.currentFrame(), 2);
        QCOMPARE(stepped.animation.cachedFrames(), 1);
    }

    // The picture plays its file's frames; an edit acts on the frame shown and holds it, and
    // once kept (or applied, and even undone) the picture stays that frame. The next file lets
    // go of the frames.
    void pictureEditHoldsShownFrame_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("stops");
        QTest::newRow("kept adjustment stops it") << "keep" << true;
        QTest::newRow("dropped adjustment lets it play on") << "rollback" << false;
        QTest::newRow("an applied edit stops it, undone too") << "apply" << true;
    }
    void pictureEditHoldsShownFrame()
    {
        QFETCH(QString, edit);
        QFETCH(bool, stops);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.gif"));
        QVERIFY(animatedgif::write(path, QSize(4, 4), {2, 2, 2}, 0));
        Picture picture;
        QSignalSpy loaded(&picture, &Picture::loaded);
        picture.load(path);
        QVERIFY(loaded.wait(10000));
        QVERIFY(picture.isAnimated());
        QTRY_VERIFY_WITH_TIMEOUT(frameOf(picture.image()) == 2, 10000);
        EditHistory history;
        PictureEdits edits(&picture, &history);
        QSignalSpy changed(&picture, &Picture::imageChanged);
        if (edit == QLatin1String("apply")) {
            QVERIFY(edits.apply(
                [](QImage image) {
                    image.invertPixels();
                    return image;
                },
                10));
            QCOMPARE(frameOf(history.newestBackup()), 2);
            QVERIFY(edits.undo());
            QCOMPARE(frameOf(picture.image()), 2);
            changed.clear();
        } else {
            edits.backUp();
            QVERIFY(!changed.wait(200));
            QCOMPARE(frameOf(history.newestBackup()), 2);
            if (stops)
                edits.keep(10);
            else
                QVERIFY(edits.rollback());
        }
        QCOMPARE(picture.animation()->isPlaying(), !stops);
        QCOMPARE(changed.wait(200), !stops);
        QVERIFY(picture.isAnimated());

        const QPointer<PictureAnimation> animation = picture.animation();
        const QString still = dir.filePath(QStringLiteral("still.gif"));
        QVERIFY(animatedgif::write(still, QSize(4, 4), {5}, 0));
        picture.load(still);
        QVERIFY(loaded.wait(10000));
        QTRY_VERIFY(animation.isNull());
        QTRY_VERIFY(!picture.isAnimated());
    }
};

LUMO_TEST_MAIN(TestPictureAnimation)
#include "tst_pictureanimation.moc"
