#include "support/lumotest.h"
#include "support/picturefixture.h"

#include "dialogs/brightnesscontrastdialog.h"
#include "dialogs/depthconversiondialog.h"
#include "dialogs/hsvadjustdialog.h"
#include "dialogs/insertdialog.h"
#include "dialogs/newimagedialog.h"
#include "dialogs/resizedialog.h"
#include "dialogs/rgbadjustdialog.h"
#include "dialogs/rotatedialog.h"
#include "imaging/brightnesscontrast.h"
#include "imaging/canvasinsert.h"
#include "imaging/canvasresize.h"
#include "imaging/colorbalance.h"
#include "imaging/hsvadjust.h"
#include "imaging/rotation.h"
#include "view/extslider.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include <functional>

// What the dialogs add to the pixel work: wiring, ranges, labels, enable rules, live preview.
class TestImageDialogs : public QObject
{
    Q_OBJECT

private slots:
    void resetKeepsOtherSliders_data();
    void resetKeepsOtherSliders();
    void rotation_data();
    void rotation();
    void resizePreview_data();
    void resizePreview();
    void insertPreview_data();
    void insertPreview();
    void depthConversion_data();
    void depthConversion();
    void newImageProposal_data();
    void newImageProposal();
    void newImageFillColor_data();
    void newImageFillColor();
};

