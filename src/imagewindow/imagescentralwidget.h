#pragma once

#include "view/sharedactions.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <memory>

class CurrentViewBinding;
class FullscreenPanel;
class ImageFileCommands;
class ImageWindowActions;
class LumoSplitter;
class MetaInfoWidget;
class QAction;
class QDockWidget;
class QImage;
class QMainWindow;
class QMenu;
class QPrinter;
class QSizeF;
class RecentFiles;
class SPicView;
class SWorkspace;
class ThumbnailsBar;

// The image window: the workspace of picture views with the thumbnails bar and the metadata
// dock. It hangs its menus, bars and status bar on the main window only while images mode is
// shown; its actions, the binding of the current picture and the file commands are its parts,
// and its slots hand each piece of work to the part that does it.
class ImagesCentralWidget : public QWidget
{
    Q_OBJECT

public:
    // The actions and the list outlive this window; the main window makes them first.
    ImagesCentralWidget(SharedActions* actions, RecentFiles* recentFiles, QMenu* helpMenu,
                        QMainWindow* mainWindow, QWidget* parent = nullptr);
    ~ImagesCentralWidget() override;

    // Attaches menus, tool bars, dock and status bar to the window; none detaches them.
    void setMainWindow(QMainWindow* mainWindow);

    void setTabletMode(bool on);

    // Lifts the current picture out full screen with the sliding panel, or puts it back.
    void setFullScreen(bool on);

    SPicView* currentView() const;
    SWorkspace* workspace() const { return m_workspace; }
    ThumbnailsBar* thumbnailsBar() const { return m_thumbnailsBar; }
    MetaInfoWidget* metaInfoWidget() const;
    FullscreenPanel* fullscreenPanel() const { return m_panel.get(); }
    QAction* thumbnailsBarAction() const { return m_thumbnailsBarAction; }
    ImageWindowActions* windowActions() const { return m_windowActions; }
    CurrentViewBinding* viewBinding() const { return m_binding.get(); }

public slots:
    void settingsDlg();
    void updateFileMenu();
    void openDlg();
    void saveAsDlg();
    void save();
    void removeImageFile();
    void setPVConnections(QWidget* widget);
    // Opens the recent file whose position the triggering entry carries.
    void loadLast();
    void postCreateWindowMenu();
    void postCreateImageMenu();
    void newDlg();
    void quitAction_triggered();
    void delay_changed(int seconds);
    void changeWallpaper();
    void activateSubWindow(QAction* action);
    void showSelectionContextMenu(const QPoint& globalPos);
    void showPictureContextMenu(const QPoint& globalPos);
    void updateThumbnailsBar(QWidget* picView);
    void slotFullScreenPicClosed();
    void slotExitFullScreen();
    void updateActionsAccessibility();
    void openFileList(const QStringList& fileList);
    void scanSlot();
    void printDlg();
    void printImageWithPrinterSize(QPrinter* printer, const QImage& image, const QSizeF& size);
    void newPVFromFile(const QString& filePath);
    void newPVFromList(const QStringList& list);
    void newPVFromImage(const QImage& image);
    void undoSlot();
    void redoSlot();
    void copySlot();
    void cutSlot();
    void pasteSlot();
    void reloadSlot();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* shared(SharedActions::Index index) const { return m_actions->at(index); }
    void attach(QMainWindow* mainWindow);
    void detach();
    void saveSettings();

    std::unique_ptr<SPicView> newPicView() const;
    // False when the workspace refused it (an open picture would not close).
    bool placePicView(SPicView* view);
    // The view once the workspace took it; a view it refused goes away. One that arrives while
    // another is being placed waits its turn, and then nullptr is returned.
    SPicView* place(std::unique_ptr<SPicView> view);
    SPicView* placeNow(std::unique_ptr<SPicView> view);
    // Makes the main window show images mode before a picture arrives.
    void switchToImagesMode();
    QList<SPicView*> picViews() const;
    // Asks about every changed picture, then closes them all; false when the user stays.
    bool closeAllPictures();
    bool quitWithoutSaving();

    SharedActions* m_actions;
    RecentFiles* m_recentFiles;
    QPointer<QMenu> m_helpMenu;
    // Held as a widget: a QPointer<QMainWindow> would be cast while the window is half destroyed.
    QPointer<QWidget> m_mainWindow;
    // The window whose title changes re-read the metadata; set at construction.
    QPointer<QWidget> m_titleWindow;

    LumoSplitter* m_splitter = nullptr;
    SWorkspace* m_workspace = nullptr;
    ThumbnailsBar* m_thumbnailsBar = nullptr;
    QAction* m_thumbnailsBarAction = nullptr;
    // The dock lives in the main window while attached and may go before us.
    QPointer<QDockWidget> m_metaInfoDock;
    QPointer<MetaInfoWidget> m_metaInfo;

    ImageWindowActions* m_windowActions = nullptr;
    std::unique_ptr<CurrentViewBinding> m_binding;
    ImageFileCommands* m_files = nullptr;
    std::unique_ptr<FullscreenPanel> m_panel;

    bool m_placing = false;
    std::deque<std::unique_ptr<SPicView>> m_waitingViews;
    bool m_tabletMode = false;
    bool m_closeAnswered = false;
};
