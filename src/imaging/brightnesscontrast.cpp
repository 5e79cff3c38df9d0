#include "imaging/brightnesscontrast.h"

#include <algorithm>
#include <cmath>

namespace imaging {

namespace {

double clampChannel(double x)
{
    return x < 0 ? 0 : std::min(x, 255.0);
}

} // namespace

ChannelTable brightnessContrastGammaTable(int brightness, int contrast, int gamma)
{
    brightness = std::clamp(brightness, -100, 100);
    contrast = std::clamp(contrast, -100, 100);
    gamma = std::clamp(gamma, -100, 100);
    const double exponent = 100.0 / std::max(double(gamma + 100), 0.01);
    const double shift = (brightness * 127) / 100.0;
    ChannelTable table;
    for (int v = 0; v < 256; ++v) {
        const double c = clampChannel((v - 127) * double(contrast + 100) / 100.0 + 127);
        const double b = clampChannel(shift + c);
        const double g = clampChannel(std::pow(b / 255, exponent) * 255);
        table[v] = int(std::round(g));
    }
    return table;
}

bool adjustBrightnessContrastGamma(const QImage& source, QImage& target, int brightness,
                                   int contrast, int gamma)
{
    // Pictures with a colour table keep their colours: only true-colour pixels are mapped.
    if (source.isNull() || source.colorCount() != 0) {
        target = source;
        return true;
    }
    const ChannelTable table = brightnessContrastGammaTable(brightness, contrast, gamma);
    return applyChannelTables(source, target, table, table, table);
}

} // namespace imaging
