#include "imagewindow/imagescentralwidget.h"

#include "browser/metainfowidget.h"
#include "browser/thumbnailsbar.h"
#include "dialogs/newimagedialog.h"
#include "dialogs/settingsdialog.h"
#include "document/picture.h"
#include "document/recentfiles.h"
#include "fullscreen/fullscreenpanel.h"
#include "document/actionrules.h"
#include "imagewindow/currentviewbinding.h"
#include "imagewindow/imagefilecommands.h"
#include "imagewindow/imageprinter.h"
#include "imagewindow/imagewindowactions.h"
#include "imagewindow/recentfilesmenu.h"
#include "imagewindow/sworkspace.h"
#include "platformwidgets/lumosplitter.h"
#include "platformwidgets/prompter.h"
#include "settings/settings.h"
#include "view/spic.h"
#include "view/spicview.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QImage>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

ImagesCentralWidget::ImagesCentralWidget(SharedActions* actions, RecentFiles* recentFiles,
                                         QMenu* helpMenu, QMainWindow* mainWindow,
                                         QWidget* parent)
    : QWidget(parent)
    , m_actions(actions)
    , m_recentFiles(recentFiles)
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

    m_windowActions = new ImageWindowActions(this, actions, recentFiles, m_workspace);
    m_binding = std::make_unique<CurrentViewBinding>(this, m_windowActions, m_thumbnailsBar,
                                                     m_metaInfo);
    m_files = new ImageFileCommands(this);

    connect(m_workspace, &SWorkspace::fullScreenPicClosed, this,
            &ImagesCentralWidget::slotFullScreenPicClosed);
    connect(m_workspace, &SWorkspace::exitFullScreenRequested, this,
            &ImagesCentralWidget::slotExitFullScreen);

    m_windowActions->buildMenus(m_thumbnailsBarAction, m_metaInfoDock->toggleViewAction());
    m_windowActions->recentFilesMenu()->setEntrySlot(this, &ImagesCentralWidget::loadLast);
    m_panel = std::make_unique<FullscreenPanel>(shared(SharedActions::Index::FullScreen),
                                                m_windowActions->goActions(),
                                                m_windowActions->zoomActions());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    m_metaInfo->restoreFirstColumnWidth();
}

ImagesCentralWidget::~ImagesCentralWidget()
{
    if (m_metaInfo)
        m_metaInfo->saveFirstColumnWidth();
    // What is torn down below must not call back into a window that is half gone.
    m_workspace->disconnect(this);
    m_thumbnailsBar->disconnect(this);
    m_thumbnailsBar->disconnect(m_binding.get());
    const QList<SPicView*> views = picViews();
    for (SPicView* view : views) {
        view->disconnect(this);
        view->disconnect(m_binding.get());
    }
    m_binding->release();
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
    m_binding->setMainWindow(mainWindow);
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

    auto* statusBar = new QStatusBar(mainWindow);
    statusBar->setSizeGripEnabled(false);
    mainWindow->setStatusBar(statusBar);
    m_binding->attachStatusBar(statusBar);

    // The current picture's messages went to the status bar of the last attach.
    QWidget* current = m_binding->view();
    if (!current && m_workspace->currentSubWindow())
        current = m_workspace->currentSubWindow()->widget();
    setPVConnections(current);
}

void ImagesCentralWidget::detach()
{
    QMainWindow* mainWindow = qobject_cast<QMainWindow*>(m_mainWindow.data());
    if (!mainWindow)
        return;
    m_binding->detachStatusBar();
    mainWindow->setStatusBar(nullptr);

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
    m_binding->setMainWindow(nullptr);
}

SPicView* ImagesCentralWidget::currentView() const
{
    return m_binding->view();
}

MetaInfoWidget* ImagesCentralWidget::metaInfoWidget() const
{
    return m_metaInfo;
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
    // A picture still being read has its metadata read once it is in.
    if (watched == m_titleWindow && event->type() == QEvent::WindowTitleChange && m_metaInfo
        && !(currentView() && currentView()->isLoading()))
        m_metaInfo->setFilePath(currentView() ? currentView()->filePath() : QString());
    return QWidget::eventFilter(watched, event);
}

bool ImagesCentralWidget::quitWithoutSaving()
{
    using Box = QMessageBox;
    return Prompter::warning(this, tr("lumo-image"),
                             tr("You have unsaved changes in opened files.\n"
                                "Do you really want to quit without saving?"),
                             Box::Yes | Box::No, Box::No,
                             {{Box::Yes, tr("&Quit without saving")}, {Box::No, tr("Do&n't quit")}})
           == Box::Yes;
}

