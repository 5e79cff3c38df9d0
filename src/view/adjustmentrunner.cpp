#include "view/adjustmentrunner.h"

#include "document/edithistory.h"
#include "document/picture.h"
#include "document/pictureedits.h"
#include "settings/settings.h"
#include "view/adjustmentdialog.h"
#include "view/spic.h"

#include <QPointer>

#include <memory>

AdjustmentRunner::AdjustmentRunner(SPicView* view, EditHistory* history, PictureEdits* edits)
    : m_view(view)
    , m_history(history)
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
        [kind, insert](SPicView* parent, QImage* target, const QImage& source) {
            return AdjustmentDialogs::create(kind, parent, target, source, insert);
        },
        options);
}

bool AdjustmentRunner::run(const SPicView::DialogFactory& createDialog,
                           SPicView::AdjustmentOptions options)
{
    using Option = SPicView::AdjustmentOption;
    m_view->pushUndo();
    if (options & Option::ClearsSelection)
        m_view->pic()->clearSelection();

    std::unique_ptr<AdjustmentDialog> dialog(
        createDialog(m_view, m_view->picture()->imagePtr(), m_history->newestBackup()));
    bool accepted = false;
    if (dialog) {
        QObject::connect(dialog.get(), &AdjustmentDialog::modified, m_view, &SPicView::zoom);
        if (options & Option::RefreshesStatus)
            QObject::connect(dialog.get(), &AdjustmentDialog::modified, m_view,
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
    if (accepted) {
        const int depth = SPicView::undoDepth(Settings::instance()->general()->undoN());
        if (m_edits->keepAdjustment(depth))
            m_view->refreshStatus();
    } else {
        m_view->rollback();
    }
    return accepted;
}
