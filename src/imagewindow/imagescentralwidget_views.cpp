#include "imagewindow/imagescentralwidget.h"

#include "app/settings.h"
#include "browser/thumbnailsbar.h"
#include "dialogs/newimagedialog.h"
#include "imagewindow/imagewindowactions.h"
#include "imagewindow/sworkspace.h"
#include "view/goactions.h"
#include "view/spic.h"
#include "view/spicview.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QSpinBox>
#include <QStatusBar>

// Making picture views, placing them in the workspace and wiring the current one to the window.

std::unique_ptr<SPicView> ImagesCentralWidget::newPicView() const
{
    QSpinBox* delayBox = m_windowActions->delaySpinBox();
    const int delay = delayBox ? delayBox->value()
                               : Settings::instance()->imagesCentralWidget()->slideDelay();
    return std::make_unique<SPicView>(delay);
}

void ImagesCentralWidget::switchToImagesMode()
{
    QAction* files = shared(SharedActions::Index::Files);
    if (files && files->isChecked())
        shared(SharedActions::Index::Images)->setChecked(true);
}

bool ImagesCentralWidget::placePicView(SPicView* view)
{
    view->addActions(m_windowActions->zoomActions()->actions());
    connect(view, &SPicView::dirModelChanged, this, &ImagesCentralWidget::viewModelChanged);
    connect(view, &SPicView::picClosed, this, &ImagesCentralWidget::viewClosed);

    view->resize(ActionRules::placedViewSize(view->pic()->sizeHint(), m_workspace->size()));
    const bool alone = m_workspace->subWindowList().isEmpty() || m_workspace->singleWindowMode();
    if (!alone)
        m_workspace->normalizeSubWindows();
    QMdiSubWindow* window = m_workspace->addPicView(view);
    if (!window)
        return false;
    if (alone)
        window->showMaximized();
    else
        window->showNormal();
    view->setIndicatorMode(m_tabletMode);
    return true;
}

SPicView* ImagesCentralWidget::place(std::unique_ptr<SPicView> view)
{
    // Placing may ask whether the shown picture may close, and pictures keep arriving while
    // the question is open (the scanner's feeder). Placed in the order they came, each with its
    // own question, single-window mode ends with the last one the user let in.
    if (m_placing) {
        m_waitingViews.push_back(std::move(view));
        return nullptr;
    }
    m_placing = true;
    SPicView* placed = placeNow(std::move(view));
    while (!m_waitingViews.empty()) {
        std::unique_ptr<SPicView> next = std::move(m_waitingViews.front());
        m_waitingViews.pop_front();
        placeNow(std::move(next));
    }
    m_placing = false;
    return placed;
}

SPicView* ImagesCentralWidget::placeNow(std::unique_ptr<SPicView> view)
{
    if (!placePicView(view.get()))
        return nullptr;
    // The workspace's sub-window owns it now.
    return view.release();
}

void ImagesCentralWidget::newPVFromFile(const QString& filePath)
{
    switchToImagesMode();
    std::unique_ptr<SPicView> view = newPicView();
    view->openFile(filePath);
    if (SPicView* placed = place(std::move(view)))
        updateThumbnailsBar(placed);
}

void ImagesCentralWidget::newPVFromList(const QStringList& list)
{
    switchToImagesMode();
    std::unique_ptr<SPicView> view = newPicView();
    view->openList(list);
    place(std::move(view));
}

void ImagesCentralWidget::newPVFromImage(const QImage& image)
{
    if (image.isNull())
        return;
    switchToImagesMode();
    std::unique_ptr<SPicView> view = newPicView();
    view->importImage(image);
    place(std::move(view));
}

void ImagesCentralWidget::newDlg()
{
    NewImageDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    switchToImagesMode();
    std::unique_ptr<SPicView> view = newPicView();
    view->newImage(dialog.newWidth(), dialog.newHeight(), dialog.depth(), dialog.fillColor());
    place(std::move(view));
}

void ImagesCentralWidget::openFileList(const QStringList& fileList)
{
    if (fileList.isEmpty())
        return;
    if (fileList.size() == 1) {
        newPVFromFile(fileList.first());
        return;
    }
    if (m_workspace->singleWindowMode()) {
        newPVFromList(fileList);
        return;
    }
    for (const QString& path : fileList)
        newPVFromFile(path);
    m_workspace->cascadeSubWindows();
}