bool ImagesCentralWidget::closeAllPictures()
{
    // Every changed picture is asked about before any is written or closed, so that a Cancel
    // leaves the workspace as it was.
    QList<QPointer<SPicView>> asked;
    QList<QPointer<SPicView>> toSave;
    bool kept = false;
    for (;;) {
        // Read anew every time: pictures keep arriving while a question is open.
        const QList<SPicView*> views = picViews();
        const auto next =
            std::find_if(views.cbegin(), views.cend(),
                         [&asked](SPicView* candidate) { return !asked.contains(candidate); });
        if (next == views.cend())
            break;
        SPicView* view = *next;
        asked.append(view);
        if (!view->isModified())
            continue;
        switch (view->askAboutChanges()) {
        case WriteQuestions::Choice::Cancel:
            return false;
        case WriteQuestions::Choice::Save:
            toSave.append(view);
            break;
        case WriteQuestions::Choice::Keep:
            kept = true;
            break;
        case WriteQuestions::Choice::Discard:
            break;
        }
    }
    if (kept && !quitWithoutSaving())
        return false;
    bool written = true;
    for (const QPointer<SPicView>& view : qAsConst(toSave)) {
        if (view && !view->saveChanges())
            written = false;
    }
    // A picture that could not be written is lost unless the user stays.
    if (!written && !kept && !quitWithoutSaving())
        return false;
    for (const QPointer<SPicView>& view : qAsConst(asked)) {
        if (view)
            view->discardChanges();
    }
    // Only pictures that arrived during the last questions still ask.
    switch (m_workspace->closeSubWindowsInTurn(SWorkspace::OnKept::AskTheRest)) {
    case SWorkspace::CloseResult::AllClosed:
        return true;
    case SWorkspace::CloseResult::Cancelled:
        return false;
    case SWorkspace::CloseResult::SomeKept:
        break;
    }
    return quitWithoutSaving();
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

void ImagesCentralWidget::setFullScreen(bool on)
{
    if (!on) {
        // The panel leaves the view before the view goes back into its sub-window.
        m_panel->setPicView(nullptr);
        m_workspace->setFullscreen(false);
        return;
    }
    m_workspace->setFullscreen(true);
    SPicView* view = currentView();
    if (view && view->isFullScreenMode())
        m_panel->setPicView(view);
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
    m_binding->watch(view);

    view->resize(ActionRules::placedViewSize(view->pic()->sizeHint(), m_workspace->size()));
    // A tab shows its picture over the whole area, as the only window does.
    const bool alone = m_workspace->subWindowList().isEmpty() || m_workspace->singleWindowMode()
                       || m_workspace->viewMode() == QMdiArea::TabbedView;
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
    // Only a picture let in is recorded; one read while the user was asked whether the shown
    // picture may go is recorded now.
    connect(view.get(), &SPicView::fileRead, m_recentFiles, &RecentFiles::add);
    if (!view->isLoading() && !view->isBroken() && !view->picture()->path().isEmpty())
        m_recentFiles->add(view->picture()->path());
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
    // Cascaded windows would show through the tabs as a heap of small windows.
    if (m_workspace->viewMode() != QMdiArea::TabbedView)
        m_workspace->cascadeSubWindows();
}

void ImagesCentralWidget::loadLast()
{
    // By position, not path: an entry of a list that shrank since it showed opens nothing.
    const auto* entry = qobject_cast<const QAction*>(sender());
    if (!entry || !entry->data().isValid())
        return;
    const QString path = m_recentFiles->pathAt(entry->data().toInt());
    if (!path.isEmpty())
        newPVFromFile(path);
}

void ImagesCentralWidget::settingsDlg()
{
    const QList<SPicView*> views = picViews();
    QList<int> modes;
    for (const SPicView* view : views)
        modes << view->zoomMode();
    SettingsDialog dialog(m_recentFiles, this);
    if (dialog.exec() == 0)
        return;
    // A new zoom setting is what the user wants to see now, not on the next picture.
    for (int i = 0; i < views.size(); ++i) {
        if (views.at(i)->zoomMode() != modes.at(i)) {
            views.at(i)->setCurrentZoomMode(views.at(i)->zoomMode());
            views.at(i)->zoom();
        }
    }
    // The tool bar's box is what this window stores on leaving, so it takes the new delay.
    if (QSpinBox* delayBox = m_windowActions->delaySpinBox())
        delayBox->setValue(Settings::instance()->imagesCentralWidget()->slideDelay());
    if (currentView())
        currentView()->refreshStatus();
}

void ImagesCentralWidget::printImageWithPrinterSize(QPrinter* printer, const QImage& image,
                                                    const QSizeF& size)
{
    ImagePrinter::printImageWithPrinterSize(printer, image, size);
}

// The rest hands the work to the part doing it.

void ImagesCentralWidget::updateFileMenu() { m_windowActions->recentFilesMenu()->rebuild(); }
void ImagesCentralWidget::openDlg() { m_files->open(); }
void ImagesCentralWidget::saveAsDlg() { m_files->saveAs(); }
void ImagesCentralWidget::save() { m_files->save(); }
void ImagesCentralWidget::removeImageFile() { m_files->remove(); }
void ImagesCentralWidget::changeWallpaper() { m_files->changeWallpaper(); }
void ImagesCentralWidget::scanSlot() { m_files->scan(); }
void ImagesCentralWidget::printDlg() { m_files->print(); }

void ImagesCentralWidget::postCreateWindowMenu()
{
    m_windowActions->rebuildWindowMenu(currentView() != nullptr);
}

void ImagesCentralWidget::postCreateImageMenu()
{
    m_windowActions->rebuildImageMenu(currentView(), ActionRules::enables(m_binding->state()));
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

void ImagesCentralWidget::setPVConnections(QWidget* widget) { m_binding->setView(widget); }
void ImagesCentralWidget::updateActionsAccessibility() { m_binding->updateActions(); }
void ImagesCentralWidget::updateThumbnailsBar(QWidget* picView) { m_binding->showModel(picView); }
void ImagesCentralWidget::delay_changed(int seconds) { m_binding->setDelay(seconds); }
void ImagesCentralWidget::undoSlot() { m_binding->undo(); }
void ImagesCentralWidget::redoSlot() { m_binding->redo(); }
void ImagesCentralWidget::copySlot() { m_binding->copy(); }
void ImagesCentralWidget::cutSlot() { m_binding->cut(); }
void ImagesCentralWidget::pasteSlot() { m_binding->paste(); }
void ImagesCentralWidget::reloadSlot() { m_binding->reload(); }
