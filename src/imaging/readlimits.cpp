#include "imaging/readlimits.h"

#include <QSize>

#include <limits>
#include <unistd.h>

namespace imaging {

namespace {

constexpr qint64 fallbackPhysicalBytes = qint64(2) << 30;

int bitsOf(QImage::Format format)
{
    if (format == QImage::Format_Invalid)
        return 32;
    return QImage::toPixelFormat(format).bitsPerPixel();
}

} // namespace

ReadLimits::ReadLimits(qint64 physicalBytes) : m_physicalBytes(physicalBytes)
{
}

ReadLimits ReadLimits::forThisMachine()
{
    static const qint64 bytes = physicalMemoryBytes();
    return ReadLimits(bytes);
}

qint64 ReadLimits::imageBytes(const QSize& size, int bitsPerPixel)
{
    if (bitsPerPixel <= 0)
        return -1;
    if (size.isEmpty())
        return 0;
    const qint64 bytesPerLine = ((qint64(size.width()) * bitsPerPixel + 31) / 32) * 4;
    if (bytesPerLine > std::numeric_limits<qint64>::max() / size.height())
        return std::numeric_limits<qint64>::max();
    return bytesPerLine * size.height();
}

bool ReadLimits::fits(const QSize& size, int bitsPerPixel) const
{
    const qint64 bytes = imageBytes(size, bitsPerPixel);
    return bytes >= 0 && bytes <= budgetBytes();
}

bool ReadLimits::fits(const QSize& size, QImage::Format format) const
{
    return fits(size, bitsOf(format));
}

qint64 physicalMemoryBytes()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return fallbackPhysicalBytes;
    if (qint64(pages) > std::numeric_limits<qint64>::max() / pageSize)
        return std::numeric_limits<qint64>::max();
    return qint64(pages) * pageSize;
}

bool fitsInMemory(const QSize& size, int bitsPerPixel)
{
    return ReadLimits::forThisMachine().fits(size, bitsPerPixel);
}

bool fitsInMemory(const QSize& size, QImage::Format format)
{
    return ReadLimits::forThisMachine().fits(size, format);
}

} // namespace imaging
