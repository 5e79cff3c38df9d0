#include "browser/thumbnailloader.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QtConcurrent>

namespace {

// Thumbnails have a pool of their own, apart from the global one that pictures and pixel passes
// use, and one for all views, so that views showing thumbnails at once still use no more threads
// than there are cores.
QThreadPool* pool()
{
    // A new pool has one thread per core.
    static QThreadPool threads;
    return &threads;
}

} // namespace

ThumbnailLoader::ThumbnailLoader(QObject* parent)
    : QObject(parent)
    , m_workerCount(poolSize())
{
}

ThumbnailLoader::~ThumbnailLoader()
{
    // Nothing may run on for an object that is gone, nor after the application has ended.
    for (QFutureWatcher<ThumbnailPair>* watcher : qAsConst(m_running))
        watcher->waitForFinished();
}

int ThumbnailLoader::poolSize()
{
    return pool()->maxThreadCount();
}

void ThumbnailLoader::setWorkerCount(int count)
{
    m_workerCount = qBound(1, count, poolSize());
}

void ThumbnailLoader::setDecodeObserver(FileThumbnailProvider::DecodeObserver observer)
{
    m_observer = std::move(observer);
}

quint64 ThumbnailLoader::load(const QString& filePath, int shownEdge)
{
    const quint64 ticket = ++m_lastTicket;
    auto* watcher = new QFutureWatcher<ThumbnailPair>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, ticket] { finish(ticket); });
    m_running.insert(ticket, watcher);
    // The task gets values only: this object may be gone before another task starts.
    const FileThumbnailProvider::DecodeObserver observer = m_observer;
    watcher->setFuture(QtConcurrent::run(pool(), [filePath, shownEdge, observer] {
        return ThumbnailPair{filePath,
                             FileThumbnailProvider::readThumbnail(filePath, shownEdge, observer)};
    }));
    return ticket;
}

void ThumbnailLoader::finish(quint64 ticket)
{
    QFutureWatcher<ThumbnailPair>* watcher = m_running.take(ticket);
    const ThumbnailPair pair = watcher->result();
    watcher->deleteLater();
    emit thumbnailReady(ticket, pair);
}
