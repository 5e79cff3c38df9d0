#include "browser/thumbnailview.h"

#include "browser/thumbnailitemdelegate.h"
#include "browser/thumbnailloader.h"
#include "platform/desktopthumbnailcache.h"
#include "platform/writtenfiles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGestureEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScroller>
#include <QTapGesture>
#include <QTimer>
#include <QToolTip>
#include <QtMath>

#include <algorithm>
#include <iterator>

namespace {

// What a theme icon is charged in the cache; it shares its pixmaps with every other user.
constexpr qint64 kThemeIconCost = 1024;
// Type icons made in one turn of the event loop: each may look into its file.
constexpr int kThemeIconsPerTurn = 8;

QString filePathOf(const QModelIndex& index)
{
    return index.data(QFileSystemModel::FilePathRole).toString();
}

} // namespace

ThumbnailView::ThumbnailView(QWidget* parent)
    : QListView(parent)
    , m_loadTimer(new QTimer(this))
    , m_provider(std::make_unique<FileThumbnailProvider>())
    , m_loader(std::make_unique<ThumbnailLoader>())
    , m_modelLifetimes(std::make_unique<QObject>())
{
    setItemDelegate(new ThumbnailItemDelegate(this));
    m_loadTimer->setSingleShot(true);
    m_loadTimer->setInterval(kLoadDelayMs);
    connect(m_loadTimer, &QTimer::timeout, this, &ThumbnailView::loadVisibleThumbnails);
    connect(m_loader.get(), &ThumbnailLoader::thumbnailReady, this, &ThumbnailView::thumbnailReady);
    connect(this, &QAbstractItemView::iconSizeChanged, m_loadTimer,
            static_cast<void (QTimer::*)()>(&QTimer::start));
    connect(WrittenFiles::instance(), &WrittenFiles::written, this, &ThumbnailView::fileWritten);
}

// Background reads still running hold only copies of plain values; the loader waits for them
// and drops their results.
ThumbnailView::~ThumbnailView() = default;

QIcon ThumbnailView::thumbnail(const QModelIndex& index) const
{
    const QString path = filePathOf(index);
    const QFileInfo info(path);
    if (info.isFile()) {
        const QIcon icon = m_thumbnailCache.find(index);
        return icon.isNull() ? QIcon::fromTheme(QStringLiteral("image-x-generic")) : icon;
    }
    return m_provider->icon(info);
}

void ThumbnailView::setModel(QAbstractItemModel* newModel)
{
    QAbstractItemModel* old = model();
    if (newModel == old)
        return;
    if (old)
        disconnect(old, nullptr, this, nullptr);
    rowsRemovedFromModel();
    QListView::setModel(newModel);
    if (newModel) {
        connect(newModel, &QAbstractItemModel::modelReset, this, &ThumbnailView::layoutChanged);
        connect(newModel, &QAbstractItemModel::layoutChanged, this, &ThumbnailView::layoutChanged);
        connect(newModel, &QAbstractItemModel::rowsRemoved, this,
                &ThumbnailView::rowsRemovedFromModel);
        watchModelLifetime(newModel);
    }
    m_loadTimer->start();
}

void ThumbnailView::setReadObserver(ReadObserver observer)
{
    m_loader->setDecodeObserver(std::move(observer));
}

bool ThumbnailView::isReadingInBackground() const
{
    return m_loader->runningCount() > 0;
}

int ThumbnailView::shownEdge() const
{
    const QSize icon = iconSize();
    return qCeil(qMax(icon.width(), icon.height()) * devicePixelRatioF());
}

int ThumbnailView::madeEdge() const
{
    return DesktopThumbnailCache::edge(DesktopThumbnailCache::sizeFor(shownEdge()));
}

void ThumbnailView::setCacheBudget(qint64 bytes)
{
    m_thumbnailCache.setBudget(bytes);
}

