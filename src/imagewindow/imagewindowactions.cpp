#include "imagewindow/imagewindowactions.h"

#include "document/clipboardimage.h"
#include "imagewindow/currentviewbinding.h"
#include "imagewindow/imagescentralwidget.h"
#include "imagewindow/recentfilesmenu.h"
#include "imagewindow/scrollingmenustyle.h"
#include "imagewindow/sworkspace.h"
#include "settings/settings.h"
#include "view/goactions.h"
#include "view/spicview.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>

// Every text here belongs to the image window's translations, hence ImagesCentralWidget::tr.

namespace {

QIcon themeIcon(const char* name)
{
    return QIcon::fromTheme(QLatin1String(name), QIcon());
}

// Menus, bars and context menus list their entries; nullptr stands for a separator.
void addEntries(QWidget* target, const QList<QAction*>& entries)
{
    for (QAction* entry : entries) {
        if (!entry) {
            entry = new QAction(target);
            entry->setSeparator(true);
        }
        target->addAction(entry);
    }
}

// An edit action made here.
struct EditRow
{
    ImageWindowActions::Edit edit;
    const char* text;
    const char* icon;
    QList<QKeySequence> shortcuts;
    void (ImagesCentralWidget::*slot)();
};

// A one-step edit of the Image menu. Keys only where no other action holds them: Ctrl+L and
// Ctrl+R are reload and redo here.
struct QuickEditRow
{
    QuickEdits::Kind kind;
    const char* text;
    const char* icon;
    int shortcut;
};

// A shared action handed in, and what it does in this window.
struct SharedRow
{
    SharedActions::Index index;
    void (ImagesCentralWidget::*slot)();
};

} // namespace

ImageWindowActions::ImageWindowActions(ImagesCentralWidget* window, SharedActions* actions,
                                       RecentFiles* recentFiles, SWorkspace* workspace)
    : QObject(window)
    , m_window(window)
    , m_actions(actions)
    , m_recentFiles(recentFiles)
    , m_workspace(workspace)
{
    createActions();
    createQuickEdits();
    m_goActions = new GoActions(window);
    m_zoomActions = new ZoomActions(window);
    window->addActions(m_editGroup->actions());
    window->addActions(quickEdits());
    window->addAction(m_pasteAsNew);
    window->addActions(m_goActions->actions());
    window->addActions(m_zoomActions->actions());
}

ImageWindowActions::~ImageWindowActions() = default;

void ImageWindowActions::createActions()
{
    using Index = SharedActions::Index;
    using W = ImagesCentralWidget;
    // Full screen and the two modes are the main window's business.
    const SharedRow shared[] = {
        {Index::Open, &W::openDlg},          {Index::New, &W::newDlg},
        {Index::Save, &W::save},             {Index::SaveAs, &W::saveAsDlg},
        {Index::Remove, &W::removeImageFile}, {Index::Print, &W::printDlg},
        {Index::Scan, &W::scanSlot},         {Index::Settings, &W::settingsDlg},
        {Index::Quit, &W::quitAction_triggered},
    };
    for (const SharedRow& row : shared)
        connect(this->shared(row.index), &QAction::triggered, m_window, row.slot);

    const EditRow rows[] = {
        {Edit::Undo, QT_TRANSLATE_NOOP("ImagesCentralWidget", "&Undo"), "edit-undo",
         {Qt::CTRL | Qt::Key_Z}, &W::undoSlot},
        // Also the keys other programs redo with; the menu shows the first.
        {Edit::Redo, QT_TRANSLATE_NOOP("ImagesCentralWidget", "&Redo"), "edit-redo",
         {Qt::CTRL | Qt::Key_R, Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y},
         &W::redoSlot},
        {Edit::Copy, QT_TRANSLATE_NOOP("ImagesCentralWidget", "&Copy"), "edit-copy",
         {Qt::CTRL | Qt::Key_C}, &W::copySlot},
        {Edit::Cut, QT_TRANSLATE_NOOP("ImagesCentralWidget", "&Cut"), "edit-cut",
         {Qt::CTRL | Qt::Key_X}, &W::cutSlot},
        {Edit::Paste, QT_TRANSLATE_NOOP("ImagesCentralWidget", "&Paste..."), "edit-paste",
         {Qt::CTRL | Qt::Key_V}, &W::pasteSlot},
        {Edit::Reload, QT_TRANSLATE_NOOP("ImagesCentralWidget", "Re&load"), "view-refresh",
         {Qt::CTRL | Qt::Key_L}, &W::reloadSlot},
    };
    m_editGroup = new QActionGroup(this);
    m_editGroup->setExclusive(false);
    for (const EditRow& row : rows) {
        auto* action = new QAction(themeIcon(row.icon),
                                   QCoreApplication::translate("ImagesCentralWidget", row.text),
                                   this);
        action->setShortcuts(row.shortcuts);
        connect(action, &QAction::triggered, m_window, row.slot);
        m_editGroup->addAction(action);
        m_edit[static_cast<std::size_t>(row.edit)] = action;
    }
    m_editGroup->setEnabled(false);
}

