#pragma once

#include <QSize>

// One zoom pass of a picture view worked out without widgets: the scale a zoom mode gives, the
// canvas that scale needs, and the scroll values that keep the same part of the picture in the
// middle.
class ZoomFit
{
public:
    ZoomFit(const QSize& viewport, int margin);

    // Remembers which part of the canvas is in the middle at these scroll values.
    void setCenter(const QSize& canvas, int scrollX, int scrollY);
    double scale(int mode, double current, const QSize& image, bool broken) const;
    // The canvas for a picture shown at scaled size, or the bare viewport when none is shown.
    QSize canvas(const QSize& scaled, bool shown) const;
    // The scroll values that bring the remembered middle back on a canvas of this size.
    int scrollX(int canvasWidth) const;
    int scrollY(int canvasHeight) const;

private:
    QSize m_viewport;
    int m_margin = 0;
    int m_aw = 0;
    int m_ah = 0;
    double m_cx = 0.5;
    double m_cy = 0.5;
};
