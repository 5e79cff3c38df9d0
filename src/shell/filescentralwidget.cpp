#include "shell/filescentralwidget.h"

#include "browser/imagefileselector.h"
#include "document/actionrules.h"
#include "imagewindow/recentfilesmenu.h"
#include "platform/lumofm/navigation.h"
#include "platform/lumofm/vfs.h"
#include "platformwidgets/lumofm/locationbar.h"
#include "platformwidgets/lumofm/navigationactions.h"
#include "platformwidgets/lumofm/refreshaction.h"
#include "settings/settings.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr int kMinimumThumbnailSize = 32;
constexpr int kMaximumThumbnailSize = 256;
constexpr int kSliderWidth = 112;

QIcon themeIcon(const char* name)
{
    return QIcon::fromTheme(QLatin1String(name), QIcon());
}

} // namespace

FilesCentralWidget::FilesCentralWidget(const QString& startPath, SharedActions* actions,
                                       RecentFiles* recentFiles, QMenu* helpMenu, QWidget* parent)
    : QWidget(parent), m_actions(actions), m_helpMenu(helpMenu),
      m_navigation(new LumoFM::Navigation(this))
{
    const LumoFM::Entry start = startEntry(startPath, Settings::instance()->general()->lastDir());
    // Connected first, so the start directory is remembered at once.
    connect(m_navigation, &LumoFM::Navigation::currentChanged, this,
            &FilesCentralWidget::updateLastDir);
    m_navigation->setCurrent(start);

    m_selector = new ImageFileSelector(m_navigation, this);
    connect(m_selector, &ImageFileSelector::imageActivated, this,
            &FilesCentralWidget::imageActivated);
    connect(m_selector, &ImageFileSelector::imagesActivated, this,
            &FilesCentralWidget::imagesActivated);
    connect(m_selector, &ImageFileSelector::currentFilePathChanged, this,
            &FilesCentralWidget::updateFullScreenAccessibility);

    createFileMenu(recentFiles);
    createViewMenu();
    createToolBars();
    connect(m_fileMenu, &QMenu::aboutToShow, this, &FilesCentralWidget::updateFileMenu);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_selector);
}

FilesCentralWidget::~FilesCentralWidget()
{
    // The bars come home first, so they go with this widget and not with the window.
    detach();
    saveSettings();
}

void FilesCentralWidget::saveSettings()
{
    Settings::FilesCentralWidget* settings = Settings::instance()->filesCentralWidget();
    const bool iconMode = m_iconsAction->isChecked();
    if (m_sizeSlider) {
        if (iconMode)
            settings->setThumbnailSizeInIconMode(m_sizeSlider->value());
        else
            settings->setThumbnailSizeInListMode(m_sizeSlider->value());
    }
    settings->setIconViewMode(iconMode);
    Settings::sync();
}

LumoFM::Entry FilesCentralWidget::startEntry(const QString& startPath, const QString& lastDir)
{
    const LumoFM::VFS* vfs = LumoFM::VFS::ptr();
    const auto isDirectory = [vfs](const LumoFM::Entry& entry) {
        return vfs->isEntryExists(entry) && entry.isDir();
    };
    const LumoFM::Entry chosen = vfs->entry(startPath.isEmpty() ? lastDir : startPath);
    if (isDirectory(chosen))
        return chosen;
    // A remembered directory may be gone, and many homes have no desktop folder.
    const LumoFM::Entry desktop = vfs->desktopEntry();
    if (isDirectory(desktop))
        return desktop;
    return vfs->homeEntry();
}

void FilesCentralWidget::createFileMenu(RecentFiles* recentFiles)
{
    using Index = SharedActions::Index;
    m_fileMenu = new QMenu(tr("&File"), this);
    m_fileMenu->addActions({shared(Index::Open), shared(Index::New), shared(Index::Scan)});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({shared(Index::Settings), shared(Index::Quit)});
    m_recentFilesMenu = new RecentFilesMenu(recentFiles, m_fileMenu);
    connect(m_recentFilesMenu, &RecentFilesMenu::chosen, this,
            &FilesCentralWidget::recentFileChosen);
}

