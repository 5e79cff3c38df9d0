#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedprompter.h"

#include "document/picture.h"
#include "document/picturestatus.h"
#include "view/adjustmentdialog.h"
#include "view/extslider.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QClipboard>
#include <QFile>
#include <QListWidget>
#include <QPointer>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>

#include <functional>
#include <map>

namespace {

// Runs the slot and, once its dialog is up, applies the change and answers; a failed check
// inside still closes the dialog, so the test ends instead of waiting for a person.
bool runDialog(SPicView* view, const char* slot, const std::function<void(QDialog*)>& whileOpen)
{
    bool opened = false;
    QTimer::singleShot(0, view, [whileOpen, &opened] {
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        opened = true;
        whileOpen(dialog);
        if (dialog && dialog->isVisible())
            dialog->reject();
    });
    return QMetaObject::invokeMethod(view, slot) && opened;
}

// Sets a control the way the user would.
void setControl(QDialog* dialog, const QString& name, int value)
{
    QWidget* control = dialog->findChild<QWidget*>(name);
    if (auto* extSlider = qobject_cast<ExtSlider*>(control)) {
        extSlider->setValue(value);
    } else if (auto* slider = qobject_cast<QSlider*>(control)) {
        slider->setValue(value);
    } else if (auto* spinBox = qobject_cast<QSpinBox*>(control)) {
        spinBox->setValue(value);
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        list->setCurrentRow(value);
    } else {
        QFAIL(qPrintable(QStringLiteral("no control ") + name));
    }
}

} // namespace

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
        QTest::newRow("redo") << "redo"
                              << "Redo: No backups available, discontinued.";
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
            {"redo", [view] { view->redo(); }},
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
        QTest::addColumn<QRgb>("black");
        const QImage ramp = PictureFixture::rampImage(QSize(12, 10));
        QTest::newRow("true colour") << ramp << qRgb(0, 0, 0);
        const QVector<QRgb> table{qRgb(255, 255, 255), qRgb(200, 0, 0), qRgb(20, 10, 10),
                                  qRgb(0, 0, 200)};
        QTest::newRow("indexed without black gains it")
            << ramp.convertToFormat(QImage::Format_Indexed8, table) << qRgb(0, 0, 0);
        QVector<QRgb> full;
        for (int i = 0; i < 256; ++i)
            full << qRgb(255, i, 255 - i);
        QTest::newRow("indexed, full without black")
            << ramp.convertToFormat(QImage::Format_Indexed8, full) << qRgb(0, 0, 0);
        QImage mono = ramp.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
        mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        QTest::newRow("mono, black second") << mono << qRgb(0, 0, 0);
        mono.setColorTable({qRgb(255, 255, 255), qRgb(90, 90, 255)});
        QTest::newRow("mono without black") << mono << qRgb(0, 0, 0);
    }
    void cutBlackens()
    {
        QFETCH(QImage, image);
        QFETCH(QRgb, black);
        PictureFixture pic;
        SPicView* view = pic.view();
        view->setImage(image);
        const QRect area(3, 2, 7, 5);
        pic.select(area);
        view->cut();
        const QImage cut = view->image();
        for (int y = 0; y < cut.height(); ++y)
            for (int x = 0; x < cut.width(); ++x)
                QCOMPARE(cut.pixel(x, y), area.contains(x, y) ? black : image.pixel(x, y));
        QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 image.copy(area).convertToFormat(QImage::Format_RGB32));
        QVERIFY(view->pic()->selection() == area && view->isModified());
        view->undo();
        QCOMPARE(view->image(), image);
    }

    // Cancel gives back exactly the picture that was there, whatever the dialog showed; a
    // preview is no change, so the picture is never marked as one while the dialog is open.
    void dialogCancelRestoresPicture_data()
    {
        // Rows are named after the view's slot.
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("clearsSelection");
        QTest::addColumn<bool>("refreshesStatus");
        QTest::newRow("showRotateDialog") << "angleSlider" << 61 << true << true;
        QTest::newRow("showRGBAdjustDialog") << "redSlider" << 90 << false << false;
        QTest::newRow("showDepthConversionDialog") << "depthList" << 0 << false << true;
        QTest::newRow("showHSVAdjustDialog") << "hueSlider" << 120 << false << false;
        QTest::newRow("showBrightnessContrastDialog") << "gammaSlider" << -70 << false << false;
        QTest::newRow("showResizeDialog") << "widthSpinBox" << 100 << true << true;
        QTest::newRow("showInsertDialog") << "xSpinBox" << 40 << true << true;
    }
    void dialogCancelRestoresPicture()
    {
        QFETCH(QString, control);
        QFETCH(int, value);
        QFETCH(bool, clearsSelection);
        QFETCH(bool, refreshesStatus);
        QApplication::clipboard()->setImage(PictureFixture::rampImage(QSize(30, 20)).mirrored());
        PictureFixture fixture;
        SPicView* view = fixture.view();
        fixture.select(QRect(2, 2, 10, 10));
        const QImage before = view->image();
        QSignalSpy fileInfo(view, &SPicView::fileInfoChanged);
        QSignalSpy imageInfo(view, &SPicView::imageInfoChanged);
        QVERIFY(runDialog(view, QTest::currentDataTag(), [&](QDialog* dialog) {
            QCOMPARE(dialog->parentWidget(), view);
            QCOMPARE(view->pic()->hasSelection(), !clearsSelection);
            imageInfo.clear();
            setControl(dialog, control, value / 2);
            setControl(dialog, control, value);
            QTRY_VERIFY(view->picture()->shownImage() != before);
            QCOMPARE(imageInfo.isEmpty(), !refreshesStatus);
            QVERIFY(!view->isModified());
            dialog->reject();
        }));
        QCOMPARE(view->image(), before);
        QVERIFY(view->undoCount() == 0 && !view->isModified());
        QVERIFY(!fileInfo.contains({PictureStatus::notSavedText()}));
    }

    // An open dialog writes into the shown picture: nothing moves the view to another file, asks
    // about saving the half-finished preview, or takes away what the dialog reads.
    void dialogKeepsPictureOnItsFile_data()
    {
        QTest::addColumn<QString>("move");
        QTest::addColumn<int>("answer");
        QTest::newRow("next, changes dropped") << "next" << int(QMessageBox::No);
        QTest::newRow("thumbnail chosen, changes saved") << "thumbnail" << int(QMessageBox::Yes);
        QTest::newRow("slideshow step") << "slideshow" << int(QMessageBox::No);
        QTest::newRow("reload, changes saved") << "reload" << int(QMessageBox::Yes);
    }
    void dialogKeepsPictureOnItsFile()
    {
        QFETCH(QString, move);
        QFETCH(int, answer);
        PictureFixture pic;
        SPicView* view = pic.view();
        const QString other = pic.path(QStringLiteral("other.png"));
        QVERIFY(PictureFixture::writePicture(other, QSize(30, 30)));
        QVERIFY(view->openList({pic.picturePath(), other}));
        QVERIFY(pic.runAdjustment(true)); // so that leaving would ask about the changes
        const auto stored = [&pic] {
            QFile file(pic.picturePath());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
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

    // The releases the adjustment dialogs recompute on: an arrow key's, auto-repeated ones too
    // so that a held key's last step counts, and the handle's.
    void sliderReleases()
    {
        ExtSlider slider(-100, 100, 1, 0);
        slider.resize(300, 40);
        slider.show();
        QVERIFY(QTest::qWaitForWindowExposed(&slider));
        QSignalSpy arrows(&slider, &ExtSlider::arrows_release_signal);
        QSignalSpy released(&slider, &ExtSlider::sliderReleased);
        // The inner slider has the keyboard; its unhandled releases travel up to the widget.
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(slider.slider(), &release);
        QCOMPARE(arrows.count(), 1);
        const QPoint handle = slider.slider()->rect().center();
        QTest::mousePress(slider.slider(), Qt::LeftButton, Qt::NoModifier, handle);
        QTest::mouseRelease(slider.slider(), Qt::LeftButton, Qt::NoModifier, handle);
        QCOMPARE(qMakePair(released.count(), arrows.count()), qMakePair(1, 1));
    }
};

LUMO_TEST_MAIN(TestEditHistory)
#include "tst_edithistory.moc"
