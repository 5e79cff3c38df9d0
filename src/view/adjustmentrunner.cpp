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
