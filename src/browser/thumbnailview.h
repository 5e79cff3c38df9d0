#pragma once

#include "browser/thumbnailcache.h"
#include "browser/thumbnailpair.h"

#include <QList>
#include <QListView>
#include <QPersistentModelIndex>
#include <QSet>

#include <functional>
#include <memory>

class FileThumbnailProvider;
class QGestureEvent;
class QTimer;
template <typename T>
class QFutureWatcher;

// A list view of files as thumbnails that load lazily: a short delay after the view settles,
// the items on screen without a thumbnail are queued and made one per event-loop turn, big files
// on the thread pool. Base of the file browser's directory view and of the thumbnails bar.
class ThumbnailView : public QListView
{
    Q_OBJECT

public:
    // From this size on a file is read on a worker thread.
    static constexpr qint64 kWorkerFileSize = 5000000;
    static constexpr int kLoadDelayMs = 200;

    explicit ThumbnailView(QWidget* parent = nullptr);
    ~ThumbnailView() override;

    // What the delegate draws for the item.
    QIcon thumbnail(const QModelIndex& index) const;

    void setModel(QAbstractItemModel* model) override;

    // Called with each file whose picture is read, on the thread that reads it.
    using ReadObserver = std::function<void(const QString& filePath)>;
    void setReadObserver(ReadObserver observer);

    const ThumbnailCache& thumbnailCache() const { return m_thumbnailCache; }
    void setCacheBudget(qint64 bytes);
    int pendingCount() const { return m_pendingIndexes.size(); }
    QTimer* loadTimer() const { return m_loadTimer; }
    bool isReadingInBackground() const { return m_awaitingResult; }

public slots:
    void loadVisibleThumbnails();
    void loadPendingThumbnail();
    void layoutChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    virtual bool gestureEvent(QGestureEvent* event);

    // For subclasses' viewport filters: a mouse event made up from touch input, other than the
    // right button; the tap gesture delivers those clicks instead.
    static bool isSynthesizedTouchClick(const QEvent* event);
    // Finger drags scroll the viewport and finished taps come as gestures.
    void grabTouchGestures();
    // A left click at a viewport position, as a finished tap gives it.
    void postClick(const QPoint& viewportPos);
    // Whether the model is about to remove that row: between its announcement and the removal,
    // indexes of such rows must not be handed on.
    bool isRowBeingRemoved(const QModelIndex& parent, int row) const;

private:
    void thumbnailReady();
    void startBackgroundRead(const QPersistentModelIndex& index, const QString& filePath);
    void storeThumbnail(const QModelIndex& index, const QIcon& icon, qint64 cost);
    void scheduleNextLoad();
    void watchModelLifetime(QAbstractItemModel* model);
    void dropDeadItems();
    void rowsRemovedFromModel();

    QTimer* m_loadTimer;
    mutable ThumbnailCache m_thumbnailCache;
    QList<QPersistentModelIndex> m_pendingIndexes;
    std::unique_ptr<FileThumbnailProvider> m_provider;
    std::unique_ptr<QFutureWatcher<ThumbnailPair>> m_watcher;
    // The item the followed background read is for.
    QPersistentModelIndex m_asyncIndex;
    bool m_awaitingResult = false;
    ReadObserver m_readObserver;
    QModelIndex m_removalParent;
    int m_removalStart = -1;
    int m_removalEnd = -1;
    QSet<const QObject*> m_watchedModels;
    // Receives the destruction of every model this view has shown; apart from the view so that
    // changing the model, which cuts the model's connections to the view, keeps these. Declared
    // last so that it goes first, before the cache its handler cleans.
    std::unique_ptr<QObject> m_modelLifetimes;
};
