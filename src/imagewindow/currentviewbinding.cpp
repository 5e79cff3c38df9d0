#include "imagewindow/currentviewbinding.h"

#include "browser/metainfowidget.h"
#include "browser/thumbnailsbar.h"
#include "document/clipboardimage.h"
#include "imagewindow/imagescentralwidget.h"
#include "imagewindow/imagewindowactions.h"
#include "settings/settings.h"
#include "view/goactions.h"
#include "view/spicview.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
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
    m_clipboardHasImage = ClipboardImage::available();
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
    ActionRules::State state = m_view ? m_view->actionState() : ActionRules::State{};
    state.clipboardHasImage = m_clipboardHasImage;
    return state;
}

void CurrentViewBinding::refreshActions()
{
    if (m_mainWindow)
        m_actions->applyRules(ActionRules::enables(state()));
}

void CurrentViewBinding::updateActions()
{
    if (!m_mainWindow)
        return;
    refreshActions();
    SPicView* view = m_view;
    QSpinBox* delayBox = m_actions->delaySpinBox();
    if (!view) {
        for (const QPointer<QLabel>& label : m_statusLabels) {
            if (label)
                label->clear();
        }
        if (delayBox)
            delayBox->setValue(Settings::instance()->imagesCentralWidget()->slideDelay());
        if (m_metaInfo)
            m_metaInfo->setFilePath(QString());
        return;
    }
    if (delayBox)
        delayBox->setValue(view->slideDelay());
    followMetadata();
}

void CurrentViewBinding::followMetadata()
{
    // Read once the picture is in: the read takes a helper and a core from the picture asked
    // for. A picture without a file (pasted, new) shows that it has no metadata, not the last
    // one's.
    if (m_metaInfo && m_view && !m_view->isLoading())
        m_metaInfo->setFilePath(m_view->filePath());
}

void CurrentViewBinding::setDelay(int seconds)
{
    if (m_view)
        m_view->setSlideDelay(seconds);
}

void CurrentViewBinding::undo()
{
    if (!m_view)
        return;
    m_view->undo();
}

void CurrentViewBinding::redo()
{
    if (!m_view)
        return;
    m_view->redo();
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
}

void CurrentViewBinding::reload()
{
    if (m_view)
        m_view->reload();
}

void CurrentViewBinding::quickEdit(QuickEdits::Kind kind)
{
    QuickEdits::apply(m_view, kind);
}

void CurrentViewBinding::clipboardChanged()
{
    m_clipboardHasImage = ClipboardImage::available();
    refreshActions();
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

    c << connect(view, &SPicView::actionStateChanged, this, &CurrentViewBinding::refreshActions);
    c << connect(view, &SPicView::actionStateChanged, this, &CurrentViewBinding::followMetadata);
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
