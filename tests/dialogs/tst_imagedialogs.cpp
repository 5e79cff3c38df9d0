#include "support/adjustedpicture.h"
#include "support/lumotest.h"
#include "support/picturefixture.h"

#include "dialogs/brightnesscontrastdialog.h"
#include "dialogs/depthconversiondialog.h"
#include "dialogs/extslider.h"
#include "dialogs/hsvadjustdialog.h"
#include "dialogs/insertdialog.h"
#include "dialogs/newimagedialog.h"
#include "dialogs/resizedialog.h"
#include "dialogs/rgbadjustdialog.h"
#include "dialogs/rotatedialog.h"
#include "dialogs/scsizechanger.h"
#include "dialogs/sizeunits.h"
#include "imaging/brightnesscontrast.h"
#include "imaging/canvasinsert.h"
#include "imaging/canvasresize.h"
#include "imaging/colorbalance.h"
#include "imaging/depthconversion.h"
#include "imaging/hsvadjust.h"
#include "imaging/rotation.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include <functional>

namespace {

template <class T> T* child(const QObject* parent, const QString& name)
{
    if (T* found = parent->findChild<T*>(name))
        return found;
    qFatal("no child %s", qPrintable(name));
}

using Pass = std::function<bool(const QImage&, QImage&, int, int, int)>;
using Maker = std::function<AdjustmentDialog*(PictureAdjustment*)>;
using Setup = std::function<void(QDialog*)>;
using Expect = std::function<QImage(const QImage&)>;

// The new-image dialog with scripted colour choices instead of a person.
class ScriptedNewImageDialog : public NewImageDialog
{
public:
    QList<QColor> answers;

protected:
    QColor chooseColor(const QColor&) override { return answers.takeFirst(); }
};

} // namespace

Q_DECLARE_METATYPE(Pass)
Q_DECLARE_METATYPE(Maker)
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Expect)

// What the dialogs add to the pixel work: live preview, Reset, enable rules and the size entry.
class TestImageDialogs : public QObject
{
    Q_OBJECT

private slots:
    void resetKeepsOtherSliders_data()
    {
        QTest::addColumn<Maker>("make");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<Pass>("pass");
        QTest::addColumn<int>("resetRow");
        QTest::newRow("brightness reset") << Maker([](PictureAdjustment* adjustment) {
            return new BrightnessContrastDialog(nullptr, adjustment);
        }) << QStringList{"brightness", "contrast", "gamma"}
                                          << Pass(imaging::adjustBrightnessContrastGamma) << 0;
        QTest::newRow("saturation reset") << Maker([](PictureAdjustment* adjustment) {
            return new HSVAdjustDialog(nullptr, adjustment);
        }) << QStringList{"hue", "saturation", "value"} << Pass(imaging::adjustHsv) << 1;
        QTest::newRow("blue reset") << Maker([](PictureAdjustment* adjustment) {
            return new RGBAdjustDialog(nullptr, adjustment);
        }) << QStringList{"red", "green", "blue"} << Pass(imaging::adjustColorBalance) << 2;
    }

    void resetKeepsOtherSliders()
    {
        QFETCH(Maker, make);
        QFETCH(QStringList, names);
        QFETCH(Pass, pass);
        QFETCH(int, resetRow);
        const QImage source = lumotest::rampImage({16, 12});
        AdjustedPicture adjusted(source);
        std::unique_ptr<AdjustmentDialog> dialog(make(adjusted.adjustment.get()));
        QSignalSpy modified(dialog.get(), &AdjustmentDialog::modified);
        QList<int> values{40, -60, 80};
        QList<ExtSlider*> sliders;
        for (const QString& name : names)
            sliders << child<ExtSlider>(dialog.get(), name + "Slider");
        for (int i = 0; i < 3; ++i)
            sliders[i]->setValue(values[i]);
        // Changes in one go cost one recomputation, once the events at hand are through.
        QCOMPARE(modified.count(), 0);
        QVERIFY(modified.wait());
        QCoreApplication::processEvents();
        QCOMPARE(modified.count(), 1);

        child<QPushButton>(dialog.get(), names[resetRow] + "Reset")->click();
        values[resetRow] = 0;
        QCoreApplication::processEvents();
        QCOMPARE(modified.count(), 2);
        QCOMPARE((QList<int>{sliders[0]->value(), sliders[1]->value(), sliders[2]->value()}),
                 values);
        QImage expected;
        QVERIFY(pass(source, expected, values[0], values[1], values[2]));
        QCOMPARE(adjusted.shown(), expected);
    }

