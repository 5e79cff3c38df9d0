#include "document/pictureedits.h"

#include "document/edithistory.h"
#include "document/picture.h"

PictureEdits::PictureEdits(Picture* picture, EditHistory* history, QObject* parent)
    : QObject(parent)
    , m_picture(picture)
    , m_history(history)
{
}

bool PictureEdits::apply(const Edit& edit, int depth)
{
    m_picture->beginEdit();
    const QImage result = edit(m_picture->image());
    if (result.isNull()) {
        m_picture->endEdit(false);
        return false;
    }
    m_history->push(m_picture->image());
    m_picture->setImage(result);
    keep(depth);
    m_picture->setModified(true);
    emit changed();
    return true;
}

void PictureEdits::markImported()
{
    m_picture->setModified(true);
    m_history->markStartUnsaved();
    emit changed();
}

void PictureEdits::backUp()
{
    // An edit acts on the frame shown, so it stays while the edit is under way.
    m_picture->beginEdit();
    m_history->push(m_picture->image());
}

void PictureEdits::keep(int depth)
{
    m_history->commit(depth);
    m_picture->endEdit(true);
}

bool PictureEdits::rollback()
{
    QImage image = m_picture->image();
    const bool restored = m_history->rollback(&image);
    if (restored)
        m_picture->setImage(image);
    m_picture->endEdit(false);
    if (restored)
        emit changed();
    return restored;
}

void PictureEdits::keepAdjustment(int depth)
{
    const bool changedPixels = m_picture->image() != m_history->newestBackup();
    m_history->commit(depth);
    // Ok on untouched controls is no edit: the animation plays on.
    m_picture->endEdit(changedPixels);
    if (changedPixels)
        m_picture->setModified(true);
    emit changed();
}

bool PictureEdits::undo()
{
    if (m_history->undoCount() == 0)
        return false;
    QImage image = m_picture->image();
    m_history->undo(&image);
    m_picture->setImage(image);
    if (m_history->isAtStart())
        m_picture->setModified(false);
    emit changed();
    return true;
}

bool PictureEdits::redo()
{
    if (m_history->redoCount() == 0)
        return false;
    m_picture->setModified(true);
    QImage image = m_picture->image();
    m_history->redo(&image);
    m_picture->setImage(image);
    emit changed();
    return true;
}