void FilesCentralWidget::updateFileMenu()
{
    m_recentFilesMenu->rebuild();
}

void FilesCentralWidget::createViewMenu()
{
    using Index = SharedActions::Index;
    m_viewModeGroup = new QActionGroup(this);
    m_iconsAction = new QAction(themeIcon("view-list-icons"), tr("Icons"), m_viewModeGroup);
    m_iconsAction->setCheckable(true);
    m_listAction = new QAction(themeIcon("view-list-details"), tr("Multicolumn"), m_viewModeGroup);
    m_listAction->setCheckable(true);

    m_viewMenu = std::make_unique<QMenu>(tr("&View"));
    m_viewMenu->addActions({shared(Index::Files), shared(Index::Images)});
    m_viewMenu->addSeparator();
    m_viewMenu->addActions({m_iconsAction, m_listAction});
    m_viewMenu->addSeparator();
    m_viewMenu->addAction(shared(Index::FullScreen));

    const bool iconMode = Settings::instance()->filesCentralWidget()->iconViewMode();
    (iconMode ? m_iconsAction : m_listAction)->setChecked(true);
    // Only now: the initial check is no switch of mode.
    connect(m_iconsAction, &QAction::toggled, this, &FilesCentralWidget::setIconViewMode);
}

QToolBar* FilesCentralWidget::createToolBar(const QString& title, const QString& objectName)
{
    auto* bar = new QToolBar(title, this);
    bar->setObjectName(objectName);
    // Shown only inside the main window.
    bar->hide();
    return bar;
}

void FilesCentralWidget::createToolBars()
{
    using Index = SharedActions::Index;
    m_switchBar = createToolBar(tr("Switch view mode"), QStringLiteral("switchToolBar_files"));
    m_switchBar->setFloatable(false);
    m_switchBar->addActions({shared(Index::Files), shared(Index::Images)});
    m_switchBar->addSeparator();
    m_switchBar->addAction(shared(Index::FullScreen));

    createViewOptionsBar();
    createNavigationBar();
}

void FilesCentralWidget::createViewOptionsBar()
{
    m_optionsBar = createToolBar(tr("View options"), QStringLiteral("viewSettingsBar"));
    m_optionsBar->setFloatable(false);
    m_optionsBar->addWidget(new QLabel(tr("Thumbnails size:"), m_optionsBar));
    m_sizeSlider = new QSlider(Qt::Horizontal, m_optionsBar);
    m_sizeSlider->setToolTip(tr("Thumbnails size"));
    m_sizeSlider->setRange(kMinimumThumbnailSize, kMaximumThumbnailSize);
    m_sizeSlider->setFixedWidth(kSliderWidth);
    m_optionsBar->addWidget(m_sizeSlider);
    m_optionsBar->addSeparator();
    m_optionsBar->addActions({m_iconsAction, m_listAction});

    connect(m_sizeSlider.data(), &QSlider::valueChanged, m_selector,
            &ImageFileSelector::setThumbnailSize);
    // A pinch in the directory view moves the slider along.
    connect(m_selector, &ImageFileSelector::thumbnailSizeChanged, m_sizeSlider.data(),
            &QSlider::setValue);

    const Settings::FilesCentralWidget* settings = Settings::instance()->filesCentralWidget();
    const bool iconMode = settings->iconViewMode();
    m_selector->setIconViewMode(iconMode);
    const int size =
        iconMode ? settings->thumbnailSizeInIconMode() : settings->thumbnailSizeInListMode();
    m_sizeSlider->setValue(size);
    m_selector->setThumbnailSize(size);
}

void FilesCentralWidget::createNavigationBar()
{
    m_navigationBar = createToolBar(tr("Navigation"), QStringLiteral("NavigationBar"));
    auto* navigationActions = new LumoFM::NavigationActions(m_navigation, this);
    navigationActions->addToToolBar(m_navigationBar);
    auto* refresh = new LumoFM::RefreshAction(m_navigation, this);
    refresh->addToToolBar(m_navigationBar);
    QAction* home = m_navigationBar->addAction(themeIcon("go-home"), tr("Home"));
    connect(home, &QAction::triggered, this, &FilesCentralWidget::goHome);

    auto* locationBar = new LumoFM::LocationBar(m_navigation, m_navigationBar);
    locationBar->setCompleter(m_selector->pathCompleter());
    locationBar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_navigationBar->addWidget(locationBar);
}

