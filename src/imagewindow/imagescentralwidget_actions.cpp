#include "imagewindow/imagescentralwidget.h"

#include "app/settings.h"
#include "browser/metainfowidget.h"
#include "imagewindow/imagewindowactions.h"
#include "imagewindow/sworkspace.h"
#include "view/fullscreenpanel.h"
#include "view/goactions.h"
#include "view/spicview.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QSpinBox>

// Keeping the actions in step with the current picture, and the slots that act on it.

ActionRules::State ImagesCentralWidget::currentState() const
{
    ActionRules::State state;
    SPicView* view = m_currentView;
    if (!view)
        return state;
    state.hasView = true;
    state.broken = view->isBroken();
    state.slideshowRunning = view->slideshowRunning();
    state.undoAvailable = view->undoCount() > 0;
    state.redoAvailable = view->redoCount() > 0;
    state.clipboardHasImage = !QApplication::clipboard()->image(QClipboard::Clipboard).isNull();
    state.saveable = view->isSaveable();
    state.hasFilePath = !view->filePath().isEmpty();
    return state;
}

void ImagesCentralWidget::applyActionRules()
{
    m_windowActions->applyRules(ActionRules::enables(currentState()));
}

void ImagesCentralWidget::updateActionsAccessibility()
{
    if (!m_mainWindow)
        return;
    m_windowActions->goActions()->updateActions();
    m_windowActions->zoomActions()->updateActions();
    applyActionRules();
    SPicView* view = m_currentView;
    shared(SharedActions::Index::FullScreen)->setEnabled(view && !view->isBroken());
    QSpinBox* delayBox = m_windowActions->delaySpinBox();
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
    const QString path = view->filePath();
    if (!path.isEmpty() && m_metaInfo)
        m_metaInfo->setFilePath(path);
}

void ImagesCentralWidget::slideshow_start()
{
    applyActionRules();
}

void ImagesCentralWidget::slideshow_stop()
{
    applyActionRules();
}

void ImagesCentralWidget::delay_changed(int seconds)
{
    if (m_currentView)
        m_currentView->setSlideDelay(seconds);
}

void ImagesCentralWidget::enableUndoSlot()
{
    m_windowActions->edit(ImageWindowActions::Edit::Undo)->setEnabled(true);
}

void ImagesCentralWidget::enableSaveSlot()
{
    shared(SharedActions::Index::Save)->setEnabled(m_currentView && m_currentView->isSaveable());
}

void ImagesCentralWidget::copyToClipboardSlot()
{
    m_windowActions->edit(ImageWindowActions::Edit::Paste)->setEnabled(true);
}

void ImagesCentralWidget::undoSlot()
{
    if (!m_currentView)
        return;
    m_currentView->undo();
    enableSaveSlot();
}

void ImagesCentralWidget::redoSlot()
{
    if (!m_currentView)
        return;
    m_currentView->redo();
    enableSaveSlot();
}

void ImagesCentralWidget::copySlot()
{
    if (m_currentView)
        m_currentView->copy();
}

void ImagesCentralWidget::cutSlot()
{
    if (m_currentView)
        m_currentView->cut();
}

void ImagesCentralWidget::pasteSlot()
{
    if (!m_currentView)
        return;
    m_currentView->showInsertDialog();
    enableSaveSlot();
}

void ImagesCentralWidget::reloadSlot()
{
    if (m_currentView)
        m_currentView->reload();
}

void ImagesCentralWidget::setFullScreen(bool on)
{
    if (!on) {
        // The panel leaves the view before the view goes back into its sub-window.
        m_panel->setPicView(nullptr);
        m_workspace->setFullscreen(false);
        return;
    }
    m_workspace->setFullscreen(true);
    if (m_currentView && m_currentView->isFullScreenMode())
        m_panel->setPicView(m_currentView);
}

void ImagesCentralWidget::slotExitFullScreen()
{
    QAction* fullScreen = shared(SharedActions::Index::FullScreen);
    if (fullScreen->isChecked())
        fullScreen->trigger();
}

void ImagesCentralWidget::slotFullScreenPicClosed()
{
    // The closing view is deleted soon, and the panel must not go along with it.
    m_panel->setPicView(nullptr);
    // Through the action, so the main window leaves full screen the way it came.
    slotExitFullScreen();
    // The program ends with the picture, but not over the unsaved work of the others.
    QWidget* top = window();
    if (top != this && close()) {
        // The main window's close runs this window's close handling again: it is answered.
        m_closeAnswered = true;
        top->close();
        m_closeAnswered = false;
    }
}
