#include "fullscreen/fullscreenpanel.h"

#include "browser/thumbnailsbar.h"
#include "view/goactions.h"
#include "view/spicview.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QHBoxLayout>
#include <QToolBar>

FullscreenPanel::FullscreenPanel(QAction* exitAction, GoActions* goActions,
                                 ZoomActions* zoomActions, QWidget* parent)
    : GenericFullscreenPanel(parent)
{
    auto* container = new QWidget(this);
    auto* layout = new QHBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);

    m_toolBar = new QToolBar(container);
    m_toolBar->setStyleSheet(QStringLiteral("QToolBar { border-width: 0px }"));
    m_toolBar->addAction(exitAction);
    m_toolBar->addSeparator();
    m_toolBar->addActions({goActions->firstAction(), goActions->previousAction(),
                           goActions->startAction(), goActions->stopAction(),
                           goActions->nextAction(), goActions->lastAction(),
                           goActions->loopAction()});
    m_toolBar->addSeparator();
    m_toolBar->addActions({zoomActions->trueSizeAction(), zoomActions->fitAction()});
    layout->addWidget(m_toolBar);

    m_thumbnailsBar = new ThumbnailsBar(container);
    keepBarOneRowHigh();
    layout->addWidget(m_thumbnailsBar);

    setWidget(container);
}

void FullscreenPanel::keepBarOneRowHigh()
{
    m_thumbnailsBar->setMaximumHeight(m_thumbnailsBar->minimumHeight());
}

void FullscreenPanel::setTabletMode(bool tabletMode)
{
    GenericFullscreenPanel::setTabletMode(tabletMode);
    m_thumbnailsBar->setTabletMode(tabletMode);
    // The bar sets its own height limits anew for the mode.
    keepBarOneRowHigh();
}

void FullscreenPanel::setPicView(SPicView* view)
{
    if (view == m_picView)
        return;
    if (m_picView) {
        disconnect(m_picView, nullptr, this, nullptr);
        disconnect(m_picView, nullptr, m_thumbnailsBar, nullptr);
        detach();
    }
    m_picView = view;
    if (!view)
        return;
    setParentWidget(view);
    showFilesOf(view);
    connect(m_thumbnailsBar, &ThumbnailsBar::currentIndexChanged, this,
            &FullscreenPanel::thumbnailChosen);
    connect(view, &SPicView::currentIndexChanged, m_thumbnailsBar,
            &ThumbnailsBar::setCurrentIndex);
    connect(view, &SPicView::toggleFullscreenPanel, this, &FullscreenPanel::toggleVisibility);
    connect(view, &SPicView::dirModelChanged, this, &FullscreenPanel::picViewModelChanged);
    // Views are deleted when closed, and the panel is their child while attached: it leaves
    // before it would be deleted along with them.
    connect(view, &SPicView::fullScreenPicClosed, this, [this] { setPicView(nullptr); });
    connect(view, &SPicView::picClosed, this, [this] { setPicView(nullptr); });
    connect(view, &QObject::destroyed, this, &FullscreenPanel::picViewDestroyed);
}

void FullscreenPanel::detach()
{
    disconnect(m_thumbnailsBar, &ThumbnailsBar::currentIndexChanged, this,
               &FullscreenPanel::thumbnailChosen);
    // The model belongs to the view being left.
    m_thumbnailsBar->setModel(nullptr);
    setParentWidget(nullptr);
}

void FullscreenPanel::showFilesOf(SPicView* view)
{
    m_thumbnailsBar->setModel(view->fileModel());
    m_thumbnailsBar->setCurrentIndex(view->currentModelIndex());
}

void FullscreenPanel::picViewDestroyed()
{
    // A panel whose maker is gone belongs to nobody but the view, and goes with it.
    if (ownerGone())
        return;
    detach();
}

void FullscreenPanel::picViewModelChanged()
{
    if (m_picView)
        showFilesOf(m_picView);
}

void FullscreenPanel::thumbnailChosen(const QModelIndex& index)
{
    if (!m_picView)
        return;
    // The bar echoes every move of the view; only a different picture is worth reading.
    if (index.model() == m_picView->fileModel() && index.row() == m_picView->currentRow())
        return;
    m_picView->setCurrentIndex(index);
}
