#include "imagewindow/imagescentralwidget.h"

#include "app/settings.h"
#include "browser/metainfowidget.h"
#include "browser/thumbnailsbar.h"
#include "dialogs/settingsdialog.h"
#include "imagewindow/imagefilecommands.h"
#include "imagewindow/imageprinter.h"
#include "imagewindow/imagewindowactions.h"
#include "imagewindow/sworkspace.h"
#include "platform/lumosplitter.h"
#include "platform/prompter.h"
#include "view/fullscreenpanel.h"
#include "view/goactions.h"
#include "view/spicview.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

ImagesCentralWidget::ImagesCentralWidget(SharedActions* actions, QMenu* helpMenu,
                                         QMainWindow* mainWindow, QWidget* parent)
    : QWidget(parent)
    , m_actions(actions)
    , m_helpMenu(helpMenu)
    , m_titleWindow(mainWindow)
{
    if (mainWindow)
        mainWindow->installEventFilter(this);
    const Settings::ImagesCentralWidget* settings = Settings::instance()->imagesCentralWidget();

    m_splitter = new LumoSplitter(Qt::Vertical, this);
    m_workspace = new SWorkspace(m_splitter);
    m_workspace->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_workspace->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_thumbnailsBar = new ThumbnailsBar(m_splitter);
    m_splitter->addWidget(m_workspace);
    m_splitter->addWidget(m_thumbnailsBar);
    m_splitter->setChildrenCollapsible(false);

    m_thumbnailsBarAction = new QAction(tr("Show thumbnails bar"), this);
    m_thumbnailsBarAction->setCheckable(true);
    m_thumbnailsBarAction->setChecked(true);
    connect(m_thumbnailsBarAction, &QAction::toggled, m_thumbnailsBar, &QWidget::setVisible);
    m_thumbnailsBarAction->setChecked(settings->thumbnailsBarVisible());
    const QByteArray splitterState = settings->thumbnailsBarSplitterSizes();
    if (!splitterState.isEmpty())
        m_splitter->restoreState(splitterState);

    connect(m_workspace, &SWorkspace::windowActivated, this,
            &ImagesCentralWidget::setPVConnections);
    connect(m_workspace, &SWorkspace::windowActivated, this,
            &ImagesCentralWidget::updateThumbnailsBar);
    connect(m_workspace, &QMdiArea::subWindowActivated, this,
            &ImagesCentralWidget::updateActionsAccessibility);
    connect(m_workspace, &SWorkspace::listDropped, this, &ImagesCentralWidget::openFileList);

    m_metaInfoDock = new QDockWidget(tr("Metainfo"), this);
    m_metaInfoDock->setObjectName(QStringLiteral("dockMetaInfo"));
    m_metaInfoDock->setFeatures(QDockWidget::DockWidgetClosable
                                | QDockWidget::DockWidgetMovable);
    m_metaInfo = new MetaInfoWidget(m_metaInfoDock);
    m_metaInfoDock->setWidget(m_metaInfo);
    // Shown only inside the main window.
    m_metaInfoDock->hide();

    addAction(shared(SharedActions::Index::FullScreen));

    m_windowActions = new ImageWindowActions(this, actions, m_workspace);

    connect(m_workspace, &SWorkspace::fullScreenPicClosed, this,
            &ImagesCentralWidget::slotFullScreenPicClosed);
    connect(m_workspace, &SWorkspace::exitFullScreenRequested, this,
            &ImagesCentralWidget::slotExitFullScreen);

    m_windowActions->buildMenus(m_thumbnailsBarAction, m_metaInfoDock->toggleViewAction());
    m_panel = std::make_unique<FullscreenPanel>(shared(SharedActions::Index::FullScreen),
                                                m_windowActions->goActions(),
                                                m_windowActions->zoomActions());

    for (int i = 0; i < statusLabelCount; ++i) {
        m_statusLabels[i] = new QLabel(this);
        m_statusLabels[i]->hide();
    }
    m_files = new ImageFileCommands(this, m_windowActions);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    m_metaInfo->restoreFirstColumnWidth();
}

