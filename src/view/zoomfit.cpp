#include "view/zoomfit.h"

#include "view/zoommodel.h"

#include <QtGlobal>

#include <algorithm>

ZoomFit::ZoomFit(const QSize& viewport, int margin)
    : m_viewport(viewport)
    , m_margin(margin)
    , m_aw(viewport.width() - margin)
    , m_ah(viewport.height() - margin)
{
}

void ZoomFit::setCenter(const QSize& canvas, int scrollX, int scrollY)
{
    m_cx = canvas.width() > 0 ? (scrollX + m_aw * 0.5) / canvas.width() : 0.5;
    m_cy = canvas.height() > 0 ? (scrollY + m_ah * 0.5) / canvas.height() : 0.5;
}

double ZoomFit::scale(int mode, double current, const QSize& image, bool broken) const
{
    if (broken)
        return 1.0;
    if (mode == ZoomModel::fitMode)
        return ZoomModel::fitScale(image, m_aw, m_ah, current);
    if (mode == ZoomModel::fitNoEnlargingMode)
        return ZoomModel::fitNoEnlargingScale(image, m_aw, m_ah);
    if (mode == ZoomModel::trueSizeMode)
        return 1.0;
    return current;
}

QSize ZoomFit::canvas(const QSize& scaled, bool shown) const
{
    if (shown)
        return ZoomModel::canvasSize(scaled.width(), scaled.height(), m_viewport, m_margin);
    return QSize(std::max(0, m_aw), std::max(0, m_ah));
}

int ZoomFit::scrollX(int canvasWidth) const
{
    return qRound(canvasWidth * m_cx - m_aw / 2);
}

int ZoomFit::scrollY(int canvasHeight) const
{
    return qRound(canvasHeight * m_cy - m_ah / 2);
}
