#include "platform/lumofm/treewidget.h"

#include "platform/lumofm/navigation.h"
#include "platform/lumofm/vfs.h"

#include <QCompleter>
#include <QFileSystemModel>
#include <QGestureEvent>
#include <QHeaderView>
#include <QPinchGesture>
#include <QScroller>
#include <QStyle>

#include <algorithm>

namespace LumoFM {

namespace {

// Only directories are browsed here; hidden ones stay out of the way, as in file managers.
constexpr QDir::Filters kDirectoryFilter = QDir::AllDirs | QDir::NoDotAndDotDot;

} // namespace

TreeWidget::TreeWidget(Navigation* navigation, QWidget* parent)
    : QTreeView(parent)
    , m_navigation(navigation)
    , m_model(new QFileSystemModel(this))
{
    m_model->setFilter(kDirectoryFilter);
    m_model->setReadOnly(true);
    setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    m_baseFont = font();
    const int iconEdge = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    m_baseIconSize = iconSize().isValid() ? iconSize() : QSize(iconEdge, iconEdge);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) { onCurrentIndexChanged(index); });
    if (m_navigation) {
        connect(m_navigation, &Navigation::currentChanged, this, &TreeWidget::selectEntry);
        selectEntry(m_navigation->current());
    }
}

void TreeWidget::setRootEntry(const Entry& entry)
{
    if (!entry.isValid())
        return;
    m_root = entry;
    setRootIndex(m_model->setRootPath(entry.localPath()));
    if (m_navigation)
        selectEntry(m_navigation->current());
}

QCompleter* TreeWidget::createPathCompleter()
{
    // QCompleter splits and joins paths itself when its model is a QFileSystemModel.
    auto* completer = new QCompleter(m_model, this);
    completer->setCaseSensitivity(Qt::CaseSensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    return completer;
}

void TreeWidget::setPinchZoomEnabled(bool on)
{
    if (on == m_pinchZoom)
        return;
    m_pinchZoom = on;
    if (on)
        viewport()->grabGesture(Qt::PinchGesture);
    else
        viewport()->ungrabGesture(Qt::PinchGesture);
}

void TreeWidget::setKineticScrollingEnabled(bool on)
{
    if (on == m_kineticScrolling)
        return;
    m_kineticScrolling = on;
    if (on) {
        // The scroller moves by pixels; item steps would make it jump.
        setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        QScroller::grabGesture(viewport(), QScroller::TouchGesture);
    } else {
        QScroller::ungrabGesture(viewport());
        setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    }
}

void TreeWidget::setZoom(double zoom)
{
    zoom = std::clamp(zoom, minimumZoom, maximumZoom);
    if (qFuzzyCompare(zoom, m_zoom))
        return;
    m_zoom = zoom;
    QFont scaled = m_baseFont;
    if (m_baseFont.pointSizeF() > 0)
        scaled.setPointSizeF(m_baseFont.pointSizeF() * zoom);
    else
        scaled.setPixelSize(qRound(m_baseFont.pixelSize() * zoom));
    setFont(scaled);
    setIconSize(m_baseIconSize * zoom);
}

bool TreeWidget::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Gesture && m_pinchZoom
        && pinch(static_cast<QGestureEvent*>(event)))
        return true;
    return QTreeView::viewportEvent(event);
}

bool TreeWidget::pinch(QGestureEvent* event)
{
    auto* gesture = static_cast<QPinchGesture*>(event->gesture(Qt::PinchGesture));
    if (!gesture)
        return false;
    if (gesture->changeFlags() & QPinchGesture::ScaleFactorChanged)
        setZoom(m_zoom * gesture->scaleFactor());
    event->accept(gesture);
    return true;
}

void TreeWidget::selectEntry(const Entry& entry)
{
    if (!entry.isValid() || !entry.isDir())
        return;
    const QModelIndex index = m_model->index(entry.localPath());
    if (!index.isValid())
        return;
    if (index != currentIndex()) {
        m_selecting = true;
        setCurrentIndex(index);
        m_selecting = false;
    }
    expand(index);
    scrollTo(index);
}

void TreeWidget::onCurrentIndexChanged(const QModelIndex& index)
{
    if (m_selecting || !m_navigation || !index.isValid())
        return;
    m_navigation->setCurrent(VFS::ptr()->entry(m_model->filePath(index)));
}

} // namespace LumoFM