void ThumbnailView::loadVisibleThumbnails()
{
    if (!isVisible() || !model())
        return;
    // Files no worker has started on go back into the queue made below, in the order of sight.
    for (const quint64 ticket : m_loader->dropQueued())
        m_loading.remove(ticket);
    // Icons made for another size would look blurred or waste memory, and so would those still
    // being made for it.
    if (madeEdge() != m_madeEdge) {
        m_thumbnailCache.clear();
        m_loading.clear();
        m_madeEdge = madeEdge();
    }
    const QSize icon = iconSize();
    const QRect inSight = viewport()->rect();
    const QRect area = QRect(QPoint(0, 0), viewport()->size())
                           .adjusted(-icon.width(), -icon.height(), icon.width() - 1,
                                     icon.height() - 1);
    QSet<QPersistentModelIndex> loading;
    for (const QPersistentModelIndex& index : qAsConst(m_loading))
        loading.insert(index);
    const QModelIndex root = rootIndex();
    const int rows = model()->rowCount(root);
    QSet<QPersistentModelIndex> onScreen;
    // The queue is made anew: what has scrolled away is no longer wanted, and what is in sight
    // goes before the items at the edges.
    QList<QPersistentModelIndex> edges;
    m_pendingIndexes.clear();
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model()->index(row, 0, root);
        const QRect rect = visualRect(index);
        if (!rect.intersects(area))
            continue;
        const QPersistentModelIndex item(index);
        onScreen.insert(item);
        if (m_thumbnailCache.contains(index) || loading.contains(item))
            continue;
        (rect.intersects(inSight) ? m_pendingIndexes : edges).append(item);
    }
    m_pendingIndexes += edges;
    m_thumbnailCache.setOnScreen(std::move(onScreen));
    loadPendingThumbnail();
}

void ThumbnailView::loadPendingThumbnail()
{
    int themeIcons = 0;
    while (!m_pendingIndexes.isEmpty() && !m_loader->isFull() && themeIcons < kThemeIconsPerTurn) {
        const QPersistentModelIndex index = m_pendingIndexes.takeFirst();
        if (!index.isValid())
            continue;
        const QString path = filePathOf(index);
        const QFileInfo info(path);
        if (FileThumbnailProvider::isReadableImage(info)) {
            m_loading.insert(m_loader->load(path, shownEdge()), index);
        } else {
            storeThumbnail(index, m_provider->icon(info), kThemeIconCost);
            ++themeIcons;
        }
    }
    // A full loader calls again when a worker is free.
    if (!m_loader->isFull())
        scheduleNextLoad();
}

void ThumbnailView::thumbnailReady(quint64 ticket, const ThumbnailPair& pair)
{
    const QPersistentModelIndex index = m_loading.take(ticket);
    // The row may have gone, or now stand for another file.
    if (index.isValid() && filePathOf(index) == pair.filePath)
        storeThumbnail(index, m_provider->iconForImage(pair.image), pair.image.sizeInBytes());
    loadPendingThumbnail();
}

void ThumbnailView::fileWritten(const QString& path)
{
    if (!model())
        return;
    const QString written = QFileInfo(path).absoluteFilePath();
    const QModelIndex root = rootIndex();
    const int rows = model()->rowCount(root);
    bool found = false;
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model()->index(row, 0, root);
        if (QFileInfo(filePathOf(index)).absoluteFilePath() != written)
            continue;
        found = true;
        m_thumbnailCache.remove(index);
        // A read under way is of the file as it was.
        for (auto it = m_loading.begin(); it != m_loading.end();)
            it = it.value() == index ? m_loading.erase(it) : std::next(it);
        update(index);
    }
    if (found)
        m_loadTimer->start();
}

void ThumbnailView::storeThumbnail(const QModelIndex& index, const QIcon& icon, qint64 cost)
{
    m_thumbnailCache.insert(index, icon, cost);
    update(index);
}

void ThumbnailView::scheduleNextLoad()
{
    if (!m_pendingIndexes.isEmpty())
        QTimer::singleShot(0, this, &ThumbnailView::loadPendingThumbnail);
}

void ThumbnailView::layoutChanged()
{
    m_pendingIndexes.clear();
    m_loading.clear();
    m_thumbnailCache.clear();
    m_loadTimer->start();
}

