#include "imaging/colorbalance.h"

#include "imaging/channeltables.h"

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
    if (source.isNull()) {
        target = source;
        return true;
    }
    if (source.colorCount() != 0) {
        target = source;
        for (int i = 0; i < source.colorCount(); ++i)
            target.setColor(i, balanceColor(source.color(i), red, green, blue));
        return true;
    }
    return applyChannelTables(source, target, offsetTable(red), offsetTable(green),
                              offsetTable(blue));
}

} // namespace imaging