void ImageWindowActions::createQuickEdits()
{
    using Kind = QuickEdits::Kind;
    const QuickEditRow rows[] = {
        {Kind::RotateLeft, QT_TRANSLATE_NOOP("ImagesCentralWidget", "Rotate &left"),
         "object-rotate-left", Qt::CTRL | Qt::SHIFT | Qt::Key_L},
        {Kind::RotateRight, QT_TRANSLATE_NOOP("ImagesCentralWidget", "Rotate ri&ght"),
         "object-rotate-right", Qt::CTRL | Qt::SHIFT | Qt::Key_R},
        {Kind::FlipHorizontally, QT_TRANSLATE_NOOP("ImagesCentralWidget", "Flip hori&zontally"),
         "object-flip-horizontal", 0},
        {Kind::FlipVertically, QT_TRANSLATE_NOOP("ImagesCentralWidget", "Flip &vertically"),
         "object-flip-vertical", 0},
        {Kind::CropToSelection, QT_TRANSLATE_NOOP("ImagesCentralWidget", "&Crop to selection"),
         "transform-crop", Qt::CTRL | Qt::SHIFT | Qt::Key_X},
        {Kind::InvertColours, QT_TRANSLATE_NOOP("ImagesCentralWidget", "&Invert colours"),
         "", Qt::CTRL | Qt::Key_I},
    };
    for (const QuickEditRow& row : rows) {
        auto* action = new QAction(themeIcon(row.icon),
                                   QCoreApplication::translate("ImagesCentralWidget", row.text),
                                   this);
        action->setShortcut(QKeySequence(row.shortcut));
        action->setEnabled(false);
        connect(action, &QAction::triggered, m_window, [window = m_window, kind = row.kind] {
            window->viewBinding()->quickEdit(kind);
        });
        m_quickEdits[static_cast<std::size_t>(row.kind)] = action;
    }

    m_pasteAsNew = new QAction(themeIcon("edit-paste"),
                               ImagesCentralWidget::tr("Paste as &new picture"), this);
    m_pasteAsNew->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    m_pasteAsNew->setEnabled(false);
    connect(m_pasteAsNew, &QAction::triggered, m_window, [window = m_window] {
        // An empty clipboard opens nothing.
        window->newPVFromImage(ClipboardImage::read());
    });
}

void ImageWindowActions::buildMenus(QAction* thumbnailsBarAction, QAction* metaInfoAction)
{
    m_thumbnailsBarAction = thumbnailsBarAction;
    m_metaInfoAction = metaInfoAction;
    createFileMenu();
    createEditMenu();
    createViewMenu(thumbnailsBarAction, metaInfoAction);
    createGoMenu();
    createWindowsMenu();
    createImageMenu();
    createToolBars();
}