void ThumbnailView::watchModelLifetime(QAbstractItemModel* model)
{
    if (m_watchedModels.contains(model))
        return;
    m_watchedModels.insert(model);
    connect(model, &QObject::destroyed, m_modelLifetimes.get(), [this](QObject* gone) {
        m_watchedModels.remove(gone);
        dropDeadItems();
    });
}

void ThumbnailView::dropDeadItems()
{
    // A destroyed model has invalidated its persistent indexes.
    m_thumbnailCache.removeInvalid();
    m_pendingIndexes.erase(std::remove_if(m_pendingIndexes.begin(), m_pendingIndexes.end(),
                                          [](const QPersistentModelIndex& index) {
                                              return !index.isValid();
                                          }),
                           m_pendingIndexes.end());
}

void ThumbnailView::resizeEvent(QResizeEvent* event)
{
    QListView::resizeEvent(event);
    m_loadTimer->start();
}

void ThumbnailView::showEvent(QShowEvent* event)
{
    QListView::showEvent(event);
    m_loadTimer->start();
}

bool ThumbnailView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Gesture)
        return gestureEvent(static_cast<QGestureEvent*>(event));
    if (event->type() == QEvent::ToolTip) {
        // The name, also where the item's text is elided or not shown at all.
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        if (index.isValid())
            QToolTip::showText(help->globalPos(), index.data(Qt::DisplayRole).toString(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QListView::viewportEvent(event);
}

void ThumbnailView::scrollContentsBy(int dx, int dy)
{
    QListView::scrollContentsBy(dx, dy);
    m_loadTimer->start();
}

void ThumbnailView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    QListView::rowsInserted(parent, start, end);
    m_loadTimer->start();
}

void ThumbnailView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    QListView::rowsAboutToBeRemoved(parent, start, end);
    m_removalParent = parent;
    m_removalStart = start;
    m_removalEnd = end;
    for (int row = start; row <= end; ++row)
        m_thumbnailCache.remove(model()->index(row, 0, parent));

    // Only a current item that is going moves on, to the next item that stays (or the one
    // before); other removals, such as another program deleting files, leave it alone.
    const QModelIndex current = currentIndex();
    const bool currentGoes = current.isValid() && current.parent() == parent
        && current.row() >= start && current.row() <= end;
    if (parent == rootIndex() && currentGoes) {
        const int rows = model()->rowCount(parent);
        if (end < rows - 1)
            setCurrentIndex(model()->index(end + 1, 0, parent));
        else if (start > 0)
            setCurrentIndex(model()->index(start - 1, 0, parent));
    }
    m_loadTimer->start();
}

void ThumbnailView::rowsRemovedFromModel()
{
    m_removalParent = QModelIndex();
    m_removalStart = m_removalEnd = -1;
}

bool ThumbnailView::isRowBeingRemoved(const QModelIndex& parent, int row) const
{
    return m_removalStart >= 0 && parent == m_removalParent && row >= m_removalStart
        && row <= m_removalEnd;
}

bool ThumbnailView::gestureEvent(QGestureEvent* event)
{
    if (auto* tap = static_cast<QTapGesture*>(event->gesture(Qt::TapGesture))) {
        if (tap->state() == Qt::GestureFinished)
            postClick(tap->position().toPoint());
    }
    return true;
}

bool ThumbnailView::isSynthesizedTouchClick(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        return mouse->source() != Qt::MouseEventNotSynthesized
            && mouse->button() != Qt::RightButton;
    }
    default:
        return false;
    }
}

void ThumbnailView::grabTouchGestures()
{
    QScroller::grabGesture(viewport(), QScroller::TouchGesture);
    viewport()->grabGesture(Qt::TapGesture);
}

void ThumbnailView::postClick(const QPoint& viewportPos)
{
    const QPoint global = viewport()->mapToGlobal(viewportPos);
    QCoreApplication::postEvent(viewport(),
                                new QMouseEvent(QEvent::MouseButtonPress, viewportPos, global,
                                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(viewport(),
                                new QMouseEvent(QEvent::MouseButtonRelease, viewportPos, global,
                                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}