void ImagesCentralWidget::setPVConnections(QWidget* widget)
{
    auto* view = qobject_cast<SPicView*>(widget);
    if (!m_mainWindow && view)
        return;
    releaseView();
    m_currentView = view;
    if (view) {
        m_windowActions->zoomActions()->setPicView(view);
        m_windowActions->goActions()->setPicView(view);
        connectView(view);
    }
    updateActionsAccessibility();
    if (m_currentView)
        m_currentView->refreshStatus();
}

void ImagesCentralWidget::connectView(SPicView* view)
{
    auto& c = m_viewConnections;
    c << connect(view, &SPicView::selectionContextMenuRequested, this,
                 &ImagesCentralWidget::showSelectionContextMenu);
    c << connect(view, &SPicView::contextMenuRequested, this,
                 &ImagesCentralWidget::showPictureContextMenu);
    c << connect(view, &SPicView::currentIndexChanged, m_thumbnailsBar,
                 &ThumbnailsBar::setCurrentIndex);
    c << connect(view, &SPicView::currentIndexChanged, this,
                 &ImagesCentralWidget::updateActionsAccessibility);
    c << connect(m_thumbnailsBar, &ThumbnailsBar::currentIndexChanged, this,
                 &ImagesCentralWidget::thumbnailChosen);

    using TextSignal = void (SPicView::*)(const QString&);
    const std::array<TextSignal, statusLabelCount> texts = {
        &SPicView::browseInfoChanged, &SPicView::imageInfoChanged, &SPicView::fileInfoChanged,
        &SPicView::zoomChanged,       &SPicView::MPIChanged,       &SPicView::markChanged};
    for (int i = 0; i < statusLabelCount; ++i) {
        if (m_statusLabels[i])
            c << connect(view, texts[i], m_statusLabels[i].data(), &QLabel::setText);
    }
    if (m_statusBar)
        c << connect(view, &SPicView::message, m_statusBar.data(), &QStatusBar::showMessage);

    c << connect(view, &SPicView::slideshow_started, this, &ImagesCentralWidget::slideshow_start);
    c << connect(view, &SPicView::slideshow_stopped, this, &ImagesCentralWidget::slideshow_stop);
    c << connect(view, &SPicView::addToUndo, this, &ImagesCentralWidget::enableSaveSlot);
    c << connect(view, &SPicView::undoStatusChanged,
                 m_windowActions->edit(ImageWindowActions::Edit::Undo), &QAction::setEnabled);
    c << connect(view, &SPicView::redoStatusChanged,
                 m_windowActions->edit(ImageWindowActions::Edit::Redo), &QAction::setEnabled);
    c << connect(view, &SPicView::copy_to_clipboard, this,
                 &ImagesCentralWidget::copyToClipboardSlot);
    c << connect(view, &SPicView::toggleFullScreenRequested,
                 shared(SharedActions::Index::FullScreen), &QAction::trigger);
}

void ImagesCentralWidget::releaseView()
{
    // Only what connectView made: the link placePicView made for the file model stays, so the
    // thumbnails bar follows the view's next model when it is current again.
    for (const QMetaObject::Connection& connection : qAsConst(m_viewConnections))
        disconnect(connection);
    m_viewConnections.clear();
    if (m_currentView) {
        m_windowActions->zoomActions()->setPicView(nullptr);
        m_windowActions->goActions()->setPicView(nullptr);
    }
}

void ImagesCentralWidget::viewModelChanged(QWidget* view)
{
    // A picture in the background does not take the bar from the current one.
    if (!m_currentView || view == m_currentView)
        updateThumbnailsBar(view);
}

void ImagesCentralWidget::viewClosed(QWidget* view)
{
    if (view != m_currentView)
        return;
    // The view goes later; until then no action may reach it.
    releaseView();
    m_currentView = nullptr;
    updateActionsAccessibility();
}

void ImagesCentralWidget::thumbnailChosen(const QModelIndex& index)
{
    if (!m_currentView)
        return;
    // The bar echoes every move of the view; only another picture is worth reading.
    if (index.model() == m_currentView->fileModel() && index.row() == m_currentView->currentRow())
        return;
    m_currentView->setCurrentIndex(index);
}

void ImagesCentralWidget::updateThumbnailsBar(QWidget* picView)
{
    auto* view = qobject_cast<SPicView*>(picView);
    if (!view)
        return;
    m_thumbnailsBar->setModel(nullptr);
    m_thumbnailsBar->setModel(view->fileModel());
    m_thumbnailsBar->setCurrentIndex(view->currentModelIndex());
}
