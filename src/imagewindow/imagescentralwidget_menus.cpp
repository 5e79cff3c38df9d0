#include "imagewindow/imagescentralwidget.h"

#include "app/settings.h"
#include "imagewindow/sworkspace.h"
#include "view/goactions.h"
#include "view/spicview.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QIcon>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSpinBox>
#include <QToolBar>

// The actions, menus, tool bars and context menus of the image window.

namespace {

QIcon themeIcon(const char* name)
{
    return QIcon::fromTheme(QLatin1String(name), QIcon());
}

} // namespace

void ImagesCentralWidget::createSharedActions()
{
    using Index = SharedActions::Index;
    using Slot = void (ImagesCentralWidget::*)();
    auto make = [this](Index index, const QString& text, const char* icon,
                       const QKeySequence& shortcut, bool enabled, Slot slot) {
        auto* action = new QAction(text, this);
        if (icon)
            action->setIcon(themeIcon(icon));
        action->setShortcut(shortcut);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
        m_actions->set(index, action);
    };
    make(Index::Open, tr("&Open..."), "document-open", QKeySequence(Qt::CTRL | Qt::Key_O), true,
         &ImagesCentralWidget::openDlg);
    make(Index::New, tr("&New..."), nullptr, QKeySequence(), true, &ImagesCentralWidget::newDlg);
    make(Index::Save, tr("&Save"), "document-save", QKeySequence(Qt::CTRL | Qt::Key_S), false,
         &ImagesCentralWidget::save);
    make(Index::SaveAs, tr("Save as..."), "document-save-as", QKeySequence(), false,
         &ImagesCentralWidget::saveAsDlg);
    make(Index::Remove, tr("Remove"), nullptr, QKeySequence(Qt::SHIFT | Qt::Key_Delete), false,
         &ImagesCentralWidget::removeImageFile);
    make(Index::Print, tr("&Print..."), "document-print", QKeySequence(Qt::CTRL | Qt::Key_P),
         false, &ImagesCentralWidget::printDlg);
    make(Index::Scan, tr("Scan..."), "scanner", QKeySequence(), true,
         &ImagesCentralWidget::scanSlot);
    make(Index::Settings, tr("&Settings..."), nullptr, QKeySequence(), true,
         &ImagesCentralWidget::settingsDlg);
    make(Index::Quit, tr("&Quit"), "application-exit", QKeySequence(Qt::CTRL | Qt::Key_Q), true,
         &ImagesCentralWidget::quitAction_triggered);
}

