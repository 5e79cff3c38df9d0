#include "imaging/scanlinepass.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace imaging {

namespace {

// Below this many pixels the cost of handing out work exceeds the gain.
constexpr qint64 parallelThreshold = 256 * 256;

} // namespace

bool isArgb32Layout(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

QImage toArgb32Layout(const QImage& image)
{
    if (image.isNull() || isArgb32Layout(image.format()))
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

bool prepareTarget(const QImage& source, QImage& target)
{
    const bool reusable = !target.isNull() && target.size() == source.size() &&
                          target.format() == source.format() && target.isDetached();
    if (!reusable)
        target = QImage(source.size(), source.format());
    target.setDotsPerMeterX(source.dotsPerMeterX());
    target.setDotsPerMeterY(source.dotsPerMeterY());
    return !target.isNull();
}

bool recolorTable(const QImage& source, QImage& target, const std::function<QRgb(QRgb)>& recolor)
{
    if (!source.isNull() && source.colorCount() == 0)
        return false;
    target = source;
    for (int i = 0; i < source.colorCount(); ++i)
        target.setColor(i, recolor(source.color(i)));
    return true;
}

void forEachRowBand(int height, int width, const std::function<void(int, int)>& work)
{
    if (height <= 0)
        return;
    const int threads = QThread::idealThreadCount();
    if (threads < 2 || qint64(height) * width < parallelThreshold || height < 2) {
        work(0, height);
        return;
    }
    // A few bands per thread keep the cores busy when some bands finish early. Plain threads,
    // joined before returning, so that a thread-sanitizer build sees every hand-over.
    const int bandCount = std::min(height, threads * 4);
    std::atomic_int next{0};
    const auto workBands = [&] {
        for (int i = next++; i < bandCount; i = next++)
            work(int(qint64(height) * i / bandCount), int(qint64(height) * (i + 1) / bandCount));
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    for (int i = 1; i < threads; ++i)
        helpers.emplace_back(workBands);
    workBands();
    for (std::thread& helper : helpers)
        helper.join();
}

} // namespace imaging
