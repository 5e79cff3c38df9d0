#include "imaging/reorientation.h"

#include <QRect>
#include <QTransform>

namespace imaging {

QImage reoriented(const QImage& source, Reorientation how)
{
    if (source.isNull())
        return source;
    switch (how) {
    case Reorientation::RotateLeft:
        // Qt moves whole rows for exact quarter turns, with no resampling.
        return source.transformed(QTransform().rotate(-90));
    case Reorientation::RotateRight:
        return source.transformed(QTransform().rotate(90));
    case Reorientation::FlipHorizontally:
        return source.mirrored(true, false);
    case Reorientation::FlipVertically:
        return source.mirrored(false, true);
    }
    return source;
}

QImage cropped(const QImage& source, const QRect& rect)
{
    const QRect inside = rect.normalized().intersected(source.rect());
    if (inside.isEmpty())
        return QImage();
    return source.copy(inside);
}

} // namespace imaging
