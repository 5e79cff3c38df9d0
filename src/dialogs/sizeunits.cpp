#include "dialogs/sizeunits.h"

#include <QtGlobal>

namespace sizeunits {

int maximumPixels(int base)
{
    return qMax(kMaximumPixels, base);
}

int pixelsFromValue(int value, int unitRow, int base)
{
    if (unitRow == 0)
        return value;
    return qMax(kMinimumPixels, qRound(double(qint64(value) * base) / 1000.0));
}

int followingValue(int size, int base, int otherBase, int otherUnitRow)
{
    const double ratio = double(size) / base;
    if (otherUnitRow != 0)
        return qRound(ratio * 1000.0);
    return qRound(otherBase * ratio);
}

UnitRange unitRange(int unitRow, int pixels, int base)
{
    if (unitRow == 0)
        return {kMinimumPixels, maximumPixels(base), pixels};
    // A base above 2000 pixels would round the smallest step to 0 thousandths: an empty picture.
    return {qMax(1, qRound(1000.0 / base)), qRound(double(maximumPixels(base)) * 1000.0 / base),
            qRound(pixels * 1000.0 / base)};
}

} // namespace sizeunits