QSlider* FilesCentralWidget::sizeSlider() const
{
    return m_sizeSlider;
}

QList<QToolBar*> FilesCentralWidget::toolBars() const
{
    QList<QToolBar*> bars;
    for (QToolBar* bar : {m_switchBar.data(), m_optionsBar.data(), m_navigationBar.data()}) {
        if (bar)
            bars.append(bar);
    }
    return bars;
}

void FilesCentralWidget::setMainWindow(QMainWindow* mainWindow)
{
    if (mainWindow == m_mainWindow)
        return;
    detach();
    if (mainWindow)
        attach(mainWindow);
}

void FilesCentralWidget::attach(QMainWindow* mainWindow)
{
    m_mainWindow = mainWindow;
    mainWindow->addToolBar(Qt::TopToolBarArea, m_switchBar);
    mainWindow->addToolBar(Qt::TopToolBarArea, m_optionsBar);
    // The navigation bar with its location entry gets a row of its own.
    mainWindow->addToolBarBreak(Qt::TopToolBarArea);
    mainWindow->addToolBar(Qt::TopToolBarArea, m_navigationBar);
    const QList<QToolBar*> bars = toolBars();
    for (QToolBar* bar : bars)
        bar->show();

    QMenuBar* menuBar = mainWindow->menuBar();
    menuBar->addMenu(m_fileMenu);
    menuBar->addMenu(m_viewMenu.get());
    if (m_helpMenu)
        menuBar->addMenu(m_helpMenu);
    updateFullScreenAccessibility();
}

void FilesCentralWidget::detach()
{
    QMainWindow* mainWindow = m_mainWindow;
    if (!mainWindow)
        return;
    for (QToolBar* bar : {m_navigationBar.data(), m_optionsBar.data(), m_switchBar.data()}) {
        if (!bar)
            continue;
        mainWindow->removeToolBar(bar);
        bar->setParent(this);
        bar->hide();
    }
    mainWindow->menuBar()->clear();
    m_mainWindow = nullptr;
}

QString FilesCentralWidget::currentFilePath() const
{
    return m_selector->currentFilePath();
}

void FilesCentralWidget::setTabletMode(bool on)
{
    m_selector->setTabletMode(on);
}

void FilesCentralWidget::goHome()
{
    m_navigation->setCurrent(LumoFM::VFS::ptr()->homeEntry());
}

void FilesCentralWidget::showFolderOf(const QString& filePath)
{
    const LumoFM::Entry folder = LumoFM::VFS::ptr()->entry(QFileInfo(filePath).absolutePath());
    if (folder.path() != m_navigation->current().path())
        m_navigation->setCurrent(folder);
}

void FilesCentralWidget::setIconViewMode(bool iconMode)
{
    Settings::FilesCentralWidget* settings = Settings::instance()->filesCentralWidget();
    const int leavingSize = m_sizeSlider->value();
    int size = 0;
    if (iconMode) {
        settings->setThumbnailSizeInListMode(leavingSize);
        size = settings->thumbnailSizeInIconMode();
    } else {
        settings->setThumbnailSizeInIconMode(leavingSize);
        size = settings->thumbnailSizeInListMode();
    }
    // The slider passes the size on to the thumbnails.
    m_sizeSlider->setValue(size);
    Settings::sync();
    m_selector->setIconViewMode(iconMode);
}

void FilesCentralWidget::updateFullScreenAccessibility()
{
    if (!m_mainWindow)
        return;
    // The selected file stands for an open picture, so the image window's rule decides; a
    // directory is current as often as a picture and stands for none.
    ActionRules::State state;
    state.hasView = QFileInfo(currentFilePath()).isFile();
    shared(SharedActions::Index::FullScreen)->setEnabled(ActionRules::enables(state).fullScreen);
}

void FilesCentralWidget::updateLastDir()
{
    Settings::instance()->general()->setLastDir(m_navigation->current().path());
    Settings::sync();
}
