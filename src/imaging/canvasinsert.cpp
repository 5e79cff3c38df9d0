#include "imaging/canvasinsert.h"

#include "imaging/canvasresize.h"

#include <QPainter>

#include <algorithm>

namespace imaging {

int maximumInsertPosition(int insertLength)
{
    return maximumSide - insertLength;
}

QSize insertCanvasSize(const QSize& sourceSize, const QRect& placement, bool enlarge)
{
    if (!enlarge)
        return sourceSize;
    return {std::max(placement.x() + placement.width(), sourceSize.width()),
            std::max(placement.y() + placement.height(), sourceSize.height())};
}

QImage insertImage(const QImage& source, const QImage& insert, const QRect& placement,
                   bool enlarge)
{
    if (source.isNull())
        return source;
    QImage result = source.copy(QRect(QPoint(0, 0), insertCanvasSize(source.size(), placement,
                                                                      enlarge)));
    if (result.colorCount() != 0) {
        result = result.convertToFormat(result.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                 : QImage::Format_RGB32);
    }
    if (result.isNull() || insert.isNull())
        return result;
    QPainter painter;
    if (!painter.begin(&result))
        return QImage();
    painter.drawImage(QRectF(placement), insert, QRectF(insert.rect()));
    painter.end();
    return result;
}

} // namespace imaging
