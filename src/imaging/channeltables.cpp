#include "imaging/channeltables.h"

#include "imaging/scanlinepass.h"

#include <algorithm>

namespace imaging {

namespace {

// The table's values already moved to their place in the pixel word.
std::array<uint, 256> shifted(const ChannelTable& table, int shift)
{
    std::array<uint, 256> result;
    for (int v = 0; v < 256; ++v)
        result[v] = uint(std::clamp(table[v], 0, 255)) << shift;
    return result;
}

} // namespace

bool applyChannelTables(const QImage& source, QImage& target, const ChannelTable& red,
                        const ChannelTable& green, const ChannelTable& blue)
{
    Q_ASSERT(source.colorCount() == 0);
    const QImage input = toArgb32Layout(source);
    if (input.isNull() || !prepareTarget(input, target))
        return false;

    const std::array<uint, 256> r = shifted(red, 16);
    const std::array<uint, 256> g = shifted(green, 8);
    const std::array<uint, 256> b = shifted(blue, 0);
    const int width = input.width();
    // Rows are reached through the raw pointers: scanLine() on the target is not thread-safe.
    const uchar* inBits = input.constBits();
    uchar* outBits = target.bits();
    const qsizetype inStride = input.bytesPerLine();
    const qsizetype outStride = target.bytesPerLine();
    forEachRowBand(input.height(), width, [=, &r, &g, &b](int first, int end) {
        for (int y = first; y < end; ++y) {
            const QRgb* in = reinterpret_cast<const QRgb*>(inBits + y * inStride);
            QRgb* out = reinterpret_cast<QRgb*>(outBits + y * outStride);
            for (int x = 0; x < width; ++x) {
                const QRgb p = in[x];
                out[x] = 0xff000000u | r[qRed(p)] | g[qGreen(p)] | b[qBlue(p)];
            }
        }
    });
    return true;
}

} // namespace imaging