void ImageWindowActions::createFileMenu()
{
    using Index = SharedActions::Index;
    m_fileMenu = std::make_unique<QMenu>(ImagesCentralWidget::tr("&File"));
    addEntries(m_fileMenu.get(),
               {shared(Index::Open), shared(Index::New), shared(Index::Scan), nullptr,
                shared(Index::Save), shared(Index::SaveAs), shared(Index::Remove),
                shared(Index::Print), nullptr, shared(Index::Settings), shared(Index::Quit)});
    m_recentFilesMenu = new RecentFilesMenu(m_recentFiles, m_fileMenu.get());
    // Set as wallpaper in the Image menu follows the File menu's picture too.
    connect(m_fileMenu.get(), &QMenu::aboutToShow, m_window,
            &ImagesCentralWidget::postCreateImageMenu);
    connect(m_fileMenu.get(), &QMenu::aboutToShow, m_window,
            &ImagesCentralWidget::updateFileMenu);
}

void ImageWindowActions::createEditMenu()
{
    m_editMenu = std::make_unique<QMenu>(ImagesCentralWidget::tr("&Edit"));
    m_editMenu->addActions(m_editGroup->actions());
    m_editMenu->addAction(m_pasteAsNew);
}

void ImageWindowActions::createViewMenu(QAction* thumbnailsBarAction, QAction* metaInfoAction)
{
    using Index = SharedActions::Index;
    m_viewMenu = std::make_unique<QMenu>(ImagesCentralWidget::tr("&View"));
    addEntries(m_viewMenu.get(), {shared(Index::Files), shared(Index::Images), nullptr,
                                  thumbnailsBarAction, metaInfoAction, shared(Index::FullScreen)});
    QMenu* zoomMenu = m_viewMenu->addMenu(ImagesCentralWidget::tr("Zoom"));
    zoomMenu->addActions(m_zoomActions->actions());
}

void ImageWindowActions::createGoMenu()
{
    m_goMenu = new QMenu(ImagesCentralWidget::tr("&Go"), m_window);
    addEntries(m_goMenu, {m_goActions->firstAction(), m_goActions->previousAction(),
                          m_goActions->nextAction(), m_goActions->lastAction(), nullptr,
                          m_goActions->startAction(), m_goActions->stopAction(),
                          m_goActions->loopAction()});
}

