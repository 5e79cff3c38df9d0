#include "view/zoommodel.h"

#include <QSize>

#include <algorithm>
#include <cmath>

double ZoomModel::clampScale(double scale)
{
    if (scale < minScale)
        return minScale;
    return std::min(scale, maxScale);
}

bool ZoomModel::fitsLargePictures(int mode)
{
    return mode == fitMode || mode == fitNoEnlargingMode;
}

double ZoomModel::fitScale(const QSize& image, int aw, int ah, double oldScale)
{
    // A viewport smaller than its margin, or an empty image, gives no meaningful fit.
    if (aw <= 0 || ah <= 0 || image.width() <= 0 || image.height() <= 0)
        return oldScale;
    if (double(image.height()) / image.width() > double(ah) / aw)
        return double(ah) / image.height();
    return double(aw) / image.width();
}

double ZoomModel::fitNoEnlargingScale(const QSize& image, int aw, int ah)
{
    return std::min(1.0, fitScale(image, aw, ah, 1.0));
}

QSize ZoomModel::canvasSize(int sw, int sh, const QSize& viewport, int margin)
{
    const int aw = viewport.width() - margin;
    const int ah = viewport.height() - margin;
    if (ah < sh && aw < sw)
        return QSize(sw + margin, sh + margin);
    if (aw >= sw)
        return QSize(viewport.width(), ah >= sh ? viewport.height() : sh + margin);
    return QSize(sw + margin, viewport.height());
}

double ZoomModel::wheelFactor(double steps, Qt::KeyboardModifiers modifiers)
{
    if (std::abs(steps) <= 1e-12)
        return 1.0;
    double perStep = 0.05;
    if (modifiers == Qt::ShiftModifier)
        perStep = 0.2;
    else if (modifiers == Qt::ControlModifier)
        perStep = 0.5;
    const double d = steps * perStep;
    return steps > 0 ? 1.0 + d : 1.0 / (1.0 - d);
}
