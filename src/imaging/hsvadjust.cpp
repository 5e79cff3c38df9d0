#include "imaging/hsvadjust.h"

#include "imaging/hsvcolor.h"
#include "imaging/scanlinepass.h"

#include <algorithm>
#include <array>
#include <vector>

namespace imaging {

namespace {

// The offsets turned into tables, so that a pixel costs a hue division and table loads.
class HsvShift
{
public:
    HsvShift(int hue, int saturation, int value) : m_saturation(256 * 256)
    {
        hue = std::clamp(hue, -359, 359);
        saturation = std::clamp(saturation, -255, 255);
        value = std::clamp(value, -255, 255);
        for (int h = -1; h < 360; ++h)
            m_hue[h + 1] = hueParts(std::clamp(h + hue, 0, 359));
        for (int v = 0; v < 256; ++v)
            m_value[v] = quint8(std::clamp(v + value, 0, 255));
        for (int max = 0; max < 256; ++max) {
            for (int min = 0; min <= max; ++min)
                m_saturation[max * 256 + min] =
                    quint8(std::clamp(hsvSaturation(max, min) + saturation, 0, 255));
        }
    }

    QRgb apply(QRgb rgb) const
    {
        const int r = qRed(rgb);
        const int g = qGreen(rgb);
        const int b = qBlue(rgb);
        const int max = std::max(r, std::max(g, b));
        const int min = std::min(r, std::min(g, b));
        const int hue = max == min ? -1 : hsvHue(r, g, b, max, min);
        return fromHsv(m_hue[hue + 1], m_saturation[max * 256 + min], m_value[max]);
    }

private:
    std::array<HueParts, 361> m_hue; // by hue + 1, so that grey's -1 has a place
    std::array<quint8, 256> m_value;
    std::vector<quint8> m_saturation; // by max * 256 + min
};

} // namespace

QRgb adjustHsvColor(QRgb color, int hue, int saturation, int value)
{
    const Hsv hsv = toHsv(color);
    return fromHsv(std::clamp(hsv.hue + std::clamp(hue, -359, 359), 0, 359),
                   std::clamp(hsv.saturation + std::clamp(saturation, -255, 255), 0, 255),
                   std::clamp(hsv.value + std::clamp(value, -255, 255), 0, 255));
}

bool adjustHsv(const QImage& source, QImage& target, int hue, int saturation, int value)
{
    if (recolorTable(source, target,
                     [=](QRgb color) { return adjustHsvColor(color, hue, saturation, value); }))
        return true;
    const QImage input = toArgb32Layout(source);
    if (input.isNull() || !prepareTarget(input, target))
        return false;

    const HsvShift shift(hue, saturation, value);
    const int width = input.width();
    const uchar* inBits = input.constBits();
    uchar* outBits = target.bits();
    const qsizetype inStride = input.bytesPerLine();
    const qsizetype outStride = target.bytesPerLine();
    forEachRowBand(input.height(), width, [=, &shift](int first, int end) {
        for (int y = first; y < end; ++y) {
            const QRgb* in = reinterpret_cast<const QRgb*>(inBits + y * inStride);
            QRgb* out = reinterpret_cast<QRgb*>(outBits + y * outStride);
            for (int x = 0; x < width; ++x)
                out[x] = shift.apply(in[x]);
        }
    });
    return true;
}

} // namespace imaging
