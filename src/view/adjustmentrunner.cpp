#include "view/adjustmentrunner.h"

#include "document/pictureadjustment.h"
#include "settings/settings.h"
#include "view/adjustmentdialog.h"
#include "view/spic.h"

#include <QPointer>

#include <memory>

AdjustmentRunner::AdjustmentRunner(SPicView* view, PictureEdits* edits)
    : m_view(view)
    , m_edits(edits)
{
}

bool AdjustmentRunner::run(AdjustmentDialogs::Kind kind, const QImage& insert)
{
    using Kind = AdjustmentDialogs::Kind;
    using Option = SPicView::AdjustmentOption;
    SPicView::AdjustmentOptions options;
    // Rotating, resizing and inserting move the picture under the selection; they and a depth
    // change alter the size text while the dialog runs.
    if (kind == Kind::Rotate || kind == Kind::Resize || kind == Kind::Insert)
        options |= Option::ClearsSelection | Option::RefreshesStatus;
    if (kind == Kind::Depth)
        options |= Option::RefreshesStatus;
    if (kind == Kind::Insert)
        options |= Option::RedrawsBeforeRun;
    return run(
        [kind, insert](SPicView* parent, PictureAdjustment* adjustment) {
            return AdjustmentDialogs::create(kind, parent, adjustment, insert);
        },
        options);
}

bool AdjustmentRunner::run(const SPicView::DialogFactory& createDialog,
                           SPicView::AdjustmentOptions options)
{
    using Option = SPicView::AdjustmentOption;
    // The backup and the pass both need the full pixels, and a read that ends later would throw
    // the edit away.
    m_view->waitUntilLoaded();
    PictureAdjustment adjustment(m_view->picture(), m_edits);
    // Each preview then costs about what the screen shows.
    adjustment.setPreviewScale(m_view->scale());
    if (options & Option::ClearsSelection)
        m_view->pic()->clearSelection();

    std::unique_ptr<AdjustmentDialog> dialog(createDialog(m_view, &adjustment));
    bool accepted = false;
    if (dialog) {
        QObject::connect(&adjustment, &PictureAdjustment::previewChanged, m_view,
                         &SPicView::zoom);
        if (options & Option::RefreshesStatus)
            QObject::connect(&adjustment, &PictureAdjustment::previewChanged, m_view,
                             &SPicView::refreshStatus);
        if (options & Option::RedrawsBeforeRun) {
            m_view->zoom();
            m_view->refreshStatus();
        }
        QPointer<SPicView> view(m_view);
        m_running = true;
        accepted = dialog->exec() == QDialog::Accepted;
        if (!view) {
            // Closed while the dialog ran: the dialog went with the view, its child, and this
            // runner with it.
            (void)dialog.release();
            return false;
        }
        m_running = false;
        dialog.reset();
    }
    // Either end is announced by the edits, and the view follows.
    if (accepted)
        adjustment.commit(SPicView::undoDepth(Settings::instance()->general()->undoN()));
    else
        adjustment.rollback();
    return accepted;
}
