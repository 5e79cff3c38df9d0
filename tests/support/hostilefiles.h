#pragma once

#include <QByteArray>
#include <QSize>

// Small files that announce more than they hold, built byte by byte: headers claiming huge
// pictures, parts whose declared length runs past the end of the file.
namespace hostilefiles {

// The pieces the files are built of.
quint32 crc32(const QByteArray& bytes);
QByteArray bigEndian32(quint32 value);
QByteArray littleEndian32(quint32 value);

// One PNG chunk with its checksum; declaredLength, when not negative, replaces the true length.
QByteArray pngChunk(const QByteArray& type, const QByteArray& data, qint64 declaredLength = -1);

// A PNG of that size, depth and colour type whose image data is `data` compressed.
QByteArray png(const QSize& size, int bitDepth, int colourType, bool interlaced,
               const QByteArray& data);

// A JPEG made by Qt of a tiny picture whose frame header then claims `size`.
QByteArray jpegClaiming(const QSize& size);

// A GIF whose screen and only frame claim `size`, with the data of one pixel.
QByteArray gifClaiming(const QSize& size);

// An uncompressed 24-bit BMP whose header claims `size`, with one row of data.
QByteArray bmpClaiming(const QSize& size);

// Files of the plugin formats whose readers allocate what a part declares.
QByteArray sunRaster(quint32 mapLength);
QByteArray photoshop(quint32 resourcesLength);
QByteArray animatedCursor(quint32 listLength);
QByteArray mng(quint32 chunkLength);

} // namespace hostilefiles
