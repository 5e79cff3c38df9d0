#pragma once

#include <QImage>

#include <array>

namespace imaging {

// Output channel value (0..255) for each input channel value.
using ChannelTable = std::array<int, 256>;

// Writes into target the source with each of red, green and blue looked up in its table and
// alpha made 255, scan line by scan line on all cores. The source must not have a colour table;
// layouts other than 32-bit words are converted first, so the result then is a 32-bit picture.
// False when memory for the result could not be had.
bool applyChannelTables(const QImage& source, QImage& target, const ChannelTable& red,
                        const ChannelTable& green, const ChannelTable& blue);

} // namespace imaging
