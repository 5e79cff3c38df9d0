#include "document/pictureedits.h"

#include "document/edithistory.h"
#include "document/picture.h"

PictureEdits::PictureEdits(Picture* picture, EditHistory* history)
    : m_picture(picture)
    , m_history(history)
{
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
    return restored;
}

bool PictureEdits::keepAdjustment(int depth)
{
    const bool changed = m_picture->image() != m_history->newestBackup();
    m_history->commit(depth);
    // Ok on untouched controls is no edit: the animation plays on.
    m_picture->endEdit(changed);
    if (!changed || m_picture->isModified())
        return false;
    m_picture->setModified(true);
    return true;
}

bool PictureEdits::undo()
{
    if (m_history->undoCount() == 0)
        return false;
    QImage image = m_picture->image();
    m_history->undo(&image);
    m_picture->setImage(image);
    return true;
}

bool PictureEdits::markUnmodifiedIfAtStart()
{
    if (!m_history->isAtStart() || !m_picture->isModified())
        return false;
    m_picture->setModified(false);
    return true;
}

bool PictureEdits::redo()
{
    if (m_history->redoCount() == 0)
        return false;
    QImage image = m_picture->image();
    m_history->redo(&image);
    m_picture->setImage(image);
    return true;
}
