#include "app/mainwindow.h"

#include "imagewindow/imagescentralwidget.h"
#include "imagewindow/imagewindowactions.h"
#include "platformwidgets/lumogeometry.h"
#include "platformwidgets/lumohelpmenu.h"
#include "platformwidgets/lumotabletmode.h"
#include "settings/settings.h"
#include "shell/filescentralwidget.h"
#include "view/spicview.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QScreen>
#include <QSettings>
#include <QStackedWidget>

#include <algorithm>

namespace {

// Without a screen to measure.
constexpr int kFallbackWidth = 600;
constexpr int kFallbackHeight = 400;

QIcon themeIcon(const char* name)
{
    return QIcon::fromTheme(QLatin1String(name), QIcon());
}

} // namespace

MainWindow::MainWindow(const QString& startDirectory, QWidget* parent) : QMainWindow(parent)
{
    connect(fullScreenAction(), &QAction::triggered, this, &MainWindow::fullscreenAction_triggered);
    auto* helpMenu = new LumoHelpMenu(this);

    m_stack = std::make_unique<QStackedWidget>(this);
    m_imagesWidget =
        new ImagesCentralWidget(&m_actions, &m_recentFiles, helpMenu, this, m_stack.get());
    m_filesWidget = new FilesCentralWidget(startDirectory, &m_actions, &m_recentFiles, helpMenu,
                                           m_stack.get());
    connect(m_filesWidget, &FilesCentralWidget::imageActivated, this,
            &MainWindow::openImageOnActivation);
    connect(m_filesWidget, &FilesCentralWidget::imagesActivated, m_imagesWidget,
            &ImagesCentralWidget::openFileList);
    connect(m_filesWidget, &FilesCentralWidget::recentFileChosen, m_imagesWidget,
            &ImagesCentralWidget::newPVFromFile);

    m_stack->addWidget(m_filesWidget);
    m_stack->addWidget(m_imagesWidget);
    setCentralWidget(m_stack.get());
    m_filesWidget->setMainWindow(this);
    connect(filesAction(), &QAction::toggled, this, &MainWindow::showFilesWindow);

    setWindowTitle(tr("lumo-image"));
    setWindowIconText(windowTitle());
    restoreWindowState();
    checkTabletMode();
    m_stack->setFocus();

    // "&Quit" ends the event loop without closing this window.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &MainWindow::saveOnQuit);
}

MainWindow::~MainWindow()
{
    // Menus, bars and dock go home while every widget is whole.
    m_filesWidget->setMainWindow(nullptr);
    m_imagesWidget->setMainWindow(nullptr);
}

QSize MainWindow::defaultSize(const QSize& available, int toolBarsWidth)
{
    const QSize third = available * 2 / 3;
    return {std::min(available.width(), std::max(third.width(), toolBarsWidth)), third.height()};
}

void MainWindow::restoreWindowState()
{
    QSettings settings;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize fallback(kFallbackWidth, kFallbackHeight);
    // Tool bars cut short hide their last buttons behind a chevron a new user may not find.
    const QSize size = screen ? defaultSize(screen->availableGeometry().size(),
                                            m_imagesWidget->windowActions()->toolBarsWidth())
                              : fallback;
    lumoRestoreGeometry(this, settings, size, false);

    const Settings::WindowState* state = Settings::instance()->windowState();
    m_filesLayout = state->filesWindowState();
    m_imagesLayout = state->imagesWindowState();
    restoreState(m_filesLayout);
}

void MainWindow::saveWindowState()
{
    QSettings settings;
    lumoSaveGeometry(this, settings, false);

    (isFilesMode() ? m_filesLayout : m_imagesLayout) = saveState();
    Settings::WindowState* state = Settings::instance()->windowState();
    bool stored = false;
    if (!m_filesLayout.isEmpty()) {
        state->setFilesWindowState(m_filesLayout);
        stored = true;
    }
    if (!m_imagesLayout.isEmpty()) {
        state->setImagesWindowState(m_imagesLayout);
        stored = true;
    }
    if (stored)
        Settings::sync();
}

bool MainWindow::isFilesMode() const
{
    return m_stack->currentWidget() == m_filesWidget;
}

void MainWindow::showFilesWindow(bool enable)
{
    if (enable) {
        if (isFilesMode())
            return;
        m_imagesLayout = saveState();
        // The user comes back to browse around the picture they were looking at.
        if (const SPicView* view = m_imagesWidget->currentView()) {
            if (!view->filePath().isEmpty())
                m_filesWidget->showFolderOf(view->filePath());
        }
        m_imagesWidget->setMainWindow(nullptr);
        m_filesWidget->setMainWindow(this);
        restoreState(m_filesLayout);
        m_stack->setCurrentWidget(m_filesWidget);
        return;
    }
    if (m_stack->currentWidget() == m_imagesWidget)
        return;
    m_filesLayout = saveState();
    m_filesWidget->setMainWindow(nullptr);
    m_imagesWidget->setMainWindow(this);
    restoreState(m_imagesLayout);
    m_stack->setCurrentWidget(m_imagesWidget);
}

void MainWindow::fullscreenAction_triggered(bool on)
{
    if (on) {
        fullScreenAction()->setIcon(themeIcon("view-restore"));
        m_filesModeBeforeFullscreen = filesAction()->isChecked();
        // Opening switches to images mode, where the picture can be lifted out.
        if (m_filesModeBeforeFullscreen)
            m_imagesWidget->newPVFromFile(m_filesWidget->currentFilePath());
    } else {
        fullScreenAction()->setIcon(themeIcon("view-fullscreen"));
        (m_filesModeBeforeFullscreen ? filesAction() : imagesAction())->setChecked(true);
    }
    m_imagesWidget->setFullScreen(on);
}

void MainWindow::openImageOnActivation(const QString& filePath)
{
    // On a tablet an activated picture fills the screen; full screen opens the current file.
    if (m_tabletMode && !fullScreenAction()->isChecked()) {
        fullScreenAction()->trigger();
        return;
    }
    m_imagesWidget->newPVFromFile(filePath);
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // The desktop announces a switch of its tablet mode as a style change.
    if (event->type() == QEvent::StyleChange)
        checkTabletMode();
}

void MainWindow::checkTabletMode()
{
    const bool tablet = lumoInTabletMode();
    if (tablet == m_tabletMode)
        return;
    m_tabletMode = tablet;
    m_imagesWidget->setTabletMode(tablet);
    m_filesWidget->setTabletMode(tablet);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A picture out full screen goes back to its window first, or it would miss its question.
    if (fullScreenAction()->isChecked())
        fullScreenAction()->trigger();
    // The same questions as "&Quit": each modified picture, then whether to lose them.
    QCloseEvent picturesClose;
    QCoreApplication::sendEvent(m_imagesWidget, &picturesClose);
    if (!picturesClose.isAccepted()) {
        event->ignore();
        return;
    }
    saveWindowState();
    QMainWindow::closeEvent(event);
}

void MainWindow::saveOnQuit()
{
    // A window closed by the user has saved itself already.
    if (isVisible())
        saveWindowState();
}
