#pragma once

#include <QByteArray>
#include <QSize>

// Small files that announce more than they hold, built byte by byte. The fixed cases live as
// samples in tests/data/samples; these are for files a test shapes itself.
namespace hostilefiles {

quint32 crc32(const QByteArray& bytes);

// A PNG of that size, depth and colour type whose image data is `data` compressed.
QByteArray png(const QSize& size, int bitDepth, int colourType, bool interlaced,
               const QByteArray& data);

} // namespace hostilefiles