void ImageWindowActions::createWindowsMenu()
{
    m_windowsMenu = std::make_unique<QMenu>(ImagesCentralWidget::tr("&Windows"));
    // A hundred pictures are one list to scroll, each with its path as the tooltip.
    auto* menuStyle = new ScrollingMenuStyle;
    menuStyle->setParent(m_windowsMenu.get());
    m_windowsMenu->setStyle(menuStyle);
    m_windowsMenu->setToolTipsVisible(true);
    m_singleWindowAction = new QAction(ImagesCentralWidget::tr("Single window mode"), this);
    m_singleWindowAction->setCheckable(true);
    m_tabbedAction = new QAction(ImagesCentralWidget::tr("Tabs instead of subwindows"), this);
    m_tabbedAction->setCheckable(true);

    m_arrangementGroup = new QActionGroup(this);
    m_arrangementGroup->setExclusive(false);
    auto arrange = [this](const QString& text, void (SWorkspace::*slot)()) {
        auto* action = new QAction(text, m_arrangementGroup);
        connect(action, &QAction::triggered, m_workspace, slot);
    };
    arrange(ImagesCentralWidget::tr("&Vertical tile"), &SWorkspace::my_tile);
    arrange(ImagesCentralWidget::tr("&Horizontal tile"), &SWorkspace::hTile);
    arrange(ImagesCentralWidget::tr("&Cascade"), &SWorkspace::my_cascade);
    arrange(ImagesCentralWidget::tr("&Minimize"), &SWorkspace::minimize);
    m_closeAllAction = new QAction(ImagesCentralWidget::tr("Close all"), this);
    connect(m_closeAllAction, &QAction::triggered, m_workspace, &QMdiArea::closeAllSubWindows);
    m_windowListGroup = new QActionGroup(this);

    addEntries(m_windowsMenu.get(), {m_singleWindowAction, m_tabbedAction, nullptr});
    m_windowsMenu->addActions(m_arrangementGroup->actions());
    m_windowsMenu->addAction(m_closeAllAction);

    connect(m_singleWindowAction, &QAction::toggled, m_workspace,
            &SWorkspace::setSingleWindowMode);
    connect(m_singleWindowAction, &QAction::toggled, m_window,
            &ImagesCentralWidget::postCreateWindowMenu);
    connect(m_tabbedAction, &QAction::toggled, m_workspace, &SWorkspace::setTabbedMode);
    connect(m_tabbedAction, &QAction::toggled, m_window,
            &ImagesCentralWidget::postCreateWindowMenu);
    connect(m_windowsMenu.get(), &QMenu::aboutToShow, m_window,
            &ImagesCentralWidget::postCreateWindowMenu);
    connect(m_windowListGroup, &QActionGroup::triggered, m_window,
            &ImagesCentralWidget::activateSubWindow);

    // Connected first, so the workspace starts in the stored modes.
    const Settings::ImagesCentralWidget* settings = Settings::instance()->imagesCentralWidget();
    m_singleWindowAction->setChecked(settings->singleWindowMode());
    m_tabbedAction->setChecked(settings->tabbedWindowMode());
    m_window->postCreateWindowMenu();
}

void ImageWindowActions::createImageMenu()
{
    m_imageMenu = std::make_unique<QMenu>(ImagesCentralWidget::tr("&Image"));
    connect(m_imageMenu.get(), &QMenu::aboutToShow, m_window,
            &ImagesCentralWidget::postCreateImageMenu);
    m_window->postCreateImageMenu();
}

QToolBar* ImageWindowActions::createToolBar(const QString& title, const QString& objectName)
{
    auto* bar = new QToolBar(title, m_window);
    bar->setObjectName(objectName);
    bar->setFloatable(false);
    // Shown only inside the main window.
    bar->hide();
    return bar;
}

void ImageWindowActions::createToolBars()
{
    using Index = SharedActions::Index;
    m_switchToolBar = createToolBar(ImagesCentralWidget::tr("Switch view mode"),
                                    QStringLiteral("switchToolBar_images"));
    addEntries(m_switchToolBar,
               {shared(Index::Files), shared(Index::Images), nullptr, shared(Index::FullScreen)});

    m_editToolBar = createToolBar(ImagesCentralWidget::tr("Edit"), QStringLiteral("editToolBar"));
    addEntries(m_editToolBar, {shared(Index::Open), shared(Index::Save), shared(Index::SaveAs),
                               edit(Edit::Undo), edit(Edit::Redo), edit(Edit::Copy),
                               edit(Edit::Cut), edit(Edit::Paste)});

    m_slideToolBar = createToolBar(ImagesCentralWidget::tr("SlideShow tools"),
                                   QStringLiteral("slideToolBar"));
    addEntries(m_slideToolBar, {m_goActions->firstAction(), m_goActions->previousAction(),
                                m_goActions->startAction(), m_goActions->stopAction(),
                                m_goActions->nextAction(), m_goActions->lastAction(), nullptr});
    m_delaySpinBox = new QSpinBox(m_slideToolBar);
    m_delaySpinBox->setRange(1, 100);
    m_delaySpinBox->setSingleStep(1);
    m_delaySpinBox->setSuffix(ImagesCentralWidget::tr("s"));
    m_delaySpinBox->setToolTip(ImagesCentralWidget::tr("Delay for slide show"));
    m_delaySpinBox->setValue(Settings::instance()->imagesCentralWidget()->slideDelay());
    m_delaySpinBox->setEnabled(false);
    connect(m_delaySpinBox.data(), QOverload<int>::of(&QSpinBox::valueChanged), m_window,
            &ImagesCentralWidget::delay_changed);
    m_slideToolBar->addWidget(m_delaySpinBox);
    m_slideToolBar->addAction(m_goActions->loopAction());

    m_zoomToolBar =
        createToolBar(ImagesCentralWidget::tr("Zoom tools"), QStringLiteral("zoomToolBar"));
    addEntries(m_zoomToolBar,
               {m_zoomActions->zoomOutOutOutAction(), m_zoomActions->zoomInInInAction(), nullptr,
                m_zoomActions->trueSizeAction(), m_zoomActions->fitAction()});
}

