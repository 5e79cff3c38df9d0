#include "browser/thumbnailloader.h"

#include <QThreadPool>

#include <condition_variable>
#include <deque>
#include <mutex>

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

// What the loader and its workers share; guarded by the mutex. Standard locks rather than Qt's,
// which a thread-sanitizer build can see through.
struct ThumbnailLoader::Queue
{
    struct Job
    {
        quint64 ticket;
        QString filePath;
        int shownEdge;
    };

    std::mutex mutex;
    std::condition_variable allStopped;
    std::deque<Job> jobs;
    int workers = 0;
    int workerLimit = 1;
    FileThumbnailProvider::DecodeObserver observer;
};

ThumbnailLoader::ThumbnailLoader(QObject* parent)
    : QObject(parent)
    , m_queue(std::make_shared<Queue>())
{
    m_queue->workerLimit = poolSize();
}

ThumbnailLoader::~ThumbnailLoader()
{
    // Nothing may run on for an object that is gone, nor after the application has ended.
    std::unique_lock<std::mutex> lock(m_queue->mutex);
    m_queue->jobs.clear();
    m_queue->allStopped.wait(lock, [this] { return m_queue->workers == 0; });
}

int ThumbnailLoader::poolSize()
{
    return pool()->maxThreadCount();
}

int ThumbnailLoader::workerCount() const
{
    const std::lock_guard<std::mutex> lock(m_queue->mutex);
    return m_queue->workerLimit;
}

void ThumbnailLoader::setWorkerCount(int count)
{
    {
        const std::lock_guard<std::mutex> lock(m_queue->mutex);
        m_queue->workerLimit = qBound(1, count, poolSize());
    }
    startWorkers();
}

void ThumbnailLoader::setDecodeObserver(FileThumbnailProvider::DecodeObserver observer)
{
    const std::lock_guard<std::mutex> lock(m_queue->mutex);
    m_queue->observer = std::move(observer);
}

quint64 ThumbnailLoader::load(const QString& filePath, int shownEdge)
{
    const quint64 ticket = ++m_lastTicket;
    m_outstanding.insert(ticket);
    {
        const std::lock_guard<std::mutex> lock(m_queue->mutex);
        m_queue->jobs.push_back({ticket, filePath, shownEdge});
    }
    startWorkers();
    return ticket;
}

QList<quint64> ThumbnailLoader::dropQueued()
{
    QList<quint64> dropped;
    const std::lock_guard<std::mutex> lock(m_queue->mutex);
    for (const Queue::Job& job : m_queue->jobs) {
        dropped << job.ticket;
        m_outstanding.remove(job.ticket);
    }
    m_queue->jobs.clear();
    return dropped;
}

void ThumbnailLoader::startWorkers()
{
    const std::lock_guard<std::mutex> lock(m_queue->mutex);
    while (m_queue->workers < m_queue->workerLimit
           && m_queue->workers < int(m_queue->jobs.size())) {
        ++m_queue->workers;
        // The destructor waits for every worker, so the loader outlives them.
        pool()->start([queue = m_queue, loader = this] {
            std::unique_lock<std::mutex> lock(queue->mutex);
            while (!queue->jobs.empty() && queue->workers <= queue->workerLimit) {
                const Queue::Job job = queue->jobs.front();
                queue->jobs.pop_front();
                const FileThumbnailProvider::DecodeObserver observer = queue->observer;
                lock.unlock();
                ThumbnailPair pair{job.filePath, FileThumbnailProvider::readThumbnail(
                                                     job.filePath, job.shownEdge, observer)};
                // Dropped with the loader if it is gone by the time this arrives.
                QMetaObject::invokeMethod(
                    loader,
                    [loader, ticket = job.ticket, pair = std::move(pair)] {
                        loader->finish(ticket, pair);
                    },
                    Qt::QueuedConnection);
                lock.lock();
            }
            --queue->workers;
            queue->allStopped.notify_all();
        });
    }
}

void ThumbnailLoader::finish(quint64 ticket, const ThumbnailPair& pair)
{
    if (m_outstanding.remove(ticket))
        emit thumbnailReady(ticket, pair);
}