void ImagesCentralWidget::createEditActions()
{
    m_editGroup = new QActionGroup(this);
    m_editGroup->setExclusive(false);
    using Slot = void (ImagesCentralWidget::*)();
    auto make = [this](const QString& text, const char* icon, const QKeySequence& shortcut,
                       Slot slot) {
        auto* action = new QAction(themeIcon(icon), text, this);
        action->setShortcut(shortcut);
        m_editGroup->addAction(action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_undoAction = make(tr("&Undo"), "edit-undo", QKeySequence(Qt::CTRL | Qt::Key_Z),
                        &ImagesCentralWidget::undoSlot);
    m_redoAction = make(tr("&Redo"), "edit-redo", QKeySequence(Qt::CTRL | Qt::Key_R),
                        &ImagesCentralWidget::redoSlot);
    m_copyAction = make(tr("&Copy"), "edit-copy", QKeySequence(Qt::CTRL | Qt::Key_C),
                        &ImagesCentralWidget::copySlot);
    m_cutAction = make(tr("&Cut"), "edit-cut", QKeySequence(Qt::CTRL | Qt::Key_X),
                       &ImagesCentralWidget::cutSlot);
    m_pasteAction = make(tr("&Paste..."), "edit-paste", QKeySequence(Qt::CTRL | Qt::Key_V),
                         &ImagesCentralWidget::pasteSlot);
    m_reloadAction = make(tr("Re&load"), "view-refresh", QKeySequence(Qt::CTRL | Qt::Key_L),
                          &ImagesCentralWidget::reloadSlot);
    m_editGroup->setEnabled(false);
}

void ImagesCentralWidget::createFileMenu()
{
    using Index = SharedActions::Index;
    m_fileMenu = std::make_unique<QMenu>(tr("&File"));
    m_fileMenu->addActions({shared(Index::Open), shared(Index::New), shared(Index::Scan)});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({shared(Index::Save), shared(Index::SaveAs), shared(Index::Remove),
                            shared(Index::Print)});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({shared(Index::Settings), shared(Index::Quit)});
    m_recentFilesGroup = new QActionGroup(m_fileMenu.get());
    m_recentFilesGroup->setExclusive(false);
    // Set as wallpaper in the Image menu follows the File menu's picture too.
    connect(m_fileMenu.get(), &QMenu::aboutToShow, this, &ImagesCentralWidget::postCreateImageMenu);
    connect(m_fileMenu.get(), &QMenu::aboutToShow, this, &ImagesCentralWidget::updateFileMenu);
}

void ImagesCentralWidget::createEditMenu()
{
    m_editMenu = std::make_unique<QMenu>(tr("&Edit"));
    m_editMenu->addActions(m_editGroup->actions());
}

void ImagesCentralWidget::createViewMenu()
{
    using Index = SharedActions::Index;
    m_viewMenu = std::make_unique<QMenu>(tr("&View"));
    m_viewMenu->addActions({shared(Index::Files), shared(Index::Images)});
    m_viewMenu->addSeparator();
    m_viewMenu->addActions({m_thumbnailsBarAction, m_metaInfoDock->toggleViewAction(),
                            shared(Index::FullScreen)});
    QMenu* zoomMenu = m_viewMenu->addMenu(tr("Zoom"));
    zoomMenu->addActions(m_zoomActions->actions());
}

void ImagesCentralWidget::createGoMenu()
{
    m_goMenu = new QMenu(tr("&Go"), this);
    m_goMenu->addActions({m_goActions->firstAction(), m_goActions->previousAction(),
                          m_goActions->nextAction(), m_goActions->lastAction()});
    m_goMenu->addSeparator();
    m_goMenu->addActions({m_goActions->startAction(), m_goActions->stopAction()});
}

void ImagesCentralWidget::createWindowsMenu()
{
    m_windowsMenu = std::make_unique<QMenu>(tr("&Windows"));
    m_singleWindowAction = new QAction(tr("Single window mode"), this);
    m_singleWindowAction->setCheckable(true);
    m_tabbedAction = new QAction(tr("Tabs instead of subwindows"), this);
    m_tabbedAction->setCheckable(true);

    m_arrangementGroup = new QActionGroup(this);
    m_arrangementGroup->setExclusive(false);
    auto arrange = [this](const QString& text, void (SWorkspace::*slot)()) {
        auto* action = new QAction(text, m_arrangementGroup);
        connect(action, &QAction::triggered, m_workspace, slot);
    };
    arrange(tr("&Vertical tile"), &SWorkspace::my_tile);
    arrange(tr("&Horizontal tile"), &SWorkspace::hTile);
    arrange(tr("&Cascade"), &SWorkspace::my_cascade);
    arrange(tr("&Minimize"), &SWorkspace::minimize);
    m_closeAllAction = new QAction(tr("Close all"), this);
    connect(m_closeAllAction, &QAction::triggered, m_workspace, &QMdiArea::closeAllSubWindows);
    m_windowListGroup = new QActionGroup(this);

    m_windowsMenu->addActions({m_singleWindowAction, m_tabbedAction});
    m_windowsMenu->addSeparator();
    m_windowsMenu->addActions(m_arrangementGroup->actions());
    m_windowsMenu->addAction(m_closeAllAction);

    connect(m_singleWindowAction, &QAction::toggled, m_workspace,
            &SWorkspace::setSingleWindowMode);
    connect(m_singleWindowAction, &QAction::toggled, this,
            &ImagesCentralWidget::postCreateWindowMenu);
    connect(m_tabbedAction, &QAction::toggled, m_workspace, &SWorkspace::setTabbedMode);
    connect(m_tabbedAction, &QAction::toggled, this, &ImagesCentralWidget::postCreateWindowMenu);
    connect(m_windowsMenu.get(), &QMenu::aboutToShow, this,
            &ImagesCentralWidget::postCreateWindowMenu);
    connect(m_windowListGroup, &QActionGroup::triggered, this,
            &ImagesCentralWidget::activateSubWindow);

    // Connected first, so the workspace starts in the stored modes.
    const Settings::ImagesCentralWidget* settings = Settings::instance()->imagesCentralWidget();
    m_singleWindowAction->setChecked(settings->singleWindowMode());
    m_tabbedAction->setChecked(settings->tabbedWindowMode());
    postCreateWindowMenu();
}

void ImagesCentralWidget::createImageMenu()
{
    m_imageMenu = std::make_unique<QMenu>(tr("&Image"));
    connect(m_imageMenu.get(), &QMenu::aboutToShow, this,
            &ImagesCentralWidget::postCreateImageMenu);
    postCreateImageMenu();
}

QToolBar* ImagesCentralWidget::createToolBar(const QString& title, const QString& objectName)
{
    auto* bar = new QToolBar(title, this);
    bar->setObjectName(objectName);
    bar->setFloatable(false);
    // Shown only inside the main window.
    bar->hide();
    return bar;
}

void ImagesCentralWidget::createToolBars()
{
    using Index = SharedActions::Index;
    m_switchToolBar = createToolBar(tr("Switch view mode"), QStringLiteral("switchToolBar_images"));
    m_switchToolBar->addActions({shared(Index::Files), shared(Index::Images)});
    m_switchToolBar->addSeparator();
    m_switchToolBar->addAction(shared(Index::FullScreen));

    m_editToolBar = createToolBar(tr("Edit"), QStringLiteral("editToolBar"));
    m_editToolBar->addActions({shared(Index::Open), shared(Index::Save), shared(Index::SaveAs),
                               m_undoAction, m_redoAction, m_copyAction, m_cutAction,
                               m_pasteAction});

    m_slideToolBar = createToolBar(tr("SlideShow tools"), QStringLiteral("slideToolBar"));
    m_slideToolBar->addActions({m_goActions->firstAction(), m_goActions->previousAction(),
                                m_goActions->startAction(), m_goActions->stopAction(),
                                m_goActions->nextAction(), m_goActions->lastAction()});
    m_slideToolBar->addSeparator();
    m_delaySpinBox = new QSpinBox(m_slideToolBar);
    m_delaySpinBox->setRange(1, 100);
    m_delaySpinBox->setSingleStep(1);
    m_delaySpinBox->setSuffix(tr("s"));
    m_delaySpinBox->setToolTip(tr("Delay for slide show"));
    m_delaySpinBox->setValue(Settings::instance()->imagesCentralWidget()->slideDelay());
    m_delaySpinBox->setEnabled(false);
    connect(m_delaySpinBox.data(), QOverload<int>::of(&QSpinBox::valueChanged), this,
            &ImagesCentralWidget::delay_changed);
    m_slideToolBar->addWidget(m_delaySpinBox);

    m_zoomToolBar = createToolBar(tr("Zoom tools"), QStringLiteral("zoomToolBar"));
    m_zoomToolBar->addActions(
        {m_zoomActions->zoomOutOutOutAction(), m_zoomActions->zoomInInInAction()});
    m_zoomToolBar->addSeparator();
    m_zoomToolBar->addActions({m_zoomActions->trueSizeAction(), m_zoomActions->fitAction()});
}

void ImagesCentralWidget::postCreateImageMenu()
{
    m_imageMenu->clear();
    const ActionRules::Enables enables = ActionRules::enables(currentState());
    SPicView* view = m_currentView;
    const std::pair<QString, void (SPicView::*)()> dialogs[] = {
        {tr("&Rotate..."), &SPicView::showRotateDialog},
        {tr("Change &size..."), &SPicView::showResizeDialog},
        {tr("Change &depth..."), &SPicView::showDepthConversionDialog},
        {tr("&Adjust colors..."), &SPicView::showRGBAdjustDialog},
        {tr("&Hue-Saturation..."), &SPicView::showHSVAdjustDialog},
        {tr("&Brightness-Contrast..."), &SPicView::showBrightnessContrastDialog},
    };
    for (const auto& dialog : dialogs) {
        QAction* action = m_imageMenu->addAction(dialog.first);
        action->setEnabled(enables.imageDialogs);
        if (!view)
            continue;
        const QPointer<SPicView> target = view;
        connect(action, &QAction::triggered, this, [this, target, show = dialog.second] {
            if (!target)
                return;
            (target.data()->*show)();
            // The picture counts as changed only once its dialog is through.
            enableSaveSlot();
        });
    }
    m_imageMenu->addSeparator();
    QAction* wallpaper = m_imageMenu->addAction(tr("Set as wallpaper"));
    wallpaper->setEnabled(enables.wallpaper);
    connect(wallpaper, &QAction::triggered, this, &ImagesCentralWidget::changeWallpaper);
}

void ImagesCentralWidget::postCreateWindowMenu()
{
    const QList<QAction*> old = m_windowListGroup->actions();
    for (QAction* action : old) {
        m_windowListGroup->removeAction(action);
        m_windowsMenu->removeAction(action);
        action->deleteLater();
    }
    const bool single = m_singleWindowAction->isChecked();
    m_arrangementGroup->setEnabled(ActionRules::arrangementEnabled(
        m_currentView, single, m_workspace->viewMode() == QMdiArea::TabbedView));
    const QList<QMdiSubWindow*> windows = m_workspace->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty() || single)
        return;
    auto* separator = new QAction(m_windowListGroup);
    separator->setSeparator(true);
    QMdiSubWindow* current = m_workspace->currentSubWindow();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows.at(i);
        // Owned by its sub-window, so it goes when the window does.
        auto* action = new QAction(QStringLiteral("&%1: %2").arg(i).arg(window->windowTitle()),
                                   window);
        action->setCheckable(true);
        action->setChecked(window == current);
        m_windowListGroup->addAction(action);
    }
    m_windowsMenu->addActions(m_windowListGroup->actions());
}

