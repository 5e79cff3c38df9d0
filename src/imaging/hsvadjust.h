#pragma once

#include <QImage>

namespace imaging {

// Hue, saturation and value offsets for the whole picture. Each colour goes to HSV as
// QColor::getHsv gives it, gets the offsets added and clamped (hue to 0..359, not wrapped; a
// grey's hue -1 so becomes 0 plus the offset), and comes back as QColor::setHsv makes it, opaque.

// One colour; alpha is ignored and the result opaque. Offsets are clamped to hue -359..359,
// saturation and value -255..255.
QRgb adjustHsvColor(QRgb color, int hue, int saturation, int value);

// Writes into target the source with every colour adjusted. A picture with a colour table keeps
// its pixels and gets a new table; any other picture has every pixel recomputed, made opaque,
// in a 32-bit layout (other layouts are converted first). False when memory for the result
// could not be had.
bool adjustHsv(const QImage& source, QImage& target, int hue, int saturation, int value);

} // namespace imaging
