#include "imaging/colourinversion.h"

namespace imaging {

QImage invertedColours(const QImage& source)
{
    QImage result = source.copy();
    if (result.colorCount() == 0) {
        result.invertPixels(QImage::InvertRgb);
        return result;
    }
    // Qt would flip the index bits, which means nothing for an arbitrary colour table.
    QVector<QRgb> table = result.colorTable();
    for (QRgb& colour : table)
        colour = qRgba(255 - qRed(colour), 255 - qGreen(colour), 255 - qBlue(colour),
                       qAlpha(colour));
    result.setColorTable(table);
    return result;
}

} // namespace imaging
