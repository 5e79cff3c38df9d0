#pragma once

#include <cstddef>

class SPicView;

// The one-step edits of the Image menu (quarter turns, mirrorings, cropping to the selection,
// the negative),
// each kept as one entry of the picture view's edit history like any other edit.
namespace QuickEdits {

enum class Kind : std::size_t
{
    RotateLeft,
    RotateRight,
    FlipHorizontally,
    FlipVertically,
    CropToSelection,
    InvertColours
};
constexpr std::size_t kindCount = 6;

// Nothing happens without a readable picture, while a slideshow runs, or for a crop without a
// finished selection.
void apply(SPicView* view, Kind kind);

} // namespace QuickEdits
