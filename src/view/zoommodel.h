#pragma once

#include <Qt>

class QSize;

// The arithmetic of a picture view's zoom: scale limits, the fit rule, the canvas size that
// keeps a margin around the picture, and the wheel's step factors.
class ZoomModel
{
public:
    static constexpr double minScale = 0.05;
    static constexpr double maxScale = 16.0;

    // The stored zoom modes a view acts on; any other stored value keeps the current scale.
    static constexpr int fitMode = 0;
    static constexpr int trueSizeMode = 4;
    static constexpr int manualMode = 5;
    static constexpr int fitNoEnlargingMode = 6;

    // Whether the mode shows a picture larger than the window smaller than its pixels.
    static bool fitsLargePictures(int mode);
    static double clampScale(double scale);
    // The scale at which the whole image fits in aw by ah; the old scale when nothing fits.
    static double fitScale(const QSize& image, int aw, int ah, double oldScale);
    // The fit scale for a picture larger than aw by ah, true size for one that is not; true
    // size too when there is nothing to fit.
    static double fitNoEnlargingScale(const QSize& image, int aw, int ah);
    // The canvas for a picture of sw by sh in a viewport, with margin room when it overflows.
    static QSize canvasSize(int sw, int sh, const QSize& viewport, int margin);
    // The factor one wheel turn of steps notches applies to the scale.
    static double wheelFactor(double steps, Qt::KeyboardModifiers modifiers);
};
