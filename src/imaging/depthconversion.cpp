#include "imaging/depthconversion.h"

namespace imaging {

QImage::Format depthFormatForRow(int row)
{
    switch (row) {
    case 1:
        return QImage::Format_Indexed8;
    case 2:
        return QImage::Format_RGB32;
    default:
        return QImage::Format_Mono;
    }
}

Qt::ImageConversionFlags ditherForRow(int row)
{
    switch (row) {
    case 1:
        return Qt::OrderedDither;
    case 2:
        return Qt::ThresholdDither;
    default:
        return Qt::DiffuseDither;
    }
}

QImage convertDepth(const QImage& source, int depthRow, int ditherRow)
{
    if (source.isNull())
        return source;
    return source.convertToFormat(depthFormatForRow(depthRow), ditherForRow(ditherRow));
}

int newImageDepthForRow(int row)
{
    switch (row) {
    case 0:
        return 1;
    case 1:
        return 8;
    default:
        return 32;
    }
}

QImage::Format newImageFormat(int depth)
{
    switch (depth) {
    case 32:
        return QImage::Format_RGB32;
    case 8:
        return QImage::Format_Indexed8;
    default:
        return QImage::Format_Mono;
    }
}

QImage newImage(const QSize& size, int depth, QRgb pixel)
{
    if (size.isEmpty())
        return QImage();
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(pixel);
    return image.convertToFormat(newImageFormat(depth), Qt::ThresholdDither);
}

} // namespace imaging
