#pragma once

#include <QImage>

namespace imaging {

// The pixel work of inserting an image (from the clipboard) into the picture at a chosen place
// and size, growing the picture to hold it when asked.

// Largest left (or top) edge for an insert of the given width (or height), whatever the
// picture's size.
int maximumInsertPosition(int insertLength);

// Size of the result: with enlarge, grown right and down to hold placement; else the source's.
QSize insertCanvasSize(const QSize& sourceSize, const QRect& placement, bool enlarge);

// The source, grown as above with zero pixel values, with insert drawn scaled into placement;
// what falls outside is clipped. A picture with a colour table cannot be painted on, so it is
// converted to 32 bits first. Null when memory for the result could not be had.
QImage insertImage(const QImage& source, const QImage& insert, const QRect& placement,
                   bool enlarge);

} // namespace imaging
