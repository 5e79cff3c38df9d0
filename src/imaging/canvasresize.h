#pragma once

#include <QImage>

namespace imaging {

// The pixel work of resizing: scaling to a new size, or cutting and extending the canvas with
// the picture aligned inside it.

// Largest width or height a picture may be given, unless it is that long already.
constexpr int maximumSide = 8200;

// Where the picture sits along one axis of the new canvas: rows 0, 1, 2 of the alignment lists
// (top or left, centre, bottom or right).
enum class Alignment { Start, Center, End };

// Any row other than 1 and 2 aligns at the start.
Alignment alignmentForRow(int row);

// The position in the source where the new canvas begins along one axis; negative when the
// canvas is longer than the source. Centring rounds half up: 101 into 100 begins at 1.
int alignedOffset(int sourceLength, int newLength, Alignment alignment);

// The size a resize to the given size gives a source of the given size: each side kept within
// 1..maximumSide, or within the source's own length where that is longer.
QSize boundedSize(const QSize& size, const QSize& source);

// The canvas of the given size cut from the source or extended around it, the extension filled
// with zero pixel values. Each side is kept within 1..maximumSide, or within the source's own
// length where that is longer.
QImage cutOrExtend(const QImage& source, const QSize& size, Alignment horizontal,
                   Alignment vertical);

// The source scaled smoothly to exactly the given size, kept within the same bounds.
QImage stretched(const QImage& source, const QSize& size);

} // namespace imaging
