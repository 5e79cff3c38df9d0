// A live adjustment preview of a 24-megapixel picture shown at fit: the time from a slider move
// to the repainted view, against the full-resolution pass of the same adjustment (what each
// slider step cost when the preview worked on every pixel), measured in the same run. Ok, which
// makes the result from every pixel on a worker, is timed too, for the record.

#include "dialogs/brightnesscontrastdialog.h"
#include "dialogs/extslider.h"
#include "dialogs/hsvadjustdialog.h"
#include "dialogs/rgbadjustdialog.h"
#include "dialogs/rotatedialog.h"
#include "imaging/brightnesscontrast.h"
#include "imaging/colorbalance.h"
#include "imaging/hsvadjust.h"
#include "imaging/rotation.h"
#include "support/benchsupport.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const int runs = 5;

// A photograph-like picture: smooth gradients with some fine detail.
QImage makePicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 255 / width + (x ^ y) % 17) & 0xff,
                           (y * 255 / height + (x * y) % 13) & 0xff, ((x + y) / 40) & 0xff);
    }
    return image;
}

double milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Case {
    const char* name;
    std::function<AdjustmentDialog*(SPicView*, PictureAdjustment*)> make;
    const char* slider;
    // The full-resolution pass at a slider value.
    std::function<void(const QImage&, int)> full;
};

// Moves the dialog's slider the way a user does and times each step to the end of the repaint.
void setSlider(QWidget* dialog, const char* name, int value)
{
    QWidget* control = dialog->findChild<QWidget*>(QLatin1String(name));
    if (auto* extSlider = qobject_cast<ExtSlider*>(control))
        extSlider->setValue(value);
    else if (auto* slider = qobject_cast<QSlider*>(control))
        slider->setValue(value);
}

} // namespace

int main(int argc, char** argv)
{
    bench::IsolatedHome home;
    QApplication app(argc, argv);

    const QImage source = makePicture(6000, 4000);
    SPicView view(5);
    view.resize(1280, 800);
    view.setImage(source);
    view.setCurrentZoomMode(0); // fit
    view.show();
    QCoreApplication::processEvents();
    std::printf("picture %dx%d shown at %.3f in %dx%d, %d threads\n", source.width(),
                source.height(), view.scale(), view.viewport()->width(),
                view.viewport()->height(), QThreadPool::globalInstance()->maxThreadCount());

    const std::vector<Case> cases{
        {"colour balance",
         [](SPicView* parent, PictureAdjustment* a) { return new RGBAdjustDialog(parent, a); },
         "redSlider",
         [](const QImage& image, int value) {
             QImage result;
             imaging::adjustColorBalance(image, result, value, -value / 2, 10);
         }},
        {"hue-saturation",
         [](SPicView* parent, PictureAdjustment* a) { return new HSVAdjustDialog(parent, a); },
         "hueSlider",
         [](const QImage& image, int value) {
             QImage result;
             imaging::adjustHsv(image, result, value, 0, 0);
         }},
        {"brightness-contrast",
         [](SPicView* parent, PictureAdjustment* a) {
             return new BrightnessContrastDialog(parent, a);
         },
         "brightnessSlider",
         [](const QImage& image, int value) {
             QImage result;
             imaging::adjustBrightnessContrastGamma(image, result, value, 0, 0);
         }},
        {"rotation",
         [](SPicView* parent, PictureAdjustment* a) { return new RotateDialog(parent, a); },
         "angleSlider",
         [](const QImage& image, int value) {
             (void)imaging::rotated(image, imaging::rotationAngle(value), false);
         }},
    };

    std::printf("%-20s %12s %14s %8s %10s\n", "adjustment", "preview ms", "full pass ms", "ratio",
                "Ok ms");
    double worst = 0;
    for (const Case& c : cases) {
        std::vector<double> previews;
        std::vector<double> passes;
        QElapsedTimer ok;
        const bool kept = view.runAdjustment(
            [&](SPicView* parent, PictureAdjustment* adjustment) {
                AdjustmentDialog* dialog = c.make(parent, adjustment);
                QTimer::singleShot(0, dialog, [&, dialog] {
                    // The first step also makes the reduced copy, once per dialog.
                    setSlider(dialog, c.slider, 1);
                    dialog->recomputeNow();
                    for (int i = 0; i < runs; ++i) {
                        const int value = 21 + 17 * i;
                        previews.push_back(milliseconds([&] {
                            setSlider(dialog, c.slider, value);
                            dialog->recomputeNow();
                            view.pic()->repaint();
                        }));
                        passes.push_back(milliseconds([&] { c.full(source, value); }));
                    }
                    ok.start();
                    dialog->accept();
                });
                return dialog;
            },
            SPicView::AdjustmentOptions());
        const double okMs = ok.nsecsElapsed() / 1e6;
        const double preview = median(previews);
        const double pass = median(passes);
        worst = std::max(worst, preview / pass);
        std::printf("%-20s %12.1f %14.1f %8.3f %10.1f\n", c.name, preview, pass, preview / pass,
                    okMs);
        if (!kept || view.image().size() == QSize())
            return 2;
        view.undo();
    }
    std::printf("worst ratio %.3f (target at most 0.1)\n", worst);
    return worst <= 0.1 ? 0 : 1;
}
