#include "support/lumotest.h"
#include "support/picturefixture.h"

#include "view/adjustmentdialog.h"
#include "view/extslider.h"
#include "view/picturestatus.h"
#include "view/spic.h"

#include <QClipboard>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QPointer>
#include <QTimer>

#include <functional>

// The picture view's seven dialog slots: which dialog each opens, what it announces and
// refreshes, and that Cancel gives back exactly the picture that was there.
class TestSPicViewDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cancelRestoresPicture_data();
    void cancelRestoresPicture();
    void rotationByNinetyIsCommitted();
    void pasteWithoutImageOpensNothing();
};

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

template <class T>
T* child(QDialog* dialog, const char* name)
{
    return dialog->findChild<T*>(QString::fromLatin1(name));
}

// Sets a control the way the user would, ending with the release a slider dialog waits for.
void setControl(QDialog* dialog, const QString& name, int value)
{
    QWidget* control = dialog->findChild<QWidget*>(name);
    if (auto* extSlider = qobject_cast<ExtSlider*>(control)) {
        extSlider->setValue(value);
        emit extSlider->sliderReleased();
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

void TestSPicViewDialogs::cancelRestoresPicture_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("dialogClass");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("clearsSelection");
    // Shown when the dialog is up: announced, or the status refreshed on a modified picture.
    QTest::addColumn<bool>("notSaved");
    QTest::addColumn<bool>("refreshesStatus");

    QTest::newRow("rotate") << "showRotateDialog" << "RotateDialog" << "angleSlider" << 61
                            << true << false << true;
    QTest::newRow("colour balance") << "showRGBAdjustDialog" << "RGBAdjustDialog" << "redSlider"
                                    << 90 << false << true << false;
    QTest::newRow("depth") << "showDepthConversionDialog" << "DepthConversionDialog"
                           << "depthList" << 0 << false << false << true;
    QTest::newRow("hue-saturation") << "showHSVAdjustDialog" << "HSVAdjustDialog" << "hueSlider"
                                    << 120 << false << true << false;
    QTest::newRow("brightness-contrast")
        << "showBrightnessContrastDialog" << "BrightnessContrastDialog" << "gammaSlider" << -70
        << false << true << false;
    QTest::newRow("resize") << "showResizeDialog" << "ResizeDialog" << "widthSpinBox" << 100
                            << true << false << true;
    QTest::newRow("insert") << "showInsertDialog" << "InsertDialog" << "xSpinBox" << 40 << true
                            << true << true;
}

void TestSPicViewDialogs::cancelRestoresPicture()
{
    QFETCH(QString, slot);
    QFETCH(QString, dialogClass);
    QFETCH(QString, control);
    QFETCH(int, value);
    QFETCH(bool, clearsSelection);
    QFETCH(bool, notSaved);
    QFETCH(bool, refreshesStatus);

    QApplication::clipboard()->setImage(PictureFixture::rampImage(QSize(30, 20)).mirrored());
    PictureFixture fixture;
    SPicView* view = fixture.view();
    fixture.select(QRect(2, 2, 10, 10));
    const QImage before = view->image();
    QSignalSpy fileInfo(view, &SPicView::fileInfoChanged);
    QSignalSpy imageInfo(view, &SPicView::imageInfoChanged);

    const bool opened = runDialog(view, qPrintable(slot), [&](QDialog* dialog) {
        QCOMPARE(dialog->metaObject()->className(), qPrintable(dialogClass));
        QCOMPARE(dialog->parentWidget(), view);
        QCOMPARE(view->pic()->hasSelection(), !clearsSelection);
        QCOMPARE(fileInfo.contains({PictureStatus::notSavedText()}), notSaved);
        imageInfo.clear();
        setControl(dialog, control, value / 2);
        setControl(dialog, control, value);
        QVERIFY(view->image() != before);
        QCOMPARE(imageInfo.isEmpty(), !refreshesStatus);
        dialog->reject();
    });

    QVERIFY(opened);
    QCOMPARE(view->image(), before);
    QCOMPARE(view->undoCount(), 0);
    QVERIFY(!view->isModified());
}

void TestSPicViewDialogs::rotationByNinetyIsCommitted()
{
    PictureFixture fixture(QSize(64, 48));
    SPicView* view = fixture.view();
    const bool opened = runDialog(view, "showRotateDialog", [](QDialog* dialog) {
        child<QPushButton>(dialog, "button90")->click();
        QCOMPARE(child<QSlider>(dialog, "angleSlider")->value(), 180);
        dialog->accept();
    });

    QVERIFY(opened);
    QCOMPARE(view->image().size(), QSize(48, 64));
    QCOMPARE(view->undoCount(), 1);
    QVERIFY(view->isModified());
}

void TestSPicViewDialogs::pasteWithoutImageOpensNothing()
{
    QApplication::clipboard()->setText(QStringLiteral("not a picture"));
    PictureFixture fixture;
    SPicView* view = fixture.view();
    const QImage before = view->image();
    QSignalSpy messages(view, &SPicView::message);

    view->showInsertDialog();

    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.first().at(0).toString(),
             QString("Paste: No usable clipboard content, aborted."));
    QCOMPARE(messages.first().at(1).toInt(), 1000);
    QCOMPARE(view->undoCount(), 0);
    QCOMPARE(view->image(), before);
}

LUMO_TEST_MAIN(TestSPicViewDialogs)
#include "tst_spicviewdialogs.moc"
