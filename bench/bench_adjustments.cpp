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

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>

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

double milliseconds(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// Best times of two pieces of work run alternately, so that both see the same load on the
// machine (other programs may be busy on it).
std::pair<double, double> bestOfAlternating(int runs, const std::function<void()>& first,
                                            const std::function<void()>& second)
{
    double a = milliseconds(first);
    double b = milliseconds(second);
    for (int i = 1; i < runs; ++i) {
        a = std::min(a, milliseconds(first));
        b = std::min(b, milliseconds(second));
    }
    return {a, b};
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

    const auto [hsvFast, hsvReference] = bestOfAlternating(
        3, [&] { imaging::adjustHsv(source, fast, 40, 30, -20); },
        [&] { imagingreference::hsvAdjust(source, reference, 40, 30, -20); });
    compare("hue-saturation", hsvFast, "per-pixel reference", hsvReference);
    std::printf("  identical pixels: %s\n", fast == reference ? "yes" : "NO");

    const auto [balanceFast, balanceReference] = bestOfAlternating(
        3, [&] { imaging::adjustColorBalance(source, fast, 30, -20, 10); },
        [&] { imagingreference::balanceAdjust(source, reference, 30, -20, 10); });
    compare("colour balance", balanceFast, "per-pixel reference", balanceReference);
    std::printf("  identical pixels: %s\n", fast == reference ? "yes" : "NO");

    QImage copy = source.copy();
    const auto [brightness, copyMs] = bestOfAlternating(
        7, [&] { imaging::adjustBrightnessContrastGamma(source, fast, 20, 10, -5); },
        [&] { std::memcpy(copy.bits(), source.constBits(), size_t(source.sizeInBytes())); });
    std::printf("%-26s %8.1f ms   %-20s %8.1f ms   %6.2fx the copy's time\n",
                "brightness-contrast-gamma", brightness, "copy of the bytes", copyMs,
                brightness / copyMs);
    return 0;
}
