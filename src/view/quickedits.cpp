#include "view/quickedits.h"

#include "document/picture.h"
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
    view->pushUndo();
    const QImage& image = view->picture()->image();
    QImage result;
    if (crop)
        result = imaging::cropped(image, pic->selection());
    else if (kind == Kind::InvertColours)
        result = imaging::invertedColours(image);
    else
        result = imaging::reoriented(image, reorientation(kind));
    if (result.isNull()) {
        view->rollback();
        return;
    }
    view->commit();
    view->picture()->setImage(result);
    // A mark in the old geometry would point at other pixels now.
    if (pic->mark()->mode() != MarkMode::None)
        pic->clearSelection();
    view->picture()->setModified(true);
    view->refreshStatus();
    view->zoom();
}

} // namespace QuickEdits
