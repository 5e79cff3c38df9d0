#include "browser/thumbnailsbar.h"

#include "browser/thumbnailitemdelegate.h"
#include "platformwidgets/lumoscrollbar.h"

#include <QScrollBar>
#include <QTimeLine>
#include <QTimer>

ThumbnailsBar::ThumbnailsBar(QWidget* parent)
    : ThumbnailView(parent)
    , m_scrollTimeLine(nullptr)
    , m_scrollBar(new LumoScrollBar(Qt::Horizontal))
{
    if (auto* delegate = qobject_cast<ThumbnailItemDelegate*>(itemDelegate()))
        delegate->setShowText(false);

    setAutoScroll(false);
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setWrapping(false);
    setResizeMode(QListView::Adjust);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setContentsMargins(0, 0, 0, 0);
    // Every item is one grid cell; without this the layout asks each of a big folder's files.
    setUniformItemSizes(true);

    setHorizontalScrollBar(m_scrollBar);
    m_scrollTimeLine = new QTimeLine(kScrollDurationMs, this);
    connect(m_scrollTimeLine, &QTimeLine::frameChanged, m_scrollBar, &QScrollBar::setValue);

    applyHeightLimits();

    viewport()->installEventFilter(this);
    grabTouchGestures();
}

void ThumbnailsBar::setTabletMode(bool tabletMode)
{
    if (tabletMode == m_tabletMode)
        return;
    m_tabletMode = tabletMode;
    m_scrollBar->setIndicatorMode(tabletMode);
    applyHeightLimits();
    // The scroll bar changed its thickness, and the icons must fit what is left of the height.
    updateIconSize();
}

QSize ThumbnailsBar::sizeHint() const
{
    return QSize(QAbstractScrollArea::sizeHint().width(), 50);
}

int ThumbnailsBar::iconSide(int barHeight, int scrollBarHeight, int frameWidth)
{
    return qMax(1, barHeight - scrollBarHeight - 3 * frameWidth);
}

QSize ThumbnailsBar::gridSizeForIcon(int iconSide)
{
    return QSize(iconSide + 4, iconSide);
}

int ThumbnailsBar::minimumBarHeight(int scrollBarHeight, int frameWidth)
{
    return scrollBarHeight + 48 + 3 * frameWidth;
}

int ThumbnailsBar::maximumBarHeight(int scrollBarHeight, int frameWidth)
{
    return scrollBarHeight + 128 + 3 * frameWidth;
}

int ThumbnailsBar::centeringScrollValue(int scrollValue, const QRect& itemRect, int viewportWidth)
{
    return scrollValue + itemRect.x() - (viewportWidth - itemRect.width()) / 2;
}

void ThumbnailsBar::smoothScrollToCenter(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    m_scrollTimeLine->stop();
    const int from = horizontalScrollBar()->value();
    const int to = centeringScrollValue(from, visualRect(index), viewport()->width());
    m_scrollTimeLine->setFrameRange(from, to);
    m_scrollTimeLine->start();
}

bool ThumbnailsBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == viewport() && isSynthesizedTouchClick(event))
        return true;
    return ThumbnailView::eventFilter(watched, event);
}

void ThumbnailsBar::resizeEvent(QResizeEvent* event)
{
    updateIconSize();
    ThumbnailView::resizeEvent(event);
}

void ThumbnailsBar::updateIconSize()
{
    const int side = iconSide(height(), horizontalScrollBar()->sizeHint().height(), frameWidth());
    setIconSize(QSize(side, side));
    setGridSize(gridSizeForIcon(side));
}

void ThumbnailsBar::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // The item view repaints the old and new current items.
    ThumbnailView::currentChanged(current, previous);
    if (current.isValid()) {
        smoothScrollToCenter(current);
        emit currentIndexChanged(current);
        return;
    }
    if (!previous.isValid() || !model())
        return;
    // The current item has gone: report its neighbour; the picture view makes it current.
    const QModelIndex parent = previous.parent();
    const int rows = model()->rowCount(parent);
    if (rows == 0)
        return;
    const int row = previous.row() < rows ? previous.row() : rows - 1;
    // Every row is going: there is nothing left to move to.
    if (isRowBeingRemoved(parent, row))
        return;
    const QModelIndex target = model()->index(row, 0, parent);
    smoothScrollToCenter(target);
    emit currentIndexChanged(target);
}

void ThumbnailsBar::rowsInserted(const QModelIndex& parent, int start, int end)
{
    ThumbnailView::rowsInserted(parent, start, end);
    // Files listed in front of the current one push it out of sight. A big folder arrives in
    // many batches: the bar centres it again once per turn of the event loop, not per batch.
    const QModelIndex current = currentIndex();
    if (m_recentrePending || !current.isValid() || parent != rootIndex() || end >= current.row())
        return;
    m_recentrePending = true;
    QTimer::singleShot(0, this, &ThumbnailsBar::recentreCurrent);
}

void ThumbnailsBar::recentreCurrent()
{
    m_recentrePending = false;
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    // A jump, not a glide: the picture has not changed, only what lies before it.
    m_scrollTimeLine->stop();
    QScrollBar* bar = horizontalScrollBar();
    bar->setValue(centeringScrollValue(bar->value(), visualRect(current), viewport()->width()));
}

void ThumbnailsBar::applyHeightLimits()
{
    const int scrollBarHeight = m_scrollBar->sizeHint().height();
    setMinimumHeight(minimumBarHeight(scrollBarHeight, frameWidth()));
    setMaximumHeight(maximumBarHeight(scrollBarHeight, frameWidth()));
}
