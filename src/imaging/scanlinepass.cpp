#include "imaging/scanlinepass.h"

#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>
#include <vector>

namespace imaging {

namespace {

// Below this many pixels the cost of handing out work exceeds the gain.
constexpr qint64 parallelThreshold = 256 * 256;

struct RowBand
{
    int first;
    int end;
};

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
    const int threads = QThreadPool::globalInstance()->maxThreadCount();
    if (threads < 2 || qint64(height) * width < parallelThreshold || height < 2) {
        work(0, height);
        return;
    }
    // A few bands per thread keep the cores busy when some bands finish early.
    const int bandCount = std::min(height, threads * 4);
    std::vector<RowBand> bands;
    bands.reserve(bandCount);
    for (int i = 0; i < bandCount; ++i)
        bands.push_back({int(qint64(height) * i / bandCount),
                         int(qint64(height) * (i + 1) / bandCount)});
    QtConcurrent::blockingMap(bands, [&work](const RowBand& band) { work(band.first, band.end); });
}

} // namespace imaging
