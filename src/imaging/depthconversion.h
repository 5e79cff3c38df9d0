#pragma once

#include <QImage>

namespace imaging {

// Colour-depth conversion with dithering, and the pixels of a new picture.

// Rows of the depth list: 0 (or none) 1 bit, 1 8 bits, 2 32 bits.
QImage::Format depthFormatForRow(int row);

// Rows of the dither list: 0 (or none) diffuse, 1 ordered, 2 none (threshold).
Qt::ImageConversionFlags ditherForRow(int row);

// The source converted to the rows' format with the rows' dithering. Null when memory for the
// result could not be had.
QImage convertDepth(const QImage& source, int depthRow, int ditherRow);

// Depth of a new picture from the new-image dialog's depth row: 1, 8, or 32 for any other row.
int newImageDepthForRow(int row);

// Format of a new picture of depth bits: 32 RGB32, 8 Indexed8, any other Mono.
QImage::Format newImageFormat(int depth);

// A new picture filled with the 32-bit pixel value, reduced to the depth without dithering, so
// it is uniform. Null for an empty size or when memory could not be had.
QImage newImage(const QSize& size, int depth, QRgb pixel);

} // namespace imaging
