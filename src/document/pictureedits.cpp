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
    // An edit acts on the frame shown, which stays from now on.
    m_picture->stopAnimation();
    m_history->push(m_picture->image());
}

void PictureEdits::keep(int depth)
{
    m_history->commit(depth);
}

bool PictureEdits::rollback()
{
    QImage image = m_picture->image();
    if (!m_history->rollback(&image))
        return false;
    m_picture->setImage(image);
    return true;
}

bool PictureEdits::keepAdjustment(int depth)
{
    const bool changed = m_picture->image() != m_history->newestBackup();
    keep(depth);
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
