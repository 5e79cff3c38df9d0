#include "imaging/rotation.h"

#include <QTransform>

namespace imaging {

QImage rotated(const QImage& source, double degrees, bool smooth)
{
    if (source.isNull())
        return source;
    return source.transformed(QTransform().rotate(degrees),
                              smooth ? Qt::SmoothTransformation : Qt::FastTransformation);
}

} // namespace imaging
