#include "document/pictureadjustment.h"

#include "document/picture.h"
#include "document/pictureedits.h"
#include "document/pooltask.h"

#include <QFutureWatcher>

#include <algorithm>

namespace {

QImage runPass(const PictureAdjustment::Pass& pass, const QImage& source, double scale)
{
    if (!pass.apply)
        return source;
    const QImage result = pass.apply(source, scale);
    // Out of memory: the picture stays as it was.
    return result.isNull() ? source : result;
}

} // namespace

PictureAdjustment::PictureAdjustment(Picture* picture, PictureEdits* edits, QObject* parent)
    : QObject(parent)
    , m_picture(picture)
    , m_edits(edits)
    , m_source(picture->image())
    , m_result(m_source)
{
    m_edits->backUp();
}

// A pass still running on a worker finishes there on its own copies, unheard.
PictureAdjustment::~PictureAdjustment() = default;

void PictureAdjustment::setPreviewScale(double scale)
{
    scale = std::min(scale, 1.0);
    if (!(scale > 0.0) || scale == m_previewScale)
        return;
    m_previewScale = scale;
    m_reduced = QImage();
}

const QImage& PictureAdjustment::reducedSource()
{
    if (m_reduced.isNull()) {
        const QSize size(std::max(1, qRound(m_source.width() * m_previewScale)),
                         std::max(1, qRound(m_source.height() * m_previewScale)));
        m_reduced = m_source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // Smoothing makes 32 bits of a colour table; sampled, the copy keeps the layout the
        // result will be made from, and so the depth the status tells.
        if (m_reduced.format() != m_source.format())
            m_reduced = m_source.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    return m_reduced;
}

void PictureAdjustment::preview(const Pass& pass)
{
    // A newer preview makes any result under way stale.
    dropWorker();
    m_pass = pass;
    const bool full = pass.fullResolution || m_previewScale >= 1.0 || m_source.isNull();
    const QImage shown =
        runPass(pass, full ? m_source : reducedSource(), full ? 1.0 : m_previewScale);
    m_finished = full;
    QSize size = shown.size();
    if (full)
        m_result = shown;
    else
        size = pass.resultSize ? pass.resultSize(m_source.size()) : m_source.size();
    m_picture->setPreview(shown, size);
    emit previewChanged();
}

void PictureAdjustment::finish()
{
    if (m_finished) {
        emit finished();
        return;
    }
    if (m_worker)
        return;
    m_worker = new QFutureWatcher<QImage>(this);
    connect(m_worker, &QFutureWatcherBase::finished, this, &PictureAdjustment::workerDone);
    m_worker->setFuture(
        runInPool([pass = m_pass, source = m_source] { return runPass(pass, source, 1.0); }));
}

void PictureAdjustment::workerDone()
{
    m_result = poolResult(m_worker->future());
    m_worker->deleteLater();
    m_worker = nullptr;
    m_finished = true;
    emit finished();
}

void PictureAdjustment::commit(int depth)
{
    if (!m_finished) {
        dropWorker();
        m_result = runPass(m_pass, m_source, 1.0);
    }
    m_picture->setImage(m_result);
    m_edits->keepAdjustment(depth);
}

void PictureAdjustment::rollback()
{
    dropWorker();
    m_picture->setPreview(QImage(), QSize());
    m_edits->rollback();
}

void PictureAdjustment::dropWorker()
{
    // The pass runs on to its end on its own copies; nobody hears of it.
    delete m_worker;
    m_worker = nullptr;
}
