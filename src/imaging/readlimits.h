#pragma once

#include <QImage>

namespace imaging {

// Decides whether a picture announced by a file can be decoded without endangering the
// process: a small file may announce a gigantic size, and such a file is treated as unreadable
// rather than allowed to exhaust memory. The budget is a quarter of the physical memory.
class ReadLimits
{
public:
    explicit ReadLimits(qint64 physicalBytes);

    // The limits of the machine this runs on.
    static ReadLimits forThisMachine();

    qint64 budgetBytes() const { return m_physicalBytes / 4; }

    // Bytes of a decoded picture of that size and depth, rows padded to 32 bits as QImage pads
    // them: 0 for an empty or invalid (unknown) size, -1 for a depth that is not positive, the
    // largest qint64 where the product would overflow.
    static qint64 imageBytes(const QSize& size, int bitsPerPixel);

    // Whether a picture of that size and depth fits the budget. An unknown size fits: there is
    // nothing to refuse before decoding, and decoding such a file is the reader's own risk.
    bool fits(const QSize& size, int bitsPerPixel) const;
    bool fits(const QSize& size, QImage::Format format) const;

private:
    qint64 m_physicalBytes;
};

// Physical memory of this machine in bytes, or a cautious 2 GiB when it cannot be learnt.
qint64 physicalMemoryBytes();

// ReadLimits::forThisMachine().fits(size, bitsPerPixel).
bool fitsInMemory(const QSize& size, int bitsPerPixel);

// The same with the depth of a format; an invalid format counts as 32 bits, what most readers
// deliver.
bool fitsInMemory(const QSize& size, QImage::Format format);

} // namespace imaging
