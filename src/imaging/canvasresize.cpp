#include "imaging/canvasresize.h"

#include <algorithm>

namespace imaging {

QSize boundedSize(const QSize& size, const QSize& source)
{
    // A picture already longer than the limit may keep its length.
    return {std::clamp(size.width(), 1, std::max(maximumSide, source.width())),
            std::clamp(size.height(), 1, std::max(maximumSide, source.height()))};
}

Alignment alignmentForRow(int row)
{
    switch (row) {
    case 1:
        return Alignment::Center;
    case 2:
        return Alignment::End;
    default:
        return Alignment::Start;
    }
}

int alignedOffset(int sourceLength, int newLength, Alignment alignment)
{
    switch (alignment) {
    case Alignment::Start:
        break;
    case Alignment::Center:
        return qRound((sourceLength - newLength) * 0.5);
    case Alignment::End:
        return sourceLength - newLength;
    }
    return 0;
}

QImage cutOrExtend(const QImage& source, const QSize& size, Alignment horizontal,
                   Alignment vertical)
{
    if (source.isNull())
        return source;
    const QSize canvas = boundedSize(size, source.size());
    const int x = alignedOffset(source.width(), canvas.width(), horizontal);
    const int y = alignedOffset(source.height(), canvas.height(), vertical);
    return source.copy(QRect(QPoint(x, y), canvas));
}

QImage stretched(const QImage& source, const QSize& size)
{
    if (source.isNull())
        return source;
    return source.scaled(boundedSize(size, source.size()), Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation);
}

} // namespace imaging