QSpinBox* ImageWindowActions::delaySpinBox() const
{
    return m_delaySpinBox;
}

QList<QMenu*> ImageWindowActions::menus() const
{
    return {m_fileMenu.get(), m_editMenu.get(), m_viewMenu.get(),
            m_goMenu,         m_imageMenu.get(), m_windowsMenu.get()};
}

QList<QToolBar*> ImageWindowActions::toolBars() const
{
    QList<QToolBar*> bars;
    for (QToolBar* bar : {m_switchToolBar.data(), m_editToolBar.data(), m_slideToolBar.data(),
                          m_zoomToolBar.data()}) {
        if (bar)
            bars.append(bar);
    }
    return bars;
}

int ImageWindowActions::toolBarsWidth() const
{
    int width = 0;
    for (const QToolBar* bar : toolBars()) {
        // The hint of a bar not yet in a window leaves out the room the window's tool bar
        // area puts around each bar.
        const QStyle* style = bar->style();
        width += bar->sizeHint().width()
                 + style->pixelMetric(QStyle::PM_ToolBarHandleExtent, nullptr, bar)
                 + style->pixelMetric(QStyle::PM_ToolBarSeparatorExtent, nullptr, bar);
    }
    return width;
}

void ImageWindowActions::applyRules(const ActionRules::Enables& enables)
{
    using Index = SharedActions::Index;
    m_editGroup->setEnabled(enables.editGroup);
    edit(Edit::Undo)->setEnabled(enables.undo);
    edit(Edit::Redo)->setEnabled(enables.redo);
    edit(Edit::Paste)->setEnabled(enables.paste);
    shared(Index::Save)->setEnabled(enables.save);
    shared(Index::SaveAs)->setEnabled(enables.saveAs);
    shared(Index::Remove)->setEnabled(enables.remove);
    shared(Index::Print)->setEnabled(enables.print);
    shared(Index::FullScreen)->setEnabled(enables.fullScreen);
    applyQuickEditRules(enables);
    m_pasteAsNew->setEnabled(enables.pasteAsNew);
    if (m_delaySpinBox)
        m_delaySpinBox->setEnabled(enables.delayBox);
    m_goActions->apply(enables.go);
    m_zoomActions->setEnabled(enables.zoom);
}

QList<QAction*> ImageWindowActions::quickEdits() const
{
    return QList<QAction*>(m_quickEdits.cbegin(), m_quickEdits.cend());
}

void ImageWindowActions::applyQuickEditRules(const ActionRules::Enables& enables)
{
    for (QAction* action : m_quickEdits)
        action->setEnabled(enables.reorient);
    quickEdit(QuickEdits::Kind::CropToSelection)->setEnabled(enables.crop);
}

