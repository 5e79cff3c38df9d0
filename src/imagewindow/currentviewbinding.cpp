#include "imagewindow/currentviewbinding.h"

#include "browser/metainfowidget.h"
#include "browser/thumbnailsbar.h"
#include "document/clipboardimage.h"
#include "imagewindow/imagescentralwidget.h"
#include "imagewindow/imagewindowactions.h"
#include "settings/settings.h"
#include "view/goactions.h"
#include "view/smark.h"
#include "view/spic.h"
#include "view/spicview.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QSpinBox>
#include <QStatusBar>

CurrentViewBinding::CurrentViewBinding(ImagesCentralWidget* window, ImageWindowActions* actions,
                                       ThumbnailsBar* thumbnailsBar, MetaInfoWidget* metaInfo)
    : m_window(window)
    , m_actions(actions)
    , m_thumbnailsBar(thumbnailsBar)
    , m_metaInfo(metaInfo)
{
    for (QPointer<QLabel>& label : m_statusLabels) {
        label = new QLabel(window);
        label->hide();
    }
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CurrentViewBinding::clipboardChanged);
}

CurrentViewBinding::~CurrentViewBinding() = default;

QLabel* CurrentViewBinding::statusLabel(StatusLabel label) const
{
    return m_statusLabels[static_cast<std::size_t>(label)];
}

SPicView* CurrentViewBinding::view() const
{
    return m_view;
}

void CurrentViewBinding::attachStatusBar(QStatusBar* statusBar)
{
    m_statusBar = statusBar;
    const std::array<int, statusLabelCount> stretch = {1, 2, 2, 1, 3, 3};
    for (int i = 0; i < statusLabelCount; ++i) {
        statusBar->addWidget(m_statusLabels[i], stretch[i]);
        m_statusLabels[i]->show();
    }
}

void CurrentViewBinding::detachStatusBar()
{
    for (const QPointer<QLabel>& label : m_statusLabels) {
        if (!label)
            continue;
        if (m_statusBar)
            m_statusBar->removeWidget(label);
        label->setParent(m_window);
        label->hide();
    }
    m_statusBar = nullptr;
}

ActionRules::State CurrentViewBinding::state() const
{
    ActionRules::State state = viewState();
    state.clipboardHasImage = ClipboardImage::available();
    return state;
}

ActionRules::State CurrentViewBinding::viewState() const
{
    ActionRules::State state;
    SPicView* view = m_view;
    if (!view)
        return state;
    state.hasView = true;
    state.broken = view->isBroken();
    state.slideshowRunning = view->slideshowRunning();
    state.undoAvailable = view->undoCount() > 0;
    state.redoAvailable = view->redoCount() > 0;
    state.saveable = view->isSaveable();
    state.hasFilePath = !view->filePath().isEmpty();
    state.marked = view->pic()->mark()->mode() != MarkMode::None;
    return state;
}

void CurrentViewBinding::applyRules()
{
    m_actions->applyRules(ActionRules::enables(state()));
}

void CurrentViewBinding::updateActions()
{
    if (!m_mainWindow)
        return;
    m_actions->goActions()->updateActions();
    m_actions->zoomActions()->updateActions();
    applyRules();
    SPicView* view = m_view;
    m_actions->shared(SharedActions::Index::FullScreen)->setEnabled(view && !view->isBroken());
    QSpinBox* delayBox = m_actions->delaySpinBox();
    if (!view) {
        for (const QPointer<QLabel>& label : m_statusLabels) {
            if (label)
                label->clear();
        }
        if (delayBox) {
            delayBox->setEnabled(false);
            delayBox->setValue(Settings::instance()->imagesCentralWidget()->slideDelay());
        }
        if (m_metaInfo)
            m_metaInfo->setFilePath(QString());
        return;
    }
    if (delayBox) {
        delayBox->setEnabled(true);
        delayBox->setValue(view->slideDelay());
    }
    // A picture without a file (pasted, new) shows that it has no metadata, not the last one's.
    if (m_metaInfo)
        m_metaInfo->setFilePath(view->filePath());
}

void CurrentViewBinding::setDelay(int seconds)
{
    if (m_view)
        m_view->setSlideDelay(seconds);
}

void CurrentViewBinding::enableUndo()
{
    m_actions->edit(ImageWindowActions::Edit::Undo)->setEnabled(true);
}

void CurrentViewBinding::enableSave()
{
    m_actions->shared(SharedActions::Index::Save)->setEnabled(m_view && m_view->isSaveable());
}

void CurrentViewBinding::enablePaste()
{
    m_actions->edit(ImageWindowActions::Edit::Paste)->setEnabled(true);
}

void CurrentViewBinding::undo()
{
    if (!m_view)
        return;
    m_view->undo();
    enableSave();
}

void CurrentViewBinding::redo()
{
    if (!m_view)
        return;
    m_view->redo();
    enableSave();
}

void CurrentViewBinding::copy()
{
    if (m_view)
        m_view->copy();
}

void CurrentViewBinding::cut()
{
    if (m_view)
        m_view->cut();
}

