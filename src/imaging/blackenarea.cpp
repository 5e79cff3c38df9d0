#include "imaging/blackenarea.h"

#include <QPainter>

#include <cstring>

namespace imaging {

namespace {

// The index of opaque black in the colour table, added when the table has room for it; -1 when
// the table is full without it.
int blackIndex(QImage& image, int maximumColors)
{
    const QRgb black = qRgb(0, 0, 0);
    const int found = image.colorTable().indexOf(black);
    if (found >= 0)
        return found;
    const int count = image.colorCount();
    if (count >= maximumColors)
        return -1;
    image.setColorCount(count + 1);
    image.setColor(count, black);
    return count;
}

} // namespace

// A painter cannot draw on pictures with a colour table, so those get their black entry written
// into the rows directly; a table with no room for black gives way to a format that has it.
void blackenArea(QImage& image, const QRect& area)
{
    const QRect rect = area.intersected(image.rect());
    if (rect.isEmpty())
        return;
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB) {
        const int black = blackIndex(image, 2);
        if (black >= 0) {
            const bool lsb = image.format() == QImage::Format_MonoLSB;
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                uchar* line = image.scanLine(y);
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    const auto bit = static_cast<uchar>(lsb ? 1u << (x & 7) : 0x80u >> (x & 7));
                    line[x >> 3] = black ? uchar(line[x >> 3] | bit) : uchar(line[x >> 3] & ~bit);
                }
            }
            return;
        }
        image = image.convertToFormat(QImage::Format_Indexed8);
    }
    if (image.format() == QImage::Format_Indexed8) {
        const int black = blackIndex(image, 256);
        if (black >= 0) {
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                std::memset(image.scanLine(y) + rect.left(), black, size_t(rect.width()));
            return;
        }
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                              : QImage::Format_RGB32);
    }
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect, Qt::black);
}

} // namespace imaging
