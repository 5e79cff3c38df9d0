#include "view/spicview.h"

#include "document/edithistory.h"
#include "document/picture.h"
#include "imaging/blackenarea.h"
#include "settings/settings.h"
#include "view/adjustmentdialog.h"
#include "view/spic.h"

#include <QApplication>
#include <QClipboard>

namespace {

const int messageTime = 1000;

} // namespace

int SPicView::undoDepth(int stored)
{
    return EditHistory::undoDepth(stored);
}

int SPicView::undoCount() const
{
    return m_history->undoCount();
}

int SPicView::redoCount() const
{
    return m_history->redoCount();
}

void SPicView::pushUndo()
{
    m_history->push(m_picture->image());
}

void SPicView::commit()
{
    m_history->commit(undoDepth(Settings::instance()->general()->undoN()));
}

void SPicView::rollback()
{
    QImage image = m_picture->image();
    if (!m_history->rollback(&image))
        return;
    m_picture->setImage(image);
    zoom();
    refreshStatus();
}

void SPicView::undo()
{
    if (m_history->undoCount() == 0) {
        emit message(tr("Undo: No backups available, discontinued."), messageTime);
        return;
    }
    clearSelectionIfAny();
    QImage image = m_picture->image();
    m_history->undo(&image);
    m_picture->setImage(image);
    zoom();
    refreshStatus();
    // Every edit undone and none dropped: the picture is as it was read.
    if (m_history->isAtStart() && m_picture->isModified()) {
        m_picture->setModified(false);
        refreshStatus();
    }
}

void SPicView::redo()
{
    if (m_history->redoCount() == 0) {
        emit message(tr("Redo: No backups available, discontinued."), messageTime);
        return;
    }
    m_picture->setModified(true);
    clearSelectionIfAny();
    QImage image = m_picture->image();
    m_history->redo(&image);
    m_picture->setImage(image);
    refreshStatus();
    zoom();
}

void SPicView::copy()
{
    const bool part = m_pic->hasSelection();
    emit message(part ? tr("Copy: Copy selected area...") : tr("Copy: Copy full image..."),
                 messageTime);
    QApplication::clipboard()->setImage(
        part ? m_picture->image().copy(m_pic->selection()) : m_picture->image(),
        QClipboard::Clipboard);
    emit copy_to_clipboard();
}

void SPicView::cut()
{
    if (!m_pic->hasSelection())
        return;
    pushUndo();
    commit();
    emit message(tr("Cut: cutting selected area..."), messageTime);
    const QRect selection = m_pic->selection();
    QApplication::clipboard()->setImage(m_picture->image().copy(selection), QClipboard::Clipboard);
    emit copy_to_clipboard();
    imaging::blackenArea(m_picture->image(), selection);
    finishEdit();
}

void SPicView::reload()
{
    const QString path = filePath();
    if (path.isEmpty() || m_adjusting || !confirmClose())
        return;
    emit message(tr("Reload: Loading image from \"%1\"...").arg(path), 3000);
    loadFile(path);
}

bool SPicView::runAdjustment(const DialogFactory& createDialog, AdjustmentOptions options)
{
    pushUndo();
    if (options & AdjustmentOption::ClearsSelection)
        m_pic->clearSelection();

    std::unique_ptr<AdjustmentDialog> dialog(
        createDialog(this, m_picture->imagePtr(), m_history->newestBackup()));
    bool accepted = false;
    if (dialog) {
        connect(dialog.get(), &AdjustmentDialog::modified, this, &SPicView::zoom);
        if (options & AdjustmentOption::RefreshesStatus)
            connect(dialog.get(), &AdjustmentDialog::modified, this, &SPicView::refreshStatus);
        if (options & AdjustmentOption::RedrawsBeforeRun) {
            zoom();
            refreshStatus();
        }
        QPointer<SPicView> self(this);
        m_adjusting = true;
        accepted = dialog->exec() == QDialog::Accepted;
        if (!self) {
            // Closed while the dialog ran: the dialog went with the view, its child.
            (void)dialog.release();
            return false;
        }
        m_adjusting = false;
        dialog.reset();
    }
    if (accepted) {
        // The preview is no change until it is kept, and Ok on untouched controls keeps none.
        const bool changed = m_picture->image() != m_history->newestBackup();
        commit();
        if (changed && !m_picture->isModified()) {
            m_picture->setModified(true);
            refreshStatus();
        }
    } else {
        rollback();
    }
    return accepted;
}

void SPicView::clearHistory()
{
    m_history->clear();
}

void SPicView::finishEdit()
{
    m_picture->setModified(true);
    refreshStatus();
    zoom();
}
