#pragma once

#include "browser/filethumbnailprovider.h"
#include "browser/thumbnailpair.h"

#include <QList>
#include <QObject>
#include <QSet>

#include <memory>

// Makes thumbnails on workers that share one per core between every loader, and hands each
// back on the thread that asked. Its workers take the next file from a short queue of their own,
// so they never wait for the asking thread; it takes no more than a few files beyond its workers,
// so that the caller keeps the queue and can put what is on screen first and drop what has
// scrolled away.
class ThumbnailLoader : public QObject
{
    Q_OBJECT

public:
    explicit ThumbnailLoader(QObject* parent = nullptr);
    // Waits for the decodes under way; their results are dropped.
    ~ThumbnailLoader() override;

    // Decodes at once across every loader: one per core.
    static int poolSize();
    // How many of this loader's thumbnails are made at once, the pool's size unless set lower.
    int workerCount() const;
    void setWorkerCount(int count);
    // Files asked for whose thumbnails have not come back yet.
    int runningCount() const { return m_outstanding.size(); }
    // One file queued per worker keeps every worker busy while the results travel back.
    bool isFull() const { return runningCount() >= 2 * workerCount(); }

    // Called with each file that is decoded rather than found in the desktop's cache, on the
    // worker that decodes it.
    void setDecodeObserver(FileThumbnailProvider::DecodeObserver observer);

    // Queues the file's thumbnail for the shown edge, even when full; the returned ticket comes
    // back with the result.
    quint64 load(const QString& filePath, int shownEdge);
    // Takes back the files no worker has started on; returns their tickets.
    QList<quint64> dropQueued();

signals:
    void thumbnailReady(quint64 ticket, const ThumbnailPair& pair);

private:
    struct Queue;

    void startWorkers();
    // Emits what the workers have made since the last call.
    Q_INVOKABLE void takeResults();

    std::shared_ptr<Queue> m_queue;
    QSet<quint64> m_outstanding;
    quint64 m_lastTicket = 0;
};
