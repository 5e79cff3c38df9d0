#pragma once

#include "platform/lumofm/entry.h"
#include "view/sharedactions.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>

class ImageFileSelector;
class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QSlider;
class QToolBar;
class RecentFiles;
class RecentFilesMenu;

namespace LumoFM {
class Navigation;
} // namespace LumoFM

// Files mode: the directory tree and the thumbnails of the current directory, with the menus and
// tool bars that hang on the main window while this mode is shown.
class FilesCentralWidget : public QWidget
{
    Q_OBJECT

public:
    // The actions and the recent files outlive this widget; the main window makes them first.
    FilesCentralWidget(const QString& startPath, SharedActions* actions, RecentFiles* recentFiles,
                       QMenu* helpMenu, QWidget* parent = nullptr);
    ~FilesCentralWidget() override;

    // Puts the menus and tool bars on the window; null takes them off the current one.
    void setMainWindow(QMainWindow* mainWindow);

    QString currentFilePath() const;
    void setTabletMode(bool on);

    // Where browsing starts: the given path, else the remembered one, as long as it is still a
    // directory; otherwise the desktop, and the home directory when there is no desktop either.
    static LumoFM::Entry startEntry(const QString& startPath, const QString& lastDir);

    LumoFM::Navigation* navigation() const { return m_navigation; }
    ImageFileSelector* selector() const { return m_selector; }
    QSlider* sizeSlider() const;
    QAction* iconsAction() const { return m_iconsAction; }
    QAction* listAction() const { return m_listAction; }
    QMenu* fileMenu() const { return m_fileMenu; }
    // In the order they go on the window: switch, view options, navigation.
    QList<QToolBar*> toolBars() const;

signals:
    void imageActivated(const QString& imageFilePath);
    void imagesActivated(const QStringList& imageFilePaths);
    // A recent-files entry of the File menu: the image window opens it.
    void recentFileChosen(const QString& path);

public slots:
    void updateFileMenu();
    void goHome();
    // Browses the folder the file is in; a file in the folder shown already changes nothing.
    void showFolderOf(const QString& filePath);
    void setIconViewMode(bool iconMode);
    void updateFullScreenAccessibility();
    void updateLastDir();

private:
    QAction* shared(SharedActions::Index index) const { return m_actions->at(index); }
    void createFileMenu(RecentFiles* recentFiles);
    void createViewMenu();
    void createToolBars();
    void createViewOptionsBar();
    void createNavigationBar();
    QToolBar* createToolBar(const QString& title, const QString& objectName);
    void attach(QMainWindow* mainWindow);
    void detach();
    void saveSettings();

    SharedActions* m_actions;
    QPointer<QMenu> m_helpMenu;
    LumoFM::Navigation* m_navigation;
    ImageFileSelector* m_selector = nullptr;
    QMenu* m_fileMenu = nullptr;
    RecentFilesMenu* m_recentFilesMenu = nullptr;
    std::unique_ptr<QMenu> m_viewMenu;
    QActionGroup* m_viewModeGroup = nullptr;
    QAction* m_iconsAction = nullptr;
    QAction* m_listAction = nullptr;
    // The bars live in the main window while attached and come back here when detached.
    QPointer<QToolBar> m_switchBar;
    QPointer<QToolBar> m_optionsBar;
    QPointer<QToolBar> m_navigationBar;
    QPointer<QSlider> m_sizeSlider;
    QPointer<QMainWindow> m_mainWindow;
};
