#pragma once

#include <QImage>

class QColorSpace;

namespace imaging {

// Whether a colour space shows as sRGB does: sRGB's primaries and white with sRGB's curve, or
// with the plain 2.2 gamma that files write for it (libpng reads that pair as sRGB too).
bool isSrgbLike(const QColorSpace& space);

// Whether the image carries a colour space a screen (taken as sRGB) shows right only from a
// converted copy. An image without one is taken as sRGB already.
bool needsDisplayConversion(const QImage& image);

// The image as a screen should show it: converted to sRGB when it needs it, else the image
// itself (shared, no copy). Pictures with a colour table have only the table converted.
QImage displayColours(const QImage& image);

} // namespace imaging
