#pragma once

#include <QImage>

class QRect;

namespace imaging {

// The quarter turns and mirrorings of the Image menu: lossless, so the pixels only move.
enum class Reorientation
{
    RotateLeft,
    RotateRight,
    FlipHorizontally,
    FlipVertically
};

// The source turned a quarter counter-clockwise (left) or clockwise (right), or mirrored left to
// right (horizontally) or top to bottom (vertically), in its own format and colour table.
QImage reoriented(const QImage& source, Reorientation how);

// The part of the source inside rect; null when rect leaves nothing of it.
QImage cropped(const QImage& source, const QRect& rect);

} // namespace imaging