ImagesCentralWidget::~ImagesCentralWidget()
{
    // What is torn down below must not call back into a window that is half gone.
    m_workspace->disconnect(this);
    m_thumbnailsBar->disconnect(this);
    const QList<SPicView*> views = picViews();
    for (SPicView* view : views)
        view->disconnect(this);
    releaseView();
    saveSettings();
}

void ImagesCentralWidget::saveSettings()
{
    Settings* settings = Settings::instance();
    Settings::ImagesCentralWidget* own = settings->imagesCentralWidget();
    own->setSingleWindowMode(m_windowActions->singleWindowAction()->isChecked());
    own->setTabbedWindowMode(m_windowActions->tabbedAction()->isChecked());
    if (QSpinBox* delayBox = m_windowActions->delaySpinBox())
        own->setSlideDelay(delayBox->value());
    own->setThumbnailsBarSplitterSizes(m_splitter->saveState());
    own->setThumbnailsBarVisible(m_thumbnailsBarAction->isChecked());
    // Written here rather than by the panel, which would flush a second time.
    if (m_metaInfo)
        settings->metaInfoWidget()->setFirstColumnWidth(m_metaInfo->table()->columnWidth(0));
    m_files->storeScanDialogSize();
    Settings::sync();
}

void ImagesCentralWidget::setMainWindow(QMainWindow* mainWindow)
{
    if (mainWindow == m_mainWindow)
        return;
    detach();
    if (mainWindow)
        attach(mainWindow);
}

void ImagesCentralWidget::attach(QMainWindow* mainWindow)
{
    m_mainWindow = mainWindow;
    mainWindow->addDockWidget(Qt::RightDockWidgetArea, m_metaInfoDock);
    m_metaInfoDock->show();

    QMenuBar* menuBar = mainWindow->menuBar();
    const QList<QMenu*> menus = m_windowActions->menus();
    for (QMenu* menu : menus)
        menuBar->addMenu(menu);
    if (m_helpMenu)
        menuBar->addMenu(m_helpMenu);

    const QList<QToolBar*> bars = m_windowActions->toolBars();
    for (QToolBar* bar : bars) {
        mainWindow->addToolBar(bar);
        bar->show();
    }

    m_statusBar = new QStatusBar(mainWindow);
    m_statusBar->setSizeGripEnabled(false);
    mainWindow->setStatusBar(m_statusBar);
    const std::array<int, statusLabelCount> stretch = {1, 2, 2, 1, 3, 3};
    for (int i = 0; i < statusLabelCount; ++i) {
        m_statusBar->addWidget(m_statusLabels[i], stretch[i]);
        m_statusLabels[i]->show();
    }

    // The current picture's messages went to the status bar of the last attach.
    QWidget* current = m_currentView;
    if (!current && m_workspace->currentSubWindow())
        current = m_workspace->currentSubWindow()->widget();
    setPVConnections(current);
}

void ImagesCentralWidget::detach()
{
    QMainWindow* mainWindow = qobject_cast<QMainWindow*>(m_mainWindow.data());
    if (!mainWindow)
        return;
    // The labels outlive the status bar the main window destroys.
    for (const QPointer<QLabel>& label : m_statusLabels) {
        if (!label)
            continue;
        if (m_statusBar)
            m_statusBar->removeWidget(label);
        label->setParent(this);
        label->hide();
    }
    mainWindow->setStatusBar(nullptr);
    m_statusBar = nullptr;

    const QList<QToolBar*> bars = m_windowActions->toolBars();
    for (QToolBar* bar : bars) {
        mainWindow->removeToolBar(bar);
        bar->setParent(this);
        bar->hide();
    }
    mainWindow->menuBar()->clear();
    mainWindow->removeDockWidget(m_metaInfoDock);
    m_metaInfoDock->setParent(this);
    m_metaInfoDock->hide();
    m_mainWindow = nullptr;
}

SPicView* ImagesCentralWidget::currentView() const
{
    return m_currentView;
}

MetaInfoWidget* ImagesCentralWidget::metaInfoWidget() const
{
    return m_metaInfo;
}

QLabel* ImagesCentralWidget::statusLabel(StatusLabel label) const
{
    return m_statusLabels[label];
}

QActionGroup* ImagesCentralWidget::recentFilesGroup() const
{
    return m_windowActions->recentFilesGroup();
}

