#pragma once

// Arithmetic of the width-and-height entry. A spin box counts either pixels (unit row 0) or
// thousandths of the base size (any other row; 1000 is the base size itself).
namespace sizeunits {

constexpr int kMinimumPixels = 1;
constexpr int kMaximumPixels = 8200;

// Largest pixels a side of that base length may be given: a picture already longer than
// kMaximumPixels keeps its length.
int maximumPixels(int base);

// The pixels a spin box value stands for; never below one pixel.
int pixelsFromValue(int value, int unitRow, int base);

// The spin box value of the other dimension when the ratio size / base is kept.
int followingValue(int size, int base, int otherBase, int otherUnitRow);

struct UnitRange
{
    int minimum;
    int maximum;
    int value;
};

// Range and value of a spin box switched to the unit row while it holds the given pixels.
UnitRange unitRange(int unitRow, int pixels, int base);

} // namespace sizeunits