void CurrentViewBinding::paste()
{
    if (!m_view)
        return;
    m_view->showInsertDialog();
    enableSave();
}

void CurrentViewBinding::reload()
{
    if (m_view)
        m_view->reload();
}

void CurrentViewBinding::quickEdit(QuickEdits::Kind kind)
{
    if (!QuickEdits::apply(m_view, kind))
        return;
    enableSave();
    applyRules();
}

void CurrentViewBinding::selectionChanged()
{
    m_actions->quickEdit(QuickEdits::Kind::CropToSelection)
        ->setEnabled(ActionRules::enables(viewState()).crop);
}

void CurrentViewBinding::clipboardChanged()
{
    ActionRules::State state;
    state.clipboardHasImage = ClipboardImage::available();
    m_actions->pasteAsNew()->setEnabled(ActionRules::enables(state).pasteAsNew);
}

void CurrentViewBinding::watch(SPicView* view)
{
    connect(view, &SPicView::dirModelChanged, this, &CurrentViewBinding::viewModelChanged);
    connect(view, &SPicView::picClosed, this, &CurrentViewBinding::viewClosed);
}

void CurrentViewBinding::setView(QWidget* widget)
{
    auto* view = qobject_cast<SPicView*>(widget);
    if (!m_mainWindow && view)
        return;
    release();
    m_view = view;
    if (view) {
        m_actions->zoomActions()->setPicView(view);
        m_actions->goActions()->setPicView(view);
        connectView(view);
    }
    m_window->updateActionsAccessibility();
    if (m_view)
        m_view->refreshStatus();
}

void CurrentViewBinding::connectView(SPicView* view)
{
    using W = ImagesCentralWidget;
    auto& c = m_viewConnections;
    c << connect(view, &SPicView::selectionContextMenuRequested, m_window,
                 &W::showSelectionContextMenu);
    c << connect(view, &SPicView::contextMenuRequested, m_window, &W::showPictureContextMenu);
    c << connect(view, &SPicView::currentIndexChanged, m_thumbnailsBar,
                 &ThumbnailsBar::setCurrentIndex);
    c << connect(view, &SPicView::currentIndexChanged, m_window,
                 &W::updateActionsAccessibility);
    c << connect(m_thumbnailsBar, &ThumbnailsBar::currentIndexChanged, this,
                 &CurrentViewBinding::thumbnailChosen);

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

    c << connect(view, &SPicView::slideshow_started, m_window, &W::slideshow_start);
    c << connect(view, &SPicView::slideshow_stopped, m_window, &W::slideshow_stop);
    c << connect(view, &SPicView::addToUndo, m_window, &W::enableSaveSlot);
    c << connect(view, &SPicView::undoStatusChanged,
                 m_actions->edit(ImageWindowActions::Edit::Undo), &QAction::setEnabled);
    c << connect(view, &SPicView::redoStatusChanged,
                 m_actions->edit(ImageWindowActions::Edit::Redo), &QAction::setEnabled);
    c << connect(view, &SPicView::copy_to_clipboard, m_window, &W::copyToClipboardSlot);
    c << connect(view, &SPicView::markChanged, this, &CurrentViewBinding::selectionChanged);
    c << connect(view, &SPicView::toggleFullScreenRequested,
                 m_actions->shared(SharedActions::Index::FullScreen), &QAction::trigger);
}

void CurrentViewBinding::release()
{
    for (const QMetaObject::Connection& connection : qAsConst(m_viewConnections))
        disconnect(connection);
    m_viewConnections.clear();
    if (m_view) {
        m_actions->zoomActions()->setPicView(nullptr);
        m_actions->goActions()->setPicView(nullptr);
    }
}

void CurrentViewBinding::viewModelChanged(QWidget* view)
{
    // A picture in the background does not take the bar from the current one.
    if (!m_view || view == m_view)
        showModel(view);
}

void CurrentViewBinding::viewClosed(QWidget* view)
{
    if (view != m_view)
        return;
    // The view goes later; until then no action may reach it.
    release();
    m_view = nullptr;
    m_window->updateActionsAccessibility();
}

void CurrentViewBinding::thumbnailChosen(const QModelIndex& index)
{
    if (!m_view)
        return;
    // The bar echoes every move of the view; only another picture is worth reading.
    if (index.model() == m_view->fileModel() && index.row() == m_view->currentRow())
        return;
    const QPointer<SPicView> view = m_view;
    view->setCurrentIndex(index);
    // A refused move (an open dialog, a kept edit) leaves the view where it was; so the bar.
    if (view && view == m_view && view->currentRow() != index.row())
        m_thumbnailsBar->setCurrentIndex(view->currentModelIndex());
}

void CurrentViewBinding::showModel(QWidget* picView)
{
    auto* view = qobject_cast<SPicView*>(picView);
    if (!view)
        return;
    m_thumbnailsBar->setModel(nullptr);
    m_thumbnailsBar->setModel(view->fileModel());
    m_thumbnailsBar->setCurrentIndex(view->currentModelIndex());
}
