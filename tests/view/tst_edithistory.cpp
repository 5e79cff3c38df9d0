#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/pictureloading.h"
#include "support/scriptedadjustmentdialogs.h"
#include "support/scriptedprompter.h"

#include "document/picture.h"
#include "document/picturestatus.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QClipboard>
#include <QFile>
#include <QSlider>

#include <functional>
#include <map>

// Undo, redo, cut, the protocol every adjustment dialog runs under, and the dialog slots.
class TestEditHistory : public QObject
{
    Q_OBJECT

private slots:
    // What the kept edits do to the picture is the document's test; here, that a step with
    // nothing to act on is said and changes nothing.
    void nothingToActOnIsSaid_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("said");
        QTest::newRow("undo") << "undo"
                              << "Undo: No backups available, discontinued.";
        QTest::newRow("paste without a picture")
            << "showInsertDialog"
            << "Paste: No usable clipboard content, aborted.";
    }
    void nothingToActOnIsSaid()
    {
        QFETCH(QString, step);
        QFETCH(QString, said);
        QApplication::clipboard()->setText(QStringLiteral("not a picture"));
        PictureFixture fixture;
        SPicView* view = fixture.view();
        const QImage before = view->image();
        QSignalSpy messages(view, &SPicView::message);
        const std::map<QString, std::function<void()>> steps{
            {"undo", [view] { view->undo(); }},
            {"showInsertDialog", [view] { view->showInsertDialog(); }}};
        steps.at(step)();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.first().at(0).toString(), said);
        QCOMPARE(view->image(), before);
        QCOMPARE(view->undoCount(), 0);
    }

    void cutBlackens_data()
    {
        QTest::addColumn<QImage>("image");
        const QImage ramp = lumotest::rampImage(QSize(12, 10));
        QTest::newRow("true colour") << ramp;
        QVector<QRgb> full;
        for (int i = 0; i < 256; ++i)
            full << qRgb(255, i, 255 - i);
        QTest::newRow("indexed, full without black")
            << ramp.convertToFormat(QImage::Format_Indexed8, full);
        QImage mono = ramp.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
        mono.setColorTable({qRgb(255, 255, 255), qRgb(90, 90, 255)});
        QTest::newRow("mono without black") << mono;
    }
    void cutBlackens()
    {
        QFETCH(QImage, image);
        PictureFixture pic;
        SPicView* view = pic.view();
        view->setImage(image);
        const QRect area(3, 2, 7, 5);
        pic.select(area);
        view->cut();
        const QImage cut = view->image();
        for (int y = 0; y < cut.height(); ++y)
            for (int x = 0; x < cut.width(); ++x)
                QCOMPARE(cut.pixel(x, y), area.contains(x, y) ? qRgb(0, 0, 0) : image.pixel(x, y));
        QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 image.copy(area).convertToFormat(QImage::Format_RGB32));
        QCOMPARE(view->pic()->selection(), area);
    }

    // Cancel gives back exactly the picture that was there, whatever the dialog showed; a
    // preview is no change, so the picture is never marked as one while the dialog is open.
    void dialogCancelRestoresPicture_data()
    {
        // Rows are named after the view's slot.
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("clearsSelection");
        QTest::addColumn<bool>("refreshesStatus");
        using Kind = AdjustmentDialogs::Kind;
        QTest::newRow("showRotateDialog") << int(Kind::Rotate) << true << true;
        QTest::newRow("showRGBAdjustDialog") << int(Kind::ColorBalance) << false << false;
        QTest::newRow("showDepthConversionDialog") << int(Kind::Depth) << false << true;
        QTest::newRow("showResizeDialog") << int(Kind::Resize) << true << true;
        QTest::newRow("showInsertDialog") << int(Kind::Insert) << true << true;
    }
    void dialogCancelRestoresPicture()
    {
        QFETCH(int, kind);
        QFETCH(bool, clearsSelection);
        QFETCH(bool, refreshesStatus);
        QApplication::clipboard()->setImage(lumotest::rampImage(QSize(30, 20)).mirrored());
        PictureFixture fixture;
        SPicView* view = fixture.view();
        fixture.select(QRect(2, 2, 10, 10));
        const QImage before = view->image();
        QSignalSpy fileInfo(view, &SPicView::fileInfoChanged);
        QSignalSpy imageInfo(view, &SPicView::imageInfoChanged);
        ScriptedAdjustmentDialogs dialogs;
        dialogs.script.accept = false;
        bool open = false;
        dialogs.script.whileOpen = [&] {
            open = true;
            QCOMPARE(view->pic()->hasSelection(), !clearsSelection);
            QCOMPARE(view->picture()->shownImage(), AdjustmentScript::inverting().apply(before, 1));
            QCOMPARE(imageInfo.isEmpty(), !refreshesStatus);
            QVERIFY(!view->isModified());
        };
        QVERIFY(QMetaObject::invokeMethod(view, QTest::currentDataTag()));
        QVERIFY(open);
        QCOMPARE(dialogs.opened(), QList<AdjustmentDialogs::Kind>{AdjustmentDialogs::Kind(kind)});
        QCOMPARE(view->image(), before);
        QCOMPARE(view->picture()->shownImage(), before);
        QVERIFY(!fileInfo.contains({PictureStatus::notSavedText()}));
    }

    // An open dialog writes into the shown picture: nothing moves the view to another file, asks
    // about saving the half-finished preview, or takes away what the dialog reads.
    void dialogKeepsPictureOnItsFile_data()
    {
        QTest::addColumn<QString>("move");
        QTest::addColumn<int>("answer");
        QTest::newRow("next, changes dropped") << "next" << int(QMessageBox::Discard);
        QTest::newRow("thumbnail chosen, changes saved") << "thumbnail" << int(QMessageBox::Save);
        QTest::newRow("slideshow step") << "slideshow" << int(QMessageBox::Discard);
        QTest::newRow("reload, changes saved") << "reload" << int(QMessageBox::Save);
    }
    void dialogKeepsPictureOnItsFile()
    {
        QFETCH(QString, move);
        QFETCH(int, answer);
        PictureFixture pic;
        SPicView* view = pic.view();
        const QString other = pic.path(QStringLiteral("other.png"));
        QVERIFY(lumotest::writePicture(other, QSize(30, 30)));
        view->openList({pic.picturePath(), other});
        QVERIFY(waitForPicture(view));
        QVERIFY(pic.runAdjustment(true)); // so that leaving would ask about the changes
        const auto stored = [&pic] { return lumotest::contents(pic.picturePath()); };
        const QByteArray before = stored();
        ScriptedPrompter prompter;
        prompter.setFallback(QMessageBox::StandardButton(answer));
        const std::map<QString, std::function<void()>> moves{
            {"next", [view] { view->next(); }},
            {"thumbnail", [view] { view->setCurrentIndex(view->fileModel()->index(1, 0)); }},
            {"slideshow", [view] { view->timerTimeout(); }},
            {"reload", [view] { view->reload(); }}};
        QVERIFY(pic.runAdjustment(true, moves.at(move)));
        QVERIFY(prompter.asked().isEmpty());
        QCOMPARE(view->filePath(), pic.picturePath());
        QCOMPARE(view->undoCount(), 2);
        QCOMPARE(stored(), before);
    }

    // The reduced preview and the result's size it tells are tst_pictureadjustment's; here, the
    // view hands it its scale, paints it in the result's place and tells that size.
    void previewAtScreenSize()
    {
        PictureFixture fixture(QSize(800, 600));
        SPicView* view = fixture.view();
        view->setCurrentZoomMode(0); // fit
        view->zoom();
        const double shownAt = view->scale();
        QVERIFY(shownAt < 0.5);
        QSignalSpy imageInfo(view, &SPicView::imageInfoChanged);
        ScriptedAdjustmentDialogs dialogs;
        dialogs.script.pass.apply = [](const QImage& source, double) {
            return source.transformed(QTransform().rotate(90));
        };
        dialogs.script.pass.resultSize = [](const QSize& size) { return size.transposed(); };
        const QImage before = view->image();
        const QImage result = before.transformed(QTransform().rotate(90));
        bool open = false;
        dialogs.script.whileOpen = [&] {
            open = true;
            const Picture* picture = view->picture();
            QCOMPARE(picture->shownImage().size(),
                     QSize(qRound(600 * shownAt), qRound(800 * shownAt)));
            QVERIFY(imageInfo.last().at(0).toString().startsWith("600 X 800 X 32"));
            SPic* canvas = view->pic();
            QCOMPARE(canvas->scaledWidth(), qRound(600 * view->scale()));
            const QColor painted = canvas->grab().toImage().pixelColor(canvas->rect().center());
            QVERIFY(qAbs(painted.red() - result.pixelColor(300, 400).red()) < 24);
        };
        view->showRotateDialog();
        QVERIFY(open);
        QCOMPARE(view->picture()->shownImage(), result);
    }
};

LUMO_TEST_MAIN(TestEditHistory)
#include "tst_edithistory.moc"
