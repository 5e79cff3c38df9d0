#pragma once

#include "browser/filethumbnailprovider.h"
#include "browser/thumbnailpair.h"

#include <QHash>
#include <QObject>

template <typename T>
class QFutureWatcher;

// Makes thumbnails on a pool with one worker per core, shared by every loader, and hands each
// back on the thread that asked. It takes no more than it has workers for, so that the caller
// keeps the queue and can put what is on screen first and drop what has scrolled away.
class ThumbnailLoader : public QObject
{
    Q_OBJECT

public:
    explicit ThumbnailLoader(QObject* parent = nullptr);
    // Waits for the tasks still running; their results are dropped.
    ~ThumbnailLoader() override;

    // The threads of the pool: one per core.
    static int poolSize();
    // How many of this loader's thumbnails are made at once, the pool's size unless set lower.
    int workerCount() const { return m_workerCount; }
    void setWorkerCount(int count);
    int runningCount() const { return m_running.size(); }
    bool isFull() const { return runningCount() >= workerCount(); }

    // Called with each file that is decoded rather than found in the desktop's cache, on the
    // worker that decodes it.
    void setDecodeObserver(FileThumbnailProvider::DecodeObserver observer);

    // Starts making the file's thumbnail for the shown edge, even when full; the returned ticket
    // comes back with the result.
    quint64 load(const QString& filePath, int shownEdge);

signals:
    void thumbnailReady(quint64 ticket, const ThumbnailPair& pair);

private:
    void finish(quint64 ticket);

    int m_workerCount;
    QHash<quint64, QFutureWatcher<ThumbnailPair>*> m_running;
    quint64 m_lastTicket = 0;
    FileThumbnailProvider::DecodeObserver m_observer;
};