void ImagesCentralWidget::setTabletMode(bool on)
{
    if (on == m_tabletMode)
        return;
    m_tabletMode = on;
    m_panel->setTabletMode(on);
    m_thumbnailsBar->setTabletMode(on);
    const QList<SPicView*> views = picViews();
    for (SPicView* view : views)
        view->setIndicatorMode(on);
    m_splitter->setThinHandleModeEnabled(on);
}

QList<SPicView*> ImagesCentralWidget::picViews() const
{
    QList<SPicView*> views;
    const QList<QMdiSubWindow*> windows = m_workspace->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* window : windows) {
        if (auto* view = qobject_cast<SPicView*>(window->widget()))
            views.append(view);
    }
    // A picture shown full screen has left its sub-window for the while.
    if (SPicView* fullScreen = m_panel ? m_panel->picView() : nullptr) {
        if (!views.contains(fullScreen))
            views.append(fullScreen);
    }
    return views;
}

bool ImagesCentralWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_titleWindow && event->type() == QEvent::WindowTitleChange && m_metaInfo)
        m_metaInfo->setFilePath(m_currentView ? m_currentView->filePath() : QString());
    return QWidget::eventFilter(watched, event);
}

bool ImagesCentralWidget::closeAllPictures()
{
    // Every picture gets its question, also after one was kept, but a cancelled one ends it.
    switch (m_workspace->closeSubWindowsInTurn(SWorkspace::OnKept::AskTheRest)) {
    case SWorkspace::CloseResult::AllClosed:
        return true;
    case SWorkspace::CloseResult::Cancelled:
        return false;
    case SWorkspace::CloseResult::SomeKept:
        break;
    }
    return Prompter::warning(this, tr("lumo-image"),
                             tr("You have unsaved changes in opened files.\n"
                                "Do you really want to quit without saving?"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}

void ImagesCentralWidget::closeEvent(QCloseEvent* event)
{
    // Closing the top window right after this window closed must not ask again.
    event->setAccepted(m_closeAnswered || closeAllPictures());
}

void ImagesCentralWidget::quitAction_triggered()
{
    if (close())
        QApplication::quit();
}

void ImagesCentralWidget::settingsDlg()
{
    SettingsDialog dialog(this);
    if (dialog.exec() != 0 && m_currentView)
        m_currentView->refreshStatus();
}

void ImagesCentralWidget::printImageWithPrinterSize(QPrinter* printer, const QImage& image,
                                                    const QSizeF& size)
{
    ImagePrinter::printImageWithPrinterSize(printer, image, size);
}

// The file commands hand the work on to their own part.

void ImagesCentralWidget::updateFileMenu() { m_files->updateFileMenu(); }
void ImagesCentralWidget::openDlg() { m_files->open(); }
void ImagesCentralWidget::saveAsDlg() { m_files->saveAs(); }
void ImagesCentralWidget::save() { m_files->save(); }
void ImagesCentralWidget::removeImageFile() { m_files->remove(); }
// Asked here: sender() means nothing once the call is passed on.
void ImagesCentralWidget::loadLast() { m_files->openRecent(qobject_cast<QAction*>(sender())); }
void ImagesCentralWidget::changeWallpaper() { m_files->changeWallpaper(); }
void ImagesCentralWidget::scanSlot() { m_files->scan(); }
void ImagesCentralWidget::printDlg() { m_files->print(); }

void ImagesCentralWidget::postCreateWindowMenu()
{
    m_windowActions->rebuildWindowMenu(m_currentView != nullptr);
}

void ImagesCentralWidget::postCreateImageMenu()
{
    m_windowActions->rebuildImageMenu(m_currentView, ActionRules::enables(currentState()));
}

void ImagesCentralWidget::activateSubWindow(QAction* action)
{
    m_windowActions->activateSubWindow(action);
}

void ImagesCentralWidget::showSelectionContextMenu(const QPoint& globalPos)
{
    m_windowActions->showSelectionContextMenu(globalPos);
}

void ImagesCentralWidget::showPictureContextMenu(const QPoint& globalPos)
{
    m_windowActions->showPictureContextMenu(globalPos);
}
