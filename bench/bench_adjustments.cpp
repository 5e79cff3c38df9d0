// Times the colour adjustments on a 24-megapixel picture against baselines measured in the
// same run: the per-pixel reference passes and a plain copy of the picture's bytes.

#include "support/imagingreference.h"

#include "imaging/brightnesscontrast.h"
#include "imaging/colorbalance.h"
#include "imaging/hsvadjust.h"

#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>
#include <QThreadPool>

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

// A photograph-like picture: smooth gradients with some noise.
QImage makePicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(1);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = int(random.bounded(32));
            line[x] = qRgb((x * 255 / width + noise) % 256, (y * 255 / height + noise) % 256,
                           ((x + y) * 127 / (width + height) + 2 * noise) % 256);
        }
    }
    return image;
}

// Best of a few runs, in milliseconds.
double best(int runs, const std::function<void()>& work)
{
    double fastest = -1;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        const double ms = timer.nsecsElapsed() / 1e6;
        if (fastest < 0 || ms < fastest)
            fastest = ms;
    }
    return fastest;
}

void compare(const char* what, double ms, const char* baseline, double baselineMs)
{
    std::printf("%-26s %8.1f ms   %-20s %8.1f ms   %6.2fx faster\n", what, ms, baseline,
                baselineMs, baselineMs / ms);
}

} // namespace

int main()
{
    const QImage source = makePicture(6000, 4000);
    std::printf("picture %dx%d, %d threads\n", source.width(), source.height(),
                QThreadPool::globalInstance()->maxThreadCount());

    QImage fast = source.copy();
    QImage reference = source.copy();

    const double hsvFast = best(3, [&] { imaging::adjustHsv(source, fast, 40, 30, -20); });
    const double hsvReference =
        best(1, [&] { imagingreference::hsvAdjust(source, reference, 40, 30, -20); });
    compare("hue-saturation", hsvFast, "per-pixel reference", hsvReference);
    std::printf("  identical pixels: %s\n", fast == reference ? "yes" : "NO");

    const double balanceFast =
        best(3, [&] { imaging::adjustColorBalance(source, fast, 30, -20, 10); });
    const double balanceReference =
        best(1, [&] { imagingreference::balanceAdjust(source, reference, 30, -20, 10); });
    compare("colour balance", balanceFast, "per-pixel reference", balanceReference);
    std::printf("  identical pixels: %s\n", fast == reference ? "yes" : "NO");

    QImage copy = source.copy();
    const double copyMs = best(5, [&] {
        std::memcpy(copy.bits(), source.constBits(), size_t(source.sizeInBytes()));
    });
    const double brightness =
        best(5, [&] { imaging::adjustBrightnessContrastGamma(source, fast, 20, 10, -5); });
    std::printf("%-26s %8.1f ms   %-20s %8.1f ms   %6.2fx the copy's time\n",
                "brightness-contrast-gamma", brightness, "copy of the bytes", copyMs,
                brightness / copyMs);
    return 0;
}
