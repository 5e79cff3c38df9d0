#include "browser/imagefileselector.h"

#include "browser/imagesdirview.h"
#include "platform/lumofm/vfs.h"
#include "platformwidgets/lumofm/treewidget.h"
#include "platformwidgets/lumosplitter.h"

#include <QTimer>
#include <QVBoxLayout>

ImageFileSelector::ImageFileSelector(LumoFM::Navigation* navigation, QWidget* parent)
    : QWidget(parent)
    , m_splitter(new LumoSplitter(Qt::Horizontal))
    , m_tree(new LumoFM::TreeWidget(navigation))
    , m_dirView(new ImagesDirView(navigation, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    auto* treePane = new QWidget;
    auto* treeLayout = new QVBoxLayout(treePane);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->addWidget(m_tree);

    m_splitter->addWidget(treePane);
    m_splitter->addWidget(m_dirView);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 4);

    connect(m_dirView, &ImagesDirView::imageActivated, this, &ImageFileSelector::imageActivated);
    connect(m_dirView, &ImagesDirView::imagesActivated, this,
            &ImageFileSelector::imagesActivated);
    connect(m_dirView, &ImagesDirView::currentFilePathChanged, this,
            &ImageFileSelector::currentFilePathChanged);
    connect(m_dirView, &ImagesDirView::thumbnailSizeChanged, this,
            &ImageFileSelector::thumbnailSizeChanged);
}

void ImageFileSelector::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_rooted)
        return;
    m_rooted = true;
    // Rooting the tree at "/" reads the file system: not before the browser is first seen, so
    // that a picture opened at start does not wait for it, and then after the window is up.
    QTimer::singleShot(0, this, [this] { m_tree->setRootEntry(LumoFM::VFS::ptr()->rootEntry()); });
}

QString ImageFileSelector::currentFilePath() const
{
    return m_dirView->currentFilePath();
}

QCompleter* ImageFileSelector::pathCompleter()
{
    return m_tree->createPathCompleter();
}

void ImageFileSelector::setTabletMode(bool tabletMode)
{
    if (tabletMode == m_tabletMode)
        return;
    m_tabletMode = tabletMode;
    m_tree->setPinchZoomEnabled(tabletMode);
    m_tree->setKineticScrollingEnabled(tabletMode);
    m_dirView->setTabletMode(tabletMode);
    m_splitter->setThinHandleModeEnabled(tabletMode);
}

void ImageFileSelector::setThumbnailSize(int size)
{
    m_dirView->setThumbnailSize(size);
}

void ImageFileSelector::setIconViewMode(bool enable)
{
    m_dirView->setIconViewMode(enable);
}
