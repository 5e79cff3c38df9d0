#include "document/pictureadjustment.h"

#include "document/picture.h"
#include "document/pictureedits.h"

PictureAdjustment::PictureAdjustment(Picture* picture, PictureEdits* edits, QObject* parent)
    : QObject(parent)
    , m_picture(picture)
    , m_edits(edits)
    , m_source(picture->image())
    , m_preview(m_source)
    , m_result(m_source)
{
    m_edits->backUp();
}

void PictureAdjustment::preview(const Pass& pass)
{
    m_pass = pass;
    const QImage result = pass.apply ? pass.apply(m_source, 1.0) : m_source;
    m_preview = result.isNull() ? m_source : result;
    m_result = m_preview;
    m_finished = true;
    m_picture->setPreview(m_preview, m_preview.size());
    emit previewChanged();
}

void PictureAdjustment::finish()
{
    emit finished();
}

bool PictureAdjustment::commit(int depth)
{
    if (!m_finished)
        finish();
    m_picture->setImage(m_result);
    return m_edits->keepAdjustment(depth);
}

void PictureAdjustment::rollback()
{
    m_picture->setPreview(QImage(), QSize());
    m_edits->rollback();
}