    // Every way of changing a slider's value recomputes the picture, and Ok keeps what the
    // controls show.
    void everyValueChangeRecomputes_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("okAtOnce");
        QTest::newRow("wheel") << "wheel" << false;
        QTest::newRow("end") << "end" << false;
        QTest::newRow("click on the groove") << "groove" << false;
        QTest::newRow("Ok right after End") << "end" << true;
    }
    void everyValueChangeRecomputes()
    {
        QFETCH(QString, input);
        QFETCH(bool, okAtOnce);
        const QImage source = lumotest::rampImage({16, 12});
        AdjustedPicture adjusted(source);
        BrightnessContrastDialog dialog(nullptr, adjusted.adjustment.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QSlider* slider = child<ExtSlider>(&dialog, "gammaSlider")->slider();
        const QPoint handle = slider->rect().center();
        if (input == "wheel") {
            QWheelEvent wheel(handle, slider->mapToGlobal(handle), QPoint(), QPoint(0, 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(slider, &wheel);
        } else if (input == "groove") {
            QTest::mouseClick(slider, Qt::LeftButton, Qt::NoModifier,
                              QPoint(slider->width() - 3, handle.y()));
        } else {
            QTest::keyClick(slider, Qt::Key_End);
        }
        QVERIFY(slider->value() != 0);
        QImage expected;
        QVERIFY(imaging::adjustBrightnessContrastGamma(source, expected, 0, 0, slider->value()));
        if (okAtOnce) {
            dialog.accept();
            QTRY_VERIFY(adjusted.adjustment->isFinished());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            adjusted.adjustment->commit(1);
            QCOMPARE(adjusted.picture.image(), expected);
        } else {
            QTRY_COMPARE(adjusted.shown(), expected);
        }
    }

    // Ok on a preview made at the shown scale: the result comes from the worker, made from
    // every pixel, and is exactly what the imaging function makes of the picture; the status
    // texts told its size and depth all along.
    void resultMatchesImaging_data()
    {
        QTest::addColumn<Maker>("make");
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<Expect>("expected");
        QTest::addColumn<bool>("reduced");
        const auto make = [](auto create) { return Maker(create); };
        QTest::newRow("colour balance")
            << make([](PictureAdjustment* a) { return new RGBAdjustDialog(nullptr, a); })
            << Setup([](QDialog* d) {
                   child<ExtSlider>(d, "redSlider")->setValue(60);
                   child<ExtSlider>(d, "blueSlider")->setValue(-90);
               })
            << Expect([](const QImage& s) {
                   QImage e;
                   imaging::adjustColorBalance(s, e, 60, 0, -90);
                   return e;
               })
            << true;
        QTest::newRow("depth with dithering, previewed on every pixel")
            << make([](PictureAdjustment* a) { return new DepthConversionDialog(nullptr, a); })
            << Setup([](QDialog* d) {
                   child<QListWidget>(d, "ditherList")->setCurrentRow(0);
                   child<QListWidget>(d, "depthList")->setCurrentRow(1);
               })
            << Expect([](const QImage& s) { return imaging::convertDepth(s, 1, 0); })
            << false;
        const QImage insert = lumotest::rampImage({50, 40}).mirrored();
        QTest::newRow("insert, previewed on every pixel")
            << make([insert](PictureAdjustment* a) { return new InsertDialog(nullptr, a, insert); })
            << Setup([](QDialog* d) { child<QSpinBox>(d, "xSpinBox")->setValue(100); })
            << Expect([insert](const QImage& s) {
                   return imaging::insertImage(s, insert, QRect(100, 0, 50, 40), true);
               })
            << false;
    }
    void resultMatchesImaging()
    {
        QFETCH(Maker, make);
        QFETCH(Setup, setup);
        QFETCH(Expect, expected);
        QFETCH(bool, reduced);
        const QImage source = lumotest::rampImage({120, 90});
        AdjustedPicture adjusted(source);
        adjusted.adjustment->setPreviewScale(0.25);
        std::unique_ptr<AdjustmentDialog> dialog(make(adjusted.adjustment.get()));
        setup(dialog.get());
        QCoreApplication::processEvents();
        QCOMPARE(adjusted.shown().width() < source.width(), reduced);
        const QSize shownSize = adjusted.picture.shownSize();
        const int shownDepth = adjusted.shown().depth();
        dialog->accept();
        QTRY_COMPARE(dialog->result(), int(QDialog::Accepted));
        adjusted.adjustment->commit(1);
        const QImage result = expected(source);
        QCOMPARE(adjusted.picture.image(), result);
        QCOMPARE(shownSize, result.size());
        QCOMPARE(shownDepth, result.depth());
    }

    void rotation()
    {
        const QImage source = lumotest::rampImage({40, 20});
        AdjustedPicture adjusted(source);
        RotateDialog dialog(nullptr, adjusted.adjustment.get());
        QCOMPARE(adjusted.shown(), source); // shown unrotated from the start
        auto* slider = child<QSlider>(&dialog, "angleSlider");
        slider->setValue(91);

        child<QPushButton>(&dialog, "button90")->click();
        QCOMPARE(slider->value(), 180);
        QCOMPARE(adjusted.shown().size(), QSize(20, 40));
        QCOMPARE(adjusted.shown().pixel(19, 0), source.pixel(0, 0)); // clockwise

        // Smoothing recomputes at once, at the same angle; 720 is a full turn.
        slider->setValue(61);
        QSignalSpy modified(&dialog, &AdjustmentDialog::modified);
        child<QCheckBox>(&dialog, "smoothingBox")->setChecked(true);
        QCOMPARE(modified.count(), 1);
        QCOMPARE(adjusted.shown(), imaging::rotated(source, 30.5, true));
        QVERIFY(adjusted.shown() != imaging::rotated(source, 30.5, false));
        slider->setValue(720);
        QCOMPARE(adjusted.shown().convertToFormat(source.format()), source);
    }

    // Only the height of a picture wider than 8200 changes: its width is kept.
    void resizePreview_data()
    {
        QTest::addColumn<bool>("stretch");
        QTest::addColumn<int>("alignRow");
        QTest::newRow("height cut") << false << 1;
        QTest::newRow("height stretched") << true << 0;
    }

    void resizePreview()
    {
        QFETCH(bool, stretch);
        QFETCH(int, alignRow);
        const QSize size(10000, 2);
        const QImage source = lumotest::rampImage(QSize(10000, 4));
        AdjustedPicture adjusted(source);
        ResizeDialog dialog(nullptr, adjusted.adjustment.get());
        child<QListWidget>(&dialog, "horizontalList")->setCurrentRow(alignRow);
        child<QListWidget>(&dialog, "verticalList")->setCurrentRow(alignRow);
        child<QSpinBox>(&dialog, "widthSpinBox")->setValue(size.width());
        child<QSpinBox>(&dialog, "heightSpinBox")->setValue(size.height());
        if (stretch)
            child<QCheckBox>(&dialog, "stretchBox")->click();
        QCOMPARE(adjusted.shown().size(), size);
        const imaging::Alignment alignment = imaging::alignmentForRow(alignRow);
        QCOMPARE(adjusted.shown(), stretch ? imaging::stretched(source, size)
                                 : imaging::cutOrExtend(source, size, alignment, alignment));
    }

    void insertPreview_data()
    {
        QTest::addColumn<QSize>("pictureSize");
        QTest::addColumn<bool>("enlarge");
        QTest::addColumn<int>("insertWidth");
        QTest::newRow("not enlarged") << QSize(100, 100) << false << 50;
        QTest::newRow("doubled; largest X ignores the picture width")
            << QSize(3000, 100) << true << 100;
    }

    void insertPreview()
    {
        QFETCH(QSize, pictureSize);
        QFETCH(bool, enlarge);
        QFETCH(int, insertWidth);
        const QImage source = lumotest::rampImage(pictureSize);
        const QImage insert = lumotest::rampImage({50, 50}).mirrored();
        AdjustedPicture adjusted(source);
        InsertDialog dialog(nullptr, adjusted.adjustment.get(), insert);
        // The constructor already shows the insert at (0, 0) in its own size.
        QCOMPARE(adjusted.shown(), imaging::insertImage(source, insert, QRect(0, 0, 50, 50), true));
        child<QCheckBox>(&dialog, "keepRatioBox")->setChecked(true);
        child<QSpinBox>(&dialog, "widthSpinBox")->setValue(insertWidth);
        if (!enlarge)
            child<QCheckBox>(&dialog, "enlargeBox")->click();
        auto* xBox = child<QSpinBox>(&dialog, "xSpinBox");
        xBox->setValue(80);
        child<QSpinBox>(&dialog, "ySpinBox")->setValue(80);
        QCOMPARE(xBox->maximum(), 8200 - insertWidth);
        QCOMPARE(adjusted.shown(), imaging::insertImage(source, insert,
                                                        QRect(80, 80, insertWidth, insertWidth),
                                                        enlarge));
    }

    // The clipboard's picture gives the size proposed, as far as the entry shows it; a colour
    // choice cancelled keeps the fill chosen before.
    void newImage()
    {
        QApplication::clipboard()->setImage(QImage(9000, 10, QImage::Format_Mono));
        ScriptedNewImageDialog dialog;
        QCOMPARE(QSize(dialog.newWidth(), dialog.newHeight()), QSize(8200, 10));
        dialog.answers = {QColor(10, 20, 30, 40), QColor()};
        child<QPushButton>(&dialog, "fillButton")->click();
        child<QPushButton>(&dialog, "fillButton")->click();
        QCOMPARE(dialog.fillColor(), QColor(10, 20, 30, 40).rgba());
    }

    void sizeEntry_data()
    {
        QTest::addColumn<QSize>("base");
        QTest::addColumn<QStringList>("steps"); // "w<n>" or "h<n>" sets a spin box, "keep" checks
        QTest::addColumn<QSize>("result");
        QTest::addColumn<QString>("ratio");
        // The ratio is width over height, before any edit and after.
        QTest::newRow("keep ratio, width 200 gives height 150")
            << QSize(400, 300) << QStringList{"keep", "w200"} << QSize(200, 150) << "1.33333";
        QTest::newRow("typed width stays when the height rounds half up")
            << QSize(400, 300) << QStringList{"keep", "w2"} << QSize(2, 2) << "1";
        QTest::newRow("switching keep on follows the height edited last")
            << QSize(400, 300) << QStringList{"w100", "h150", "keep"} << QSize(200, 150)
            << "1.33333";
        QTest::newRow("keep ratio at the 8200 cap pulls the width back")
            << QSize(100, 1000) << QStringList{"keep", "h8200", "w8200"} << QSize(820, 8200)
            << "0.1";
        QTest::newRow("a side past 8200 may shrink, but not grow")
            << QSize(10000, 100) << QStringList{"w12000", "w9000"} << QSize(9000, 100) << "90";
    }

    void sizeEntry()
    {
        QFETCH(QSize, base);
        QFETCH(QStringList, steps);
        QFETCH(QSize, result);
        QFETCH(QString, ratio);
        SCSizeChanger changer(base.width(), base.height());
        auto* width = child<QSpinBox>(&changer, "widthSpinBox");
        auto* height = child<QSpinBox>(&changer, "heightSpinBox");
        for (const QString& step : steps) {
            if (step == QLatin1String("keep"))
                child<QCheckBox>(&changer, "keepRatioBox")->setChecked(true);
            else
                (step.startsWith('w') ? width : height)->setValue(step.mid(1).toInt());
        }
        QCOMPARE(QSize(changer.newWidth(), changer.newHeight()), result);
        QCOMPARE(QSize(width->value(), height->value()), result);
        QCOMPARE(child<QLabel>(&changer, "ratioLabel")->text(), "Current ratio: " + ratio);
    }

    void sizeUnits_data() { lumotest::addRows(QStringLiteral("sizeunits.txt")); }

    void sizeUnits()
    {
        QFETCH(int, value);
        QFETCH(int, base);
        QFETCH(QVector<int>, expected);
        const int pixels = sizeunits::pixelsFromValue(value, 1, base);
        const sizeunits::UnitRange range = sizeunits::unitRange(1, pixels, base);
        QCOMPARE((QVector<int>{pixels, range.minimum, range.maximum}), expected);
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

LUMO_TEST_MAIN(TestImageDialogs)
#include "tst_imagedialogs.moc"
