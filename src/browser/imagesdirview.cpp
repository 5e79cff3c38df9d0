#include "browser/imagesdirview.h"

#include "browser/imagefilefiltermodel.h"
#include "platform/lumofm/navigation.h"
#include "platform/lumofm/vfs.h"
#include "platform/processlauncher.h"
#include "platformwidgets/lumoscrollbar.h"
#include "view/sharedfilesystemmodel.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGestureEvent>
#include <QMenu>
#include <QPinchGesture>
#include <QStandardItemModel>

#include <algorithm>

namespace {

QString filePathOf(const QModelIndex& index)
{
    return index.data(QFileSystemModel::FilePathRole).toString();
}

bool isDirectory(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

ImagesDirView::ImagesDirView(LumoFM::Navigation* navigation, QWidget* parent)
    : ThumbnailView(parent)
    , m_navigation(navigation)
    , m_fsModel(sharedFileSystemModel())
    , m_imageModel(new ImageFileFilterModel(m_fsModel, this))
    , m_placeholderModel(nullptr)
    , m_horizontalScrollBar(new LumoScrollBar(Qt::Horizontal))
    , m_verticalScrollBar(new LumoScrollBar(Qt::Vertical))
    , m_removeAction(makeShortcutAction(tr("Remove"), QKeySequence(Qt::SHIFT | Qt::Key_Delete),
                                        &ImagesDirView::slotRemoveImageFile))
    , m_trashAction(makeShortcutAction(tr("Remove to trash"), QKeySequence(Qt::Key_Delete),
                                       &ImagesDirView::slotRemoveToTrashImageFile))
{
    setMovement(QListView::Static);
    setWrapping(true);
    setWordWrap(true);
    setResizeMode(QListView::Adjust);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A double click opens; files are renamed in the file manager, not here.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setIconSize(QSize(m_thumbnailSize, m_thumbnailSize));

    m_placeholderModel = new QStandardItemModel(this);
    showModel(m_imageModel);
    if (m_navigation) {
        connect(m_navigation, &LumoFM::Navigation::currentChanged, this,
                &ImagesDirView::newEntrySelected);
    }
    connect(this, &QAbstractItemView::activated, this, &ImagesDirView::slotImageActivated);

    setHorizontalScrollBar(m_horizontalScrollBar);
    setVerticalScrollBar(m_verticalScrollBar);

    viewport()->installEventFilter(this);
    setAttribute(Qt::WA_MouseTracking);
    grabTouchGestures();
    viewport()->grabGesture(Qt::PinchGesture);
}

QAction* ImagesDirView::makeShortcutAction(const QString& text, const QKeySequence& keys,
                                           void (ImagesDirView::*slot)())
{
    auto* action = new QAction(text, this);
    action->setShortcut(keys);
    // Only while the view has the focus: the same keys mean other things elsewhere.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, slot);
    addAction(action);
    return action;
}

QString ImagesDirView::currentFilePath() const
{
    // Read through the index itself: while the placeholder is shown, the current index is not
    // one of the file-system model's.
    return filePathOf(currentIndex());
}

QStringList ImagesDirView::selectedFilePaths() const
{
    QStringList paths;
    if (!selectionModel())
        return paths;
    const QModelIndexList indexes = selectionModel()->selectedIndexes();
    for (const QModelIndex& index : indexes) {
        const QString path = filePathOf(index);
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

QModelIndex ImagesDirView::indexOfPath(const QString& path) const
{
    return m_imageModel->mapFromSource(m_fsModel->index(path));
}

bool ImagesDirView::isShowingPlaceholder() const
{
    return model() == m_placeholderModel;
}

void ImagesDirView::setDirectory(const QString& localPath)
{
    // An empty path would name the model's top, the list of file systems.
    if (localPath.isEmpty() || !m_fsModel->index(localPath).isValid()) {
        showModel(m_placeholderModel);
        return;
    }
    m_horizontalScrollBar->setValue(0);
    m_verticalScrollBar->setValue(0);
    const QModelIndex root = m_fsModel->setRootPath(localPath);
    if (model() != m_imageModel)
        showModel(m_imageModel);
    setRootIndex(m_imageModel->mapFromSource(root));
    setCurrentIndex(QModelIndex());
}

void ImagesDirView::showModel(QAbstractItemModel* newModel)
{
    // The item view makes a selection model per model and leaves the old one to us.
    QItemSelectionModel* oldSelection = selectionModel();
    setModel(newModel);
    if (oldSelection && oldSelection != selectionModel())
        delete oldSelection;
}

void ImagesDirView::newEntrySelected(const LumoFM::Entry& entry)
{
    if (m_listing)
        setDirectory(entry.localPath());
}

void ImagesDirView::showEvent(QShowEvent* event)
{
    ThumbnailView::showEvent(event);
    if (m_listing || !m_navigation)
        return;
    m_listing = true;
    setDirectory(m_navigation->current().localPath());
}

void ImagesDirView::setTabletMode(bool tabletMode)
{
    if (tabletMode == m_tabletMode)
        return;
    m_tabletMode = tabletMode;
    m_horizontalScrollBar->setIndicatorMode(tabletMode);
    m_verticalScrollBar->setIndicatorMode(tabletMode);
}

QSize ImagesDirView::iconModeGridSize(int iconWidth, int fontHeight)
{
    return QSize(iconWidth + 10, iconWidth + 2 * fontHeight);
}

int ImagesDirView::boundedThumbnailSize(int size)
{
    return std::clamp(size, minimumThumbnailSize, maximumThumbnailSize);
}

void ImagesDirView::setThumbnailSize(int size)
{
    applyThumbnailSize(boundedThumbnailSize(size));
    m_pinchedSize = m_thumbnailSize;
}

void ImagesDirView::applyThumbnailSize(int size)
{
    m_thumbnailSize = size;
    setIconSize(QSize(size, size));
    if (viewMode() == QListView::IconMode)
        setGridSize(iconModeGridSize(size, fontMetrics().height()));
    emit thumbnailSizeChanged(size);
}

void ImagesDirView::setIconViewMode(bool enable)
{
    if (enable) {
        setBatchSize(8);
        setViewMode(QListView::IconMode);
        setGridSize(iconModeGridSize(iconSize().width(), fontMetrics().height()));
    } else {
        // With wrapping on, list mode lays the items out in columns.
        setLayoutMode(QListView::SinglePass);
        setGridSize(QSize());
        setViewMode(QListView::ListMode);
    }
}

void ImagesDirView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    ThumbnailView::currentChanged(current, previous);
    emit currentFilePathChanged();
}

void ImagesDirView::slotImageActivated(const QModelIndex& index)
{
    const QString path = filePathOf(index);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).isFile()) {
        emit imageActivated(path);
        return;
    }
    // Anything else listed that is not a directory (a dangling link) leads nowhere.
    if (!m_navigation || !isDirectory(path))
        return;
    const LumoFM::Entry child =
        LumoFM::VFS::ptr()->child(m_navigation->current(), QFileInfo(path).fileName());
    m_navigation->setCurrent(child);
}

void ImagesDirView::slotOpenImageFiles()
{
    const QStringList paths = selectedFilePaths();
    if (paths.size() == 1 && isDirectory(paths.first())) {
        if (m_navigation)
            m_navigation->setCurrent(
                LumoFM::VFS::ptr()->entry(QFileInfo(paths.first()).canonicalFilePath()));
        return;
    }
    // Directories cannot be opened as pictures.
    QStringList files;
    for (const QString& path : paths) {
        if (QFileInfo(path).isFile())
            files << path;
    }
    if (!files.isEmpty())
        emit imagesActivated(files);
}

void ImagesDirView::slotRemoveImageFile()
{
    startFileTool(QStringLiteral("lumo-fops"), QStringLiteral("--remove"), shownDirectory());
}

void ImagesDirView::slotRemoveToTrashImageFile()
{
    startFileTool(QStringLiteral("lumo-fops"), QStringLiteral("--trash"), shownDirectory());
}

void ImagesDirView::slotImageFileProperties()
{
    startFileTool(QStringLiteral("lumo-props"), QStringLiteral("-s"), QString());
}

QString ImagesDirView::shownDirectory() const
{
    return filePathOf(rootIndex());
}

void ImagesDirView::startFileTool(const QString& tool, const QString& option,
                                  const QString& workingDir)
{
    const QStringList paths = selectedFilePaths();
    // Without paths the tool would have nothing to act on.
    if (paths.isEmpty())
        return;
    // The tool reports its own failures; the listing follows the directory by itself.
    ProcessLauncher::current()->startDetached(ProcessLauncher::siblingTool(tool),
                                              QStringList{option} + paths, workingDir);
}

std::unique_ptr<QMenu> ImagesDirView::createContextMenu()
{
    if (!currentIndex().isValid())
        return nullptr;
    auto menu = std::make_unique<QMenu>();
    menu->addAction(tr("Open"), this, &ImagesDirView::slotOpenImageFiles);
    menu->addSeparator();
    menu->addAction(m_removeAction);
    menu->addAction(m_trashAction);
    menu->addSeparator();
    menu->addAction(tr("Properties"), this, &ImagesDirView::slotImageFileProperties);
    return menu;
}

void ImagesDirView::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu = createContextMenu();
    if (menu)
        menu->exec(event->globalPos());
}

void ImagesDirView::mouseMoveEvent(QMouseEvent* event)
{
    // Moving the mouse neither drags files nor draws a selection band here.
    const bool overItem = indexAt(event->pos()).isValid();
    viewport()->setCursor(overItem ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

bool ImagesDirView::gestureEvent(QGestureEvent* event)
{
    auto* pinch = static_cast<QPinchGesture*>(event->gesture(Qt::PinchGesture));
    if (!pinch)
        return ThumbnailView::gestureEvent(event);
    if (pinch->changeFlags() & QPinchGesture::ScaleFactorChanged) {
        m_pinchedSize = std::clamp(m_pinchedSize * pinch->scaleFactor(),
                                   qreal(minimumThumbnailSize), qreal(maximumThumbnailSize));
        const int size = qRound(m_pinchedSize);
        if (size != m_thumbnailSize)
            applyThumbnailSize(size);
    }
    event->accept(pinch);
    return true;
}

bool ImagesDirView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == viewport() && isSynthesizedTouchClick(event))
        return true;
    return ThumbnailView::eventFilter(watched, event);
}
