#pragma once

#include <QRgb>

#include <algorithm>
#include <array>

namespace imaging {

// Conversions between RGB and HSV in integers that give exactly the numbers of
// QColor::getHsv and of QColor::setHsv followed by QColor::rgb, at a fraction of their cost.

struct Hsv
{
    int hue;        // 0..359, or -1 for a grey
    int saturation; // 0..255
    int value;      // 0..255
};

namespace detail {

// QColor rounds through 16-bit channels in doubles; where the exact result is a half, its
// rounding error decides, so these repeat its floating steps for those rare cases.
int saturationAtHalf(int max, int min);
int channelAtHalf(int hue, int saturation, int value, bool falling);

} // namespace detail

// Saturation of a colour whose largest channel is max and smallest min.
inline int hsvSaturation(int max, int min)
{
    if (max == min)
        return 0;
    const int twice = 510 * (max - min);
    if (twice % (2 * max) == max)
        return detail::saturationAtHalf(max, min);
    return (twice + max) / (2 * max);
}

namespace detail {

// 2^40 / (200 d) rounded up: multiplying by it and shifting divides exactly by 200 d for every
// dividend below 2^40 / 51000, which covers all hues times 200 d.
inline constexpr std::array<quint64, 256> hueReciprocals = [] {
    std::array<quint64, 256> r{};
    for (quint64 d = 1; d < 256; ++d)
        r[d] = ((quint64(1) << 40) + 200 * d - 1) / (200 * d);
    return r;
}();

// Bit positions of the value, middle and low channel in the pixel word, by sextant of hue.
inline constexpr int sextantShifts[6][3] = {{16, 8, 0}, {8, 16, 0}, {8, 0, 16},
                                            {0, 8, 16}, {0, 16, 8}, {16, 0, 8}};

} // namespace detail

// Hue of a colour that is not grey (max > min). QColor rounds to hundredths of a degree before
// cutting to whole degrees; that rounding never lands on a whole degree, so one exact division
// of the rational hue does.
inline int hsvHue(int r, int g, int b, int max, int min)
{
    const int d = max - min;
    // Selects rather than branches: which channel is largest is unpredictable in photographs.
    const bool redMax = r == max;
    const bool greenMax = !redMax && g == max;
    const int base = redMax ? (g >= b ? 0 : 360) : (greenMax ? 120 : 240);
    const int k = redMax ? g - b : (greenMax ? b - r : r - g);
    const quint64 dividend = quint64(200 * d * base + 12000 * k + d);
    return int((dividend * detail::hueReciprocals[d]) >> 40);
}

inline Hsv toHsv(QRgb rgb)
{
    const int r = qRed(rgb);
    const int g = qGreen(rgb);
    const int b = qBlue(rgb);
    const int max = std::max(r, std::max(g, b));
    const int min = std::min(r, std::min(g, b));
    if (max == min)
        return {-1, 0, max};
    return {hsvHue(r, g, b, max, min), hsvSaturation(max, min), max};
}

// What the conversion back to RGB needs of a hue (0..359), worked out once for callers that
// convert many colours of few hues.
struct HueParts
{
    int hue;
    int sextant;  // 0..5
    bool falling; // odd sextants fall from value towards low, even ones rise
    int slope;    // steps (of 60) from the sextant's value end
};

inline HueParts hueParts(int hue)
{
    const int sextant = hue / 60;
    const int step = hue % 60;
    const bool falling = sextant & 1;
    return {hue, sextant, falling, falling ? step : 60 - step};
}

// The opaque colour of a hue that is not grey, saturation and value (0..255).
inline QRgb fromHsv(const HueParts& hue, int saturation, int value)
{
    // Unsigned, because dividing by a constant is then a multiplication and a shift.
    const uint v = uint(value);
    const uint s = uint(saturation);
    const uint low = (2 * v * (255 - s) + 255) / 510;
    const uint twiceMid = 2 * v * (15300 - s * uint(hue.slope)) + 15300;
    uint mid = twiceMid / 30600;
    if (mid * 30600 == twiceMid)
        mid = uint(detail::channelAtHalf(hue.hue, saturation, value, hue.falling));
    const int* shifts = detail::sextantShifts[hue.sextant];
    return 0xff000000u | v << shifts[0] | mid << shifts[1] | low << shifts[2];
}

// The opaque colour of hue (0..359, or -1 for grey), saturation and value (0..255).
inline QRgb fromHsv(int hue, int saturation, int value)
{
    if (hue < 0)
        return qRgb(value, value, value);
    return fromHsv(hueParts(hue), saturation, value);
}

} // namespace imaging
