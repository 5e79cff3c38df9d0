#include "imaging/rotation.h"

#include <QColorSpace>
#include <QPolygonF>
#include <QTransform>

namespace imaging {

QImage rotated(const QImage& source, double degrees, bool smooth)
{
    if (source.isNull())
        return source;
    return source.transformed(QTransform().rotate(degrees),
                              smooth ? Qt::SmoothTransformation : Qt::FastTransformation);
}

QSize rotatedSize(const QSize& size, double degrees)
{
    if (size.isEmpty())
        return size;
    // As QImage::transformed() measures its result: the bounding box of the turned corners.
    const QTransform turn =
        QImage::trueMatrix(QTransform().rotate(degrees), size.width(), size.height());
    return turn.map(QPolygonF(QRectF(QPointF(0, 0), QSizeF(size))))
        .boundingRect()
        .toAlignedRect()
        .size();
}

QImage oriented(const QImage& image, QImageIOHandler::Transformations transformation)
{
    QImage turned = image.mirrored(transformation & QImageIOHandler::TransformationMirror,
                                   transformation & QImageIOHandler::TransformationFlip);
    if (transformation & QImageIOHandler::TransformationRotate90) {
        // A transformed copy would go without the colour space.
        turned = turned.transformed(QTransform().rotate(90));
        turned.setColorSpace(image.colorSpace());
    }
    return turned;
}

} // namespace imaging
