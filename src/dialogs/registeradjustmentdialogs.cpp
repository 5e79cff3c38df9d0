#include "dialogs/registeradjustmentdialogs.h"

#include "dialogs/brightnesscontrastdialog.h"
#include "dialogs/depthconversiondialog.h"
#include "dialogs/hsvadjustdialog.h"
#include "dialogs/insertdialog.h"
#include "dialogs/resizedialog.h"
#include "dialogs/rgbadjustdialog.h"
#include "dialogs/rotatedialog.h"
#include "view/adjustmentdialogs.h"

namespace {

template <class Dialog>
AdjustmentDialogs::Factory factory()
{
    return [](QWidget* parent, PictureAdjustment* adjustment, const QImage&) {
        return new Dialog(parent, adjustment);
    };
}

} // namespace

void registerAdjustmentDialogs()
{
    using Kind = AdjustmentDialogs::Kind;
    AdjustmentDialogs::setFactory(Kind::Rotate, factory<RotateDialog>());
    AdjustmentDialogs::setFactory(Kind::ColorBalance, factory<RGBAdjustDialog>());
    AdjustmentDialogs::setFactory(Kind::Depth, factory<DepthConversionDialog>());
    AdjustmentDialogs::setFactory(Kind::HueSaturation, factory<HSVAdjustDialog>());
    AdjustmentDialogs::setFactory(Kind::BrightnessContrast, factory<BrightnessContrastDialog>());
    AdjustmentDialogs::setFactory(Kind::Resize, factory<ResizeDialog>());
    AdjustmentDialogs::setFactory(
        Kind::Insert, [](QWidget* parent, PictureAdjustment* adjustment, const QImage& insert) {
            return new InsertDialog(parent, adjustment, insert);
        });
}
