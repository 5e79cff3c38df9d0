#pragma once

#include <QImage>

#include <functional>

namespace imaging {

// Helpers shared by the passes that rewrite a picture scan line by scan line.

// True for the layouts whose pixels are one native 32-bit ARGB word each.
bool isArgb32Layout(QImage::Format format);

// The picture in a layout the passes read as 32-bit words: RGB32 and the two ARGB32 layouts
// are kept as they are; any other layout without a colour table (grey, 16, 24 or 64 bits) is
// converted, to ARGB32 when it carries alpha and to RGB32 otherwise.
QImage toArgb32Layout(const QImage& image);

// Makes target a writable picture of the source's size and format, reusing its pixel memory
// when it already has that shape and is not shared; the dots per metre follow the source.
// False when the memory could not be had (target is then null).
bool prepareTarget(const QImage& source, QImage& target);

// For a null picture or one with a colour table, makes target the source with each table entry
// passed through recolor and returns true; false for any other picture, left to the caller.
bool recolorTable(const QImage& source, QImage& target, const std::function<QRgb(QRgb)>& recolor);

// Runs work(firstRow, endRow) over bands of rows that together cover 0..height, on one thread per
// core when the picture is large enough to profit, and returns when all are done.
void forEachRowBand(int height, int width, const std::function<void(int, int)>& work);

} // namespace imaging