void ImageWindowActions::rebuildImageMenu(SPicView* view, const ActionRules::Enables& enables)
{
    m_imageMenu->clear();
    const std::pair<QString, void (SPicView::*)()> dialogs[] = {
        {ImagesCentralWidget::tr("&Rotate..."), &SPicView::showRotateDialog},
        {ImagesCentralWidget::tr("Change &size..."), &SPicView::showResizeDialog},
        {ImagesCentralWidget::tr("Change &depth..."), &SPicView::showDepthConversionDialog},
        {ImagesCentralWidget::tr("&Adjust colors..."), &SPicView::showRGBAdjustDialog},
        {ImagesCentralWidget::tr("&Hue-Saturation..."), &SPicView::showHSVAdjustDialog},
        {ImagesCentralWidget::tr("&Brightness-Contrast..."),
         &SPicView::showBrightnessContrastDialog},
    };
    for (const auto& dialog : dialogs) {
        QAction* action = m_imageMenu->addAction(dialog.first);
        action->setEnabled(enables.imageDialogs);
        if (view)
            connect(action, &QAction::triggered, view, dialog.second);
    }
    m_imageMenu->addSeparator();
    m_imageMenu->addActions(quickEdits());
    applyQuickEditRules(enables);
    m_imageMenu->addSeparator();
    QAction* wallpaper = m_imageMenu->addAction(ImagesCentralWidget::tr("Set as wallpaper"));
    wallpaper->setEnabled(enables.wallpaper);
    connect(wallpaper, &QAction::triggered, m_window, &ImagesCentralWidget::changeWallpaper);
}

void ImageWindowActions::rebuildWindowMenu(bool hasView)
{
    const QList<QAction*> old = m_windowListGroup->actions();
    for (QAction* action : old) {
        m_windowListGroup->removeAction(action);
        m_windowsMenu->removeAction(action);
        action->deleteLater();
    }
    const bool single = m_singleWindowAction->isChecked();
    m_arrangementGroup->setEnabled(ActionRules::arrangementEnabled(
        hasView, single, m_workspace->viewMode() == QMdiArea::TabbedView));
    const QList<QMdiSubWindow*> windows = m_workspace->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty() || single)
        return;
    auto* separator = new QAction(m_windowListGroup);
    separator->setSeparator(true);
    QMdiSubWindow* current = m_workspace->currentSubWindow();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows.at(i);
        const WindowLabel label = SWorkspace::labelOf(window);
        // Owned by its sub-window, so it goes when the window does.
        auto* action = new QAction(windowEntryText(i, label.text), window);
        action->setToolTip(label.toolTip);
        action->setCheckable(true);
        action->setChecked(window == current);
        m_windowListGroup->addAction(action);
    }
    m_windowsMenu->addActions(m_windowListGroup->actions());
}

QString ImageWindowActions::windowEntryText(int position, const QString& label)
{
    QString text = label;
    // An "&" in a file name is no key.
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    const QString number = QString::number(position + 1);
    return (position < 9 ? QLatin1Char('&') + number : number) + QLatin1String(": ") + text;
}

void ImageWindowActions::activateSubWindow(QAction* action)
{
    auto* window = qobject_cast<QMdiSubWindow*>(action ? action->parent() : nullptr);
    if (window && m_workspace->subWindowList().contains(window))
        m_workspace->setActiveSubWindow(window);
}

void ImageWindowActions::showPictureContextMenu(const QPoint& globalPos)
{
    using Index = SharedActions::Index;
    QAction* fullScreen = shared(Index::FullScreen);
    QList<QAction*> actions = {edit(Edit::Paste),
                               edit(Edit::Reload),
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
        actions << nullptr << m_thumbnailsBarAction << m_metaInfoAction;
    runContextMenu(actions, globalPos);
}

void ImageWindowActions::showSelectionContextMenu(const QPoint& globalPos)
{
    runContextMenu({edit(Edit::Copy), edit(Edit::Cut)}, globalPos);
}

void ImageWindowActions::runContextMenu(const QList<QAction*>& actions, const QPoint& globalPos)
{
    QMenu menu(m_window);
    addEntries(&menu, actions);
    menu.exec(globalPos);
}
