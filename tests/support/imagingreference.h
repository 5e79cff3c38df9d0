#pragma once

// Straightforward per-pixel versions of the colour adjustments, kept to prove that the fast
// scan-line passes give the same pixels and to measure how much faster they are.

#include <QColor>
#include <QImage>

#include <array>

namespace imagingreference {

inline QRgb hsvColor(QRgb rgb, int hueOffset, int saturationOffset, int valueOffset)
{
    int h;
    int s;
    int v;
    QColor(rgb).getHsv(&h, &s, &v);
    QColor result;
    result.setHsv(qBound(0, h + hueOffset, 359), qBound(0, s + saturationOffset, 255),
                  qBound(0, v + valueOffset, 255), 255);
    return result.rgb();
}

inline QRgb balanceColor(QRgb rgb, int red, int green, int blue)
{
    return qRgb(qBound(0, qRed(rgb) + red, 255), qBound(0, qGreen(rgb) + green, 255),
                qBound(0, qBlue(rgb) + blue, 255));
}

// The pass over pixel() and setPixel(), column by column, or over the colour table of a
// picture of 8 bits or less. Like the dialog's target, target must start as a copy of source.
template <typename ColorFunction>
void adjust(const QImage& source, QImage& target, ColorFunction color)
{
    if (source.depth() > 8) {
        for (int x = 0; x < source.width(); ++x) {
            for (int y = 0; y < source.height(); ++y)
                target.setPixel(x, y, color(source.pixel(x, y)));
        }
    } else {
        for (int i = 0; i < source.colorCount(); ++i)
            target.setColor(i, color(source.color(i)));
    }
}

inline void hsvAdjust(const QImage& source, QImage& target, int hue, int saturation, int value)
{
    adjust(source, target, [=](QRgb rgb) { return hsvColor(rgb, hue, saturation, value); });
}

inline void balanceAdjust(const QImage& source, QImage& target, int red, int green, int blue)
{
    adjust(source, target, [=](QRgb rgb) { return balanceColor(rgb, red, green, blue); });
}

// The table pass on 32-bit words; pictures with a colour table are left alone.
inline void tableAdjust(const QImage& source, QImage& target, const std::array<int, 256>& table)
{
    if (source.colorCount() != 0)
        return;
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = reinterpret_cast<const QRgb*>(source.constScanLine(y))[x];
            reinterpret_cast<QRgb*>(target.scanLine(y))[x] =
                qRgb(table[qRed(p)], table[qGreen(p)], table[qBlue(p)]);
        }
    }
}

} // namespace imagingreference
