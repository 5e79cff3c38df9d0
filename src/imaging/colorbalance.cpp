#include "imaging/colorbalance.h"

#include "imaging/channeltables.h"
#include "imaging/scanlinepass.h"

#include <algorithm>

namespace imaging {

namespace {

int shifted(int channel, int offset)
{
    return std::clamp(channel + std::clamp(offset, -255, 255), 0, 255);
}

ChannelTable offsetTable(int offset)
{
    ChannelTable table;
    for (int v = 0; v < 256; ++v)
        table[v] = shifted(v, offset);
    return table;
}

} // namespace

QRgb balanceColor(QRgb color, int red, int green, int blue)
{
    return qRgb(shifted(qRed(color), red), shifted(qGreen(color), green),
                shifted(qBlue(color), blue));
}

bool adjustColorBalance(const QImage& source, QImage& target, int red, int green, int blue)
{
    if (recolorTable(source, target,
                     [=](QRgb color) { return balanceColor(color, red, green, blue); }))
        return true;
    return applyChannelTables(source, target, offsetTable(red), offsetTable(green),
                              offsetTable(blue));
}

} // namespace imaging
