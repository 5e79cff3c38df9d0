#include "browser/thumbnailloader.h"

#include <QFutureWatcher>
#include <QtConcurrent>

ThumbnailLoader::ThumbnailLoader(QObject* parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(QThread::idealThreadCount());
}

ThumbnailLoader::~ThumbnailLoader()
{
    // The watchers, children of this object, go after the pool has finished their tasks.
    m_pool.waitForDone();
}

void ThumbnailLoader::setWorkerCount(int count)
{
    m_pool.setMaxThreadCount(qMax(1, count));
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
    watcher->setFuture(QtConcurrent::run(&m_pool, [filePath, shownEdge, observer] {
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