namespace {

QImage picture(int width, int height)
{
    return PictureFixture::rampImage(QSize(width, height));
}

// A target no recomputation could give, so an untimely one shows.
QImage untouched(const QImage& source)
{
    QImage marker(source.size() + QSize(1, 1), QImage::Format_RGB32);
    marker.fill(Qt::magenta);
    return marker;
}

template <class T>
T* child(const QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

void releaseArrow(ExtSlider* slider)
{
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(slider->slider(), &release);
}

using Pass = std::function<bool(const QImage&, QImage&, int, int, int)>;
using Maker = std::function<AdjustmentDialog*(QImage*, const QImage*)>;

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

void TestImageDialogs::resetKeepsOtherSliders_data()
{
    QTest::addColumn<Maker>("make");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<Pass>("pass");
    QTest::addColumn<int>("resetRow");

    const Maker brightness = [](QImage* t, const QImage* s) {
        return new BrightnessContrastDialog(nullptr, t, s);
    };
    const Maker hsv = [](QImage* t, const QImage* s) { return new HSVAdjustDialog(nullptr, t, s); };
    const Maker rgb = [](QImage* t, const QImage* s) { return new RGBAdjustDialog(nullptr, t, s); };
    const QStringList bcg{"brightness", "contrast", "gamma"};
    const QStringList hsvNames{"hue", "saturation", "value"};
    const QStringList rgbNames{"red", "green", "blue"};
    for (int row = 0; row < 3; ++row) {
        QTest::addRow("brightness-contrast row %d", row)
            << brightness << bcg << Pass(imaging::adjustBrightnessContrastGamma) << row;
        QTest::addRow("hue-saturation row %d", row)
            << hsv << hsvNames << Pass(imaging::adjustHsv) << row;
        QTest::addRow("colour balance row %d", row)
            << rgb << rgbNames << Pass(imaging::adjustColorBalance) << row;
    }
}

void TestImageDialogs::resetKeepsOtherSliders()
{
    QFETCH(Maker, make);
    QFETCH(QStringList, names);
    QFETCH(Pass, pass);
    QFETCH(int, resetRow);

    const QImage source = picture(16, 12);
    QImage target = untouched(source);
    std::unique_ptr<AdjustmentDialog> dialog(make(&target, &source));
    QSignalSpy modified(dialog.get(), &AdjustmentDialog::modified);

    int values[3] = {40, -60, 80};
    QList<ExtSlider*> sliders;
    for (int i = 0; i < 3; ++i) {
        sliders << child<ExtSlider>(dialog.get(), qPrintable(names[i] + "Slider"));
        sliders[i]->setValue(values[i]);
    }
    // Moving alone recomputes nothing; letting go does.
    QCOMPARE(modified.count(), 0);
    QCOMPARE(target, untouched(source));
    releaseArrow(sliders[2]);
    QCOMPARE(modified.count(), 1);

    child<QPushButton>(dialog.get(), qPrintable(names[resetRow] + "Reset"))->click();
    values[resetRow] = 0;
    QCOMPARE(modified.count(), 2);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(sliders[i]->value(), values[i]);
    QImage expected;
    QVERIFY(pass(source, expected, values[0], values[1], values[2]));
    QCOMPARE(target, expected);
}

void TestImageDialogs::rotation_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("smooth");
    QTest::addColumn<QString>("label");

    QTest::newRow("odd value is half a degree") << QString() << 91 << false << "45.5 \u00b0";
    QTest::newRow("full turn") << QString() << 720 << false << "360 \u00b0";
    QTest::newRow("90 button") << "button90" << 180 << false << "90 \u00b0";
    QTest::newRow("180 button") << "button180" << 360 << false << "180 \u00b0";
    QTest::newRow("270 button") << "button270" << 540 << false << "270 \u00b0";
    QTest::newRow("smoothing recomputes at the same angle") << QString() << 61 << true
                                                            << "30.5 \u00b0";
}

void TestImageDialogs::rotation()
{
    QFETCH(QString, button);
    QFETCH(int, value);
    QFETCH(bool, smooth);
    QFETCH(QString, label);

    const QImage source = picture(40, 20);
    QImage target = untouched(source);
    RotateDialog dialog(nullptr, &target, &source);
    // The constructor shows the unrotated picture and its angle.
    QCOMPARE(target, source);
    QCOMPARE(child<QLabel>(&dialog, "angleLabel")->text(), QString("0 \u00b0"));

    auto* slider = child<QSlider>(&dialog, "angleSlider");
    if (button.isEmpty())
        slider->setValue(value);
    else
        child<QPushButton>(&dialog, qPrintable(button))->click();
    QSignalSpy modified(&dialog, &AdjustmentDialog::modified);
    child<QCheckBox>(&dialog, "smoothingBox")->setChecked(smooth);
    QCOMPARE(modified.count(), smooth ? 1 : 0);
    QCOMPARE(slider->value(), value);
    QCOMPARE(child<QLabel>(&dialog, "angleLabel")->text(), label);
    QCOMPARE(target, imaging::rotated(source, value * 0.5, smooth));
    if (smooth)
        QVERIFY(target != imaging::rotated(source, value * 0.5, false));
}

void TestImageDialogs::resizePreview_data()
{
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("alignRow");

    QTest::newRow("cut at the left") << false << 30 << 0;
    QTest::newRow("extend centred") << false << 60 << 1;
    QTest::newRow("cut at the right") << false << 30 << 2;
    QTest::newRow("stretched") << true << 60 << 1;
}

void TestImageDialogs::resizePreview()
{
    QFETCH(bool, stretch);
    QFETCH(int, width);
    QFETCH(int, alignRow);

    const QImage source = picture(40, 30);
    QImage target = untouched(source);
    ResizeDialog dialog(nullptr, &target, &source);
    QSignalSpy modified(&dialog, &AdjustmentDialog::modified);
    child<QListWidget>(&dialog, "horizontalList")->setCurrentRow(alignRow);
    child<QListWidget>(&dialog, "verticalList")->setCurrentRow(alignRow);
    child<QSpinBox>(&dialog, "widthSpinBox")->setValue(width);
    if (stretch)
        child<QCheckBox>(&dialog, "stretchBox")->click();

    const QSize size(width, 30);
    const imaging::Alignment alignment = imaging::alignmentForRow(alignRow);
    QCOMPARE(target, stretch ? imaging::stretched(source, size)
                             : imaging::cutOrExtend(source, size, alignment, alignment));
    QCOMPARE(modified.count(), (alignRow == 0 ? 1 : 3) + (stretch ? 1 : 0));
    // Stretching leaves nothing to align: the lists and their labels are disabled.
    QList<QWidget*> aligning{child<QListWidget>(&dialog, "verticalList"),
                             child<QListWidget>(&dialog, "horizontalList")};
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (aligning.contains(label->buddy()))
            aligning << label;
    QCOMPARE(aligning.size(), 4);
    for (QWidget* widget : aligning)
        QCOMPARE(widget->isEnabled(), !stretch);
}

void TestImageDialogs::insertPreview_data()
{
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<bool>("enlarge");
    QTest::addColumn<int>("insertWidth");
    QTest::addColumn<QSize>("resultSize");
    QTest::addColumn<int>("maximumX");

    QTest::newRow("enlarged") << QSize(100, 100) << true << 50 << QSize(130, 130) << 8150;
    QTest::newRow("not enlarged") << QSize(100, 100) << false << 50 << QSize(100, 100) << 8150;
    QTest::newRow("largest X ignores the picture width")
        << QSize(3000, 100) << true << 50 << QSize(3000, 130) << 8150;
    QTest::newRow("doubled insert") << QSize(100, 100) << true << 100 << QSize(180, 180) << 8100;
}

void TestImageDialogs::insertPreview()
{
    QFETCH(QSize, pictureSize);
    QFETCH(bool, enlarge);
    QFETCH(int, insertWidth);
    QFETCH(QSize, resultSize);
    QFETCH(int, maximumX);

    const QImage source = picture(pictureSize.width(), pictureSize.height());
    const QImage insert = picture(50, 50).mirrored();
    QImage target;
    InsertDialog dialog(nullptr, &target, &source, insert);
    // The constructor already shows the insert at (0, 0) in its own size.
    QCOMPARE(target, imaging::insertImage(source, insert, QRect(0, 0, 50, 50), true));

    child<QCheckBox>(&dialog, "keepRatioBox")->setChecked(true);
    child<QSpinBox>(&dialog, "widthSpinBox")->setValue(insertWidth);
    if (!enlarge)
        child<QCheckBox>(&dialog, "enlargeBox")->click();
    auto* xBox = child<QSpinBox>(&dialog, "xSpinBox");
    xBox->setValue(80);
    child<QSpinBox>(&dialog, "ySpinBox")->setValue(80);

    QCOMPARE(xBox->maximum(), maximumX);
    QCOMPARE(target.size(), resultSize);
    QCOMPARE(target, imaging::insertImage(source, insert, QRect(80, 80, insertWidth, insertWidth),
                                          enlarge));
}

void TestImageDialogs::depthConversion_data()
{
    QTest::addColumn<int>("depthRow");
    QTest::addColumn<int>("ditherRow");
    QTest::addColumn<int>("format");

    QTest::newRow("untouched") << -1 << -1 << int(QImage::Format_Invalid);
    QTest::newRow("1 bit diffuse") << 0 << 0 << int(QImage::Format_Mono);
    QTest::newRow("8 bit ordered") << 1 << 1 << int(QImage::Format_Indexed8);
}

void TestImageDialogs::depthConversion()
{
    QFETCH(int, depthRow);
    QFETCH(int, ditherRow);
    QFETCH(int, format);

    const QImage source = picture(20, 20);
    QImage target = source;
    DepthConversionDialog dialog(nullptr, &target, &source);
    if (depthRow >= 0) {
        child<QListWidget>(&dialog, "depthList")->setCurrentRow(depthRow);
        child<QListWidget>(&dialog, "ditherList")->setCurrentRow(ditherRow);
    }
    const bool unchanged = format == QImage::Format_Invalid;
    QCOMPARE(int(target.format()), unchanged ? int(source.format()) : format);
    QCOMPARE(target == source, unchanged);
}

void TestImageDialogs::newImageProposal_data()
{
    QTest::addColumn<QImage>("clipboardImage");
    QTest::addColumn<QString>("clipboardText");
    QTest::addColumn<QSize>("proposed");

    QTest::newRow("image") << picture(640, 480) << QString() << QSize(640, 480);
    QTest::newRow("text") << QImage() << "some text" << QSize(256, 256);
    QTest::newRow("oversized image proposes what the entry shows")
        << QImage(9000, 10, QImage::Format_Mono) << QString() << QSize(8200, 10);
}

void TestImageDialogs::newImageProposal()
{
    QFETCH(QImage, clipboardImage);
    QFETCH(QString, clipboardText);
    QFETCH(QSize, proposed);

    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    if (!clipboardImage.isNull())
        clipboard->setImage(clipboardImage);
    else if (!clipboardText.isEmpty())
        clipboard->setText(clipboardText);

    NewImageDialog dialog;
    QCOMPARE(QSize(dialog.newWidth(), dialog.newHeight()), proposed);
    QCOMPARE(child<QSpinBox>(&dialog, "widthSpinBox")->value(), proposed.width());
    QCOMPARE(dialog.depth(), 32);
}

void TestImageDialogs::newImageFillColor_data()
{
    QTest::addColumn<QList<QColor>>("answers");
    QTest::addColumn<QColor>("fill");

    QTest::newRow("chosen") << QList<QColor>{QColor(10, 20, 30, 40)} << QColor(10, 20, 30, 40);
    QTest::newRow("cancelled keeps white") << QList<QColor>{QColor()} << QColor(Qt::white);
    QTest::newRow("cancelled keeps the earlier choice")
        << QList<QColor>{QColor(Qt::red), QColor()} << QColor(Qt::red);
}

void TestImageDialogs::newImageFillColor()
{
    QFETCH(QList<QColor>, answers);
    QFETCH(QColor, fill);

    ScriptedNewImageDialog dialog;
    dialog.answers = answers;
    for (int i = answers.size(); i > 0; --i)
        child<QPushButton>(&dialog, "fillButton")->click();
    QCOMPARE(dialog.fillColor(), fill.rgba());
}

LUMO_TEST_MAIN(TestImageDialogs)
#include "tst_imagedialogs.moc"