void ImagesCentralWidget::activateSubWindow(QAction* action)
{
    auto* window = qobject_cast<QMdiSubWindow*>(action ? action->parent() : nullptr);
    if (window && m_workspace->subWindowList().contains(window))
        m_workspace->setActiveSubWindow(window);
}

QList<QAction*> ImagesCentralWidget::pictureContextMenuActions() const
{
    using Index = SharedActions::Index;
    QAction* fullScreen = shared(Index::FullScreen);
    QList<QAction*> actions = {m_pasteAction,
                               m_reloadAction,
                               nullptr,
                               m_goActions->startAction(),
                               m_goActions->stopAction(),
                               m_goActions->nextAction(),
                               m_goActions->previousAction(),
                               nullptr,
                               shared(Index::SaveAs),
                               shared(Index::Print),
                               nullptr,
                               fullScreen};
    // The bar and the dock are out of sight while the picture is full screen.
    if (!fullScreen->isChecked())
        actions << nullptr << m_thumbnailsBarAction << m_metaInfoDock->toggleViewAction();
    return actions;
}

QList<QAction*> ImagesCentralWidget::selectionContextMenuActions() const
{
    return {m_copyAction, m_cutAction};
}

void ImagesCentralWidget::runContextMenu(const QList<QAction*>& actions,
                                         const QPoint& globalPos)
{
    QMenu menu(this);
    for (QAction* action : actions) {
        if (action)
            menu.addAction(action);
        else
            menu.addSeparator();
    }
    menu.exec(globalPos);
}

void ImagesCentralWidget::showPictureContextMenu(const QPoint& globalPos)
{
    runContextMenu(pictureContextMenuActions(), globalPos);
}

void ImagesCentralWidget::showSelectionContextMenu(const QPoint& globalPos)
{
    runContextMenu(selectionContextMenuActions(), globalPos);
}
