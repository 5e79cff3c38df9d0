#include "view/quickedits.h"

#include "imaging/colourinversion.h"
#include "imaging/reorientation.h"
#include "view/smark.h"
#include "view/spic.h"
#include "view/spicview.h"

namespace QuickEdits {

namespace {

imaging::Reorientation reorientation(Kind kind)
{
    switch (kind) {
    case Kind::RotateLeft:
        return imaging::Reorientation::RotateLeft;
    case Kind::RotateRight:
        return imaging::Reorientation::RotateRight;
    case Kind::FlipHorizontally:
        return imaging::Reorientation::FlipHorizontally;
    default:
        return imaging::Reorientation::FlipVertically;
    }
}

} // namespace

void apply(SPicView* view, Kind kind)
{
    if (!view || view->isBroken() || view->slideshowRunning())
        return;
    SPic* pic = view->pic();
    const bool crop = kind == Kind::CropToSelection;
    if (crop && !pic->hasSelection())
        return;
    const QRect selection = pic->selection();
    const bool applied = view->applyEdit([kind, crop, selection](const QImage& image) {
        if (crop)
            return imaging::cropped(image, selection);
        if (kind == Kind::InvertColours)
            return imaging::invertedColours(image);
        return imaging::reoriented(image, reorientation(kind));
    });
    // A mark in the old geometry would point at other pixels now.
    if (applied && pic->mark()->mode() != MarkMode::None)
        pic->clearSelection();
}

} // namespace QuickEdits
