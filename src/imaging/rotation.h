#pragma once

#include <QImage>
#include <QImageIOHandler>

namespace imaging {

// The source turned clockwise by degrees about its centre, smoothly or fast; the result is the
// bounding box of the turned picture, so its size follows the angle. Null when the memory for
// it could not be had.
QImage rotated(const QImage& source, double degrees, bool smooth);

// The size rotated() gives a source of the given size, worked out without its pixels.
QSize rotatedSize(const QSize& size, double degrees);

// A stored orientation applied the way QImageReader applies it: mirror and flip, then a
// quarter turn clockwise. The colour space stays.
QImage oriented(const QImage& image, QImageIOHandler::Transformations transformation);

// The rotation slider counts half degrees.
inline double rotationAngle(int halfDegrees)
{
    return halfDegrees * 0.5;
}

} // namespace imaging
