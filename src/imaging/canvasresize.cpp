#include "imaging/canvasresize.h"

#include <algorithm>

namespace imaging {

namespace {

// A picture already longer than the limit may keep its length.
QSize bounded(const QSize& size, const QSize& source)
{
    return {std::clamp(size.width(), 1, std::max(maximumSide, source.width())),
            std::clamp(size.height(), 1, std::max(maximumSide, source.height()))};
}

} // namespace

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
    const QSize canvas = bounded(size, source.size());
    const int x = alignedOffset(source.width(), canvas.width(), horizontal);
    const int y = alignedOffset(source.height(), canvas.height(), vertical);
    return source.copy(QRect(QPoint(x, y), canvas));
}

QImage stretched(const QImage& source, const QSize& size)
{
    if (source.isNull())
        return source;
    return source.scaled(bounded(size, source.size()), Qt::IgnoreAspectRatio,
                         Qt::SmoothTransformation);
}

} // namespace imaging
