#pragma once

#include "browser/filethumbnailprovider.h"
#include "browser/thumbnailcache.h"

#include <QHash>
#include <QList>
#include <QListView>
#include <QPersistentModelIndex>
#include <QSet>

#include <memory>

class QGestureEvent;
class QTimer;
class ThumbnailLoader;
struct ThumbnailPair;

// A list view of files as thumbnails that load lazily: a short delay after the view settles,
// the items on screen without a thumbnail are queued, those in sight first, and made on a worker
// per core; the icons of other files are made one batch per event-loop turn. Base of the file
// browser's directory view and of the thumbnails bar.
class ThumbnailView : public QListView
{
    Q_OBJECT

public:
    static constexpr int kLoadDelayMs = 200;

    explicit ThumbnailView(QWidget* parent = nullptr);
    ~ThumbnailView() override;

    // What the delegate draws for the item.
    QIcon thumbnail(const QModelIndex& index) const;

    void setModel(QAbstractItemModel* model) override;

    // Called with each file whose picture is decoded, on the worker that decodes it; files whose
    // thumbnail the desktop's cache holds are not.
    using ReadObserver = FileThumbnailProvider::DecodeObserver;
    void setReadObserver(ReadObserver observer);

    const ThumbnailCache& thumbnailCache() const { return m_thumbnailCache; }
    void setCacheBudget(qint64 bytes);
    int pendingCount() const { return m_pendingIndexes.size(); }
    QTimer* loadTimer() const { return m_loadTimer; }
    bool isReadingInBackground() const;
    ThumbnailLoader* loader() const { return m_loader.get(); }
    // The edge in device pixels that thumbnails are made for: the icon size, on screen.
    int shownEdge() const;

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
    // The desktop cache's size that holds the shown edge.
    int madeEdge() const;
    void thumbnailReady(quint64 ticket, const ThumbnailPair& pair);
    // A file this program wrote: its icon is made anew.
    void fileWritten(const QString& path);
    void storeThumbnail(const QModelIndex& index, const QIcon& icon, qint64 cost);
    void scheduleNextLoad();
    void watchModelLifetime(QAbstractItemModel* model);
    void dropDeadItems();
    void rowsRemovedFromModel();

    QTimer* m_loadTimer;
    mutable ThumbnailCache m_thumbnailCache;
    QList<QPersistentModelIndex> m_pendingIndexes;
    std::unique_ptr<FileThumbnailProvider> m_provider;
    std::unique_ptr<ThumbnailLoader> m_loader;
    // The items the loader works on, by ticket.
    QHash<quint64, QPersistentModelIndex> m_loading;
    // The edge of the pictures the cached icons were made from.
    int m_madeEdge = 0;
    QModelIndex m_removalParent;
    int m_removalStart = -1;
    int m_removalEnd = -1;
    QSet<const QObject*> m_watchedModels;
    // Receives the destruction of every model this view has shown; apart from the view so that
    // changing the model, which cuts the model's connections to the view, keeps these. Declared
    // last so that it goes first, before the cache its handler cleans.
    std::unique_ptr<QObject> m_modelLifetimes;
};
