#include "platformwidgets/lumofm/treewidget.h"

#include "platform/lumofm/navigation.h"
#include "platform/lumofm/vfs.h"

#include <QCompleter>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGestureEvent>
#include <QHeaderView>
#include <QPinchGesture>
#include <QScrollBar>
#include <QScroller>
#include <QStyle>

#include <algorithm>

namespace LumoFM {

namespace {

// Only directories are browsed here; hidden ones stay out of the way, as in file managers.
constexpr QDir::Filters kDirectoryFilter = QDir::AllDirs | QDir::NoDotAndDotDot;

// The directories whose listings decide where target stands in a tree rooted at root: root and
// each one below it down to target's parent. None when target is not below root.
QStringList directoriesAbove(const QString& root, const QString& target)
{
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    if (!target.startsWith(prefix))
        return {};
    QStringList dirs;
    for (QString dir = QFileInfo(target).path(); dir.size() >= root.size();
         dir = QFileInfo(dir).path()) {
        dirs.prepend(dir);
        if (dir == root)
            break;
    }
    return dirs;
}

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
    // Whole names and sideways scrolling rather than names elided to nothing in a narrow pane,
    // where deep directories start near the right edge.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    m_baseFont = font();
    const int iconEdge = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    m_baseIconSize = iconSize().isValid() ? iconSize() : QSize(iconEdge, iconEdge);

    connect(m_model, &QFileSystemModel::directoryLoaded, this, &TreeWidget::onDirectoryLoaded);
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
    m_revealPath.clear();
    if (!entry.isValid() || !entry.isDir())
        return;
    m_revealPath = QDir::cleanPath(entry.localPath());
    revealPending();
}

void TreeWidget::revealPending()
{
    // The model lists directories on a worker thread: the path may have no index yet, and
    // siblings that arrive later push it out of where it was scrolled to. Each listing that
    // comes in tries again, until every directory above it has been listed.
    if (!m_model->index(m_revealPath).isValid())
        return;
    bool listed = true;
    for (const QString& dir : directoriesAbove(shownRootPath(), m_revealPath)) {
        const QModelIndex dirIndex = m_model->index(dir);
        if (m_model->canFetchMore(dirIndex))
            m_model->fetchMore(dirIndex);
        listed = listed && m_listedDirs.contains(dir);
    }
    if (listed) {
        // New rows are sorted on a timer; sorting now keeps the position scrolled to.
        m_model->sort(0);
    }
    const QModelIndex index = m_model->index(m_revealPath);
    if (index != currentIndex()) {
        m_selecting = true;
        setCurrentIndex(index);
        m_selecting = false;
    }
    expand(index);
    scrollTo(index);
    // scrollTo lines up the column, not the indentation: in a narrow tree a deep directory's
    // name would stay out of sight to the right. The column takes the row's width first. Names
    // are read from their left edge, so the tree moves sideways only as far as this name needs
    // to be seen whole, and never past its branch, to cut as little of the others as it can.
    resizeColumnToContents(0);
    updateGeometries();
    QScrollBar* sideways = horizontalScrollBar();
    const int left = visualRect(index).left() + sideways->value();
    const int right = left + sizeHintForIndex(index).width();
    sideways->setValue(qBound(0, right - viewport()->width(), left - indentation()));
    if (listed)
        m_revealPath.clear();
}

void TreeWidget::onDirectoryLoaded(const QString& path)
{
    m_listedDirs.insert(QDir::cleanPath(path));
    if (!m_revealPath.isEmpty())
        revealPending();
}

QString TreeWidget::shownRootPath() const
{
    // Without a root entry the model's top shows the file-system root.
    return m_root.isValid() ? QDir::cleanPath(m_root.localPath()) : QStringLiteral("/");
}

void TreeWidget::onCurrentIndexChanged(const QModelIndex& index)
{
    if (m_selecting || !m_navigation || !index.isValid())
        return;
    m_navigation->setCurrent(VFS::ptr()->entry(m_model->filePath(index)));
}

} // namespace LumoFM
