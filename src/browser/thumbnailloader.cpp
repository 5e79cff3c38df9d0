#include "browser/thumbnailloader.h"

#include "document/decodeslots.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// What the loader and its workers share; guarded by the mutex.
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
    std::deque<std::pair<quint64, ThumbnailPair>> results;
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
    return DecodeSlots::shared().cores();
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
        std::thread([queue = m_queue, loader = this] {
            std::unique_lock<std::mutex> lock(queue->mutex);
            while (!queue->jobs.empty() && queue->workers <= queue->workerLimit) {
                lock.unlock();
                // Shared with every other decode nobody waits for yet, and held back while a
                // picture asked for is read.
                DecodeSlots::shared().takeBackground(DecodeSlots::Background::Thumbnail);
                lock.lock();
                if (queue->jobs.empty()) {
                    DecodeSlots::shared().giveBackground(DecodeSlots::Background::Thumbnail);
                    break;
                }
                const Queue::Job job = queue->jobs.front();
                queue->jobs.pop_front();
                const FileThumbnailProvider::DecodeObserver observer = queue->observer;
                lock.unlock();
                ThumbnailPair pair{job.filePath, FileThumbnailProvider::readThumbnail(
                                                     job.filePath, job.shownEdge, observer)};
                DecodeSlots::shared().giveBackground(DecodeSlots::Background::Thumbnail);
                lock.lock();
                queue->results.emplace_back(job.ticket, std::move(pair));
                if (queue->results.size() == 1) {
                    // By name, so that the call is made wholly inside Qt; the results cross
                    // under the queue's lock, where a thread-sanitizer build sees them. Dropped
                    // with the loader if it is gone by the time this arrives.
                    QMetaObject::invokeMethod(loader, "takeResults", Qt::QueuedConnection);
                }
            }
            --queue->workers;
            queue->allStopped.notify_all();
        }).detach();
    }
}

void ThumbnailLoader::takeResults()
{
    std::deque<std::pair<quint64, ThumbnailPair>> results;
    {
        const std::lock_guard<std::mutex> lock(m_queue->mutex);
        results.swap(m_queue->results);
    }
    for (const auto& [ticket, pair] : results) {
        if (m_outstanding.remove(ticket))
            emit thumbnailReady(ticket, pair);
    }
}
