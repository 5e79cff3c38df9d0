#include "imaging/hsvcolor.h"

#include <QtGlobal>

namespace imaging {

namespace {

// 16-bit channel to 8 bits, rounding half up, as QColor does.
int from16(int x)
{
    return (x + 128 - ((x + 128) >> 8)) >> 8;
}

double unit(int channel8)
{
    return (channel8 * 257) / 65535.0;
}

} // namespace

namespace detail {

int saturationAtHalf(int max, int min)
{
    const double high = unit(max);
    const double delta = high - unit(min);
    return from16(qRound((delta / high) * 65535));
}

int channelAtHalf(int hue, int saturation, int value, bool falling)
{
    const double sextants = (hue * 100) / 6000.0;
    const double f = sextants - int(sextants);
    const double s = unit(saturation);
    const double v = unit(value);
    const double x = falling ? v * (1.0 - (s * f)) : v * (1.0 - (s * (1.0 - f)));
    return from16(qRound(x * 65535));
}

} // namespace detail

} // namespace imaging
