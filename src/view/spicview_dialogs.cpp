#include "view/spicview.h"

#include "dialogs/brightnesscontrastdialog.h"
#include "dialogs/depthconversiondialog.h"
#include "dialogs/hsvadjustdialog.h"
#include "dialogs/insertdialog.h"
#include "dialogs/resizedialog.h"
#include "dialogs/rgbadjustdialog.h"
#include "dialogs/rotatedialog.h"

#include <QApplication>
#include <QClipboard>

// The view's adjustment dialogs, kept here so that no view header needs a dialog header.

namespace {

template <class Dialog>
SPicView::DialogFactory factory()
{
    return [](SPicView* parent, QImage* target, const QImage& source) {
        return new Dialog(parent, target, source);
    };
}

} // namespace

void SPicView::showRotateDialog()
{
    runAdjustment(factory<RotateDialog>(),
                  AdjustmentOption::ClearsSelection | AdjustmentOption::RefreshesStatus);
}

void SPicView::showRGBAdjustDialog()
{
    runAdjustment(factory<RGBAdjustDialog>(), AdjustmentOptions());
}

void SPicView::showDepthConversionDialog()
{
    runAdjustment(factory<DepthConversionDialog>(), AdjustmentOption::RefreshesStatus);
}

void SPicView::showHSVAdjustDialog()
{
    runAdjustment(factory<HSVAdjustDialog>(), AdjustmentOptions());
}

void SPicView::showBrightnessContrastDialog()
{
    runAdjustment(factory<BrightnessContrastDialog>(), AdjustmentOptions());
}

void SPicView::showResizeDialog()
{
    runAdjustment(factory<ResizeDialog>(),
                  AdjustmentOption::ClearsSelection | AdjustmentOption::RefreshesStatus);
}

void SPicView::showInsertDialog()
{
    const QImage insert = QApplication::clipboard()->image(QClipboard::Clipboard);
    if (insert.isNull()) {
        emit message(tr("Paste: No usable clipboard content, aborted."), 1000);
        return;
    }
    runAdjustment(
        [insert](SPicView* parent, QImage* target, const QImage& source) {
            return new InsertDialog(parent, target, source, insert);
        },
        AdjustmentOption::ClearsSelection | AdjustmentOption::RefreshesStatus
            | AdjustmentOption::RedrawsBeforeRun);
}
