#pragma once

#include <QImage>

namespace imaging {

// Whether the image carries a colour space other than sRGB, so that a screen (taken as sRGB)
// shows it right only from a converted copy. An image without one is taken as sRGB already.
bool needsDisplayConversion(const QImage& image);

// The image as a screen should show it: converted to sRGB when it carries another colour
// space, else the image itself (shared, no copy).
QImage displayColours(const QImage& image);

} // namespace imaging
