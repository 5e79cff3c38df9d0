#pragma once

#include <QImage>

namespace imaging {

// Red, green and blue offsets for the whole picture (colour balance), each clamped to 0..255.

// One colour; alpha is ignored and the result opaque. Offsets are clamped to -255..255.
QRgb balanceColor(QRgb color, int red, int green, int blue);

// Writes into target the source with the offsets added. A picture with a colour table keeps its
// pixels and gets a new table; any other picture has every pixel recomputed, made opaque, in a
// 32-bit layout (other layouts are converted first). False when memory for the result could
// not be had.
bool adjustColorBalance(const QImage& source, QImage& target, int red, int green, int blue);

} // namespace imaging
