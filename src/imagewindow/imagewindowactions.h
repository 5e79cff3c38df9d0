#pragma once

#include "document/actionrules.h"
#include "view/quickedits.h"
#include "view/sharedactions.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <array>
#include <memory>

class GoActions;
class ImagesCentralWidget;
class QAction;
class QActionGroup;
class QMenu;
class QPoint;
class QSpinBox;
class RecentFiles;
class RecentFilesMenu;
class QToolBar;
class SPicView;
class SWorkspace;
class ZoomActions;

// The image window's actions, menus, tool bars and context menus. The shared actions are handed
// in, the edit actions made here; one table connects both to the window's slots, and which of
// them are usable is ActionRules' business.
class ImageWindowActions : public QObject
{
    Q_OBJECT

public:
    enum class Edit { Undo, Redo, Copy, Cut, Paste, Reload };

    // Connects the shared actions to the window and makes the edit, navigation and zoom
    // actions; the menus and bars follow in buildMenus.
    ImageWindowActions(ImagesCentralWidget* window, SharedActions* actions,
                       RecentFiles* recentFiles, SWorkspace* workspace);
    ~ImageWindowActions() override;

    // The thumbnails bar's and the metadata dock's toggles belong to the window's layout.
    void buildMenus(QAction* thumbnailsBarAction, QAction* metaInfoAction);

    QAction* shared(SharedActions::Index index) const { return m_actions->at(index); }
    QAction* edit(Edit which) const { return m_edit[static_cast<std::size_t>(which)]; }
    QActionGroup* editGroup() const { return m_editGroup; }
    // The Image menu's one-step edits: kept between showings, so their keys work unseen.
    QAction* quickEdit(QuickEdits::Kind kind) const
    {
        return m_quickEdits[static_cast<std::size_t>(kind)];
    }
    QList<QAction*> quickEdits() const;
    QAction* pasteAsNew() const { return m_pasteAsNew; }
    GoActions* goActions() const { return m_goActions; }
    ZoomActions* zoomActions() const { return m_zoomActions; }
    RecentFilesMenu* recentFilesMenu() const { return m_recentFilesMenu; }
    QSpinBox* delaySpinBox() const;

    QAction* singleWindowAction() const { return m_singleWindowAction; }
    QAction* tabbedAction() const { return m_tabbedAction; }
    QActionGroup* arrangementGroup() const { return m_arrangementGroup; }
    QActionGroup* windowListGroup() const { return m_windowListGroup; }

    QMenu* fileMenu() const { return m_fileMenu.get(); }
    QMenu* imageMenu() const { return m_imageMenu.get(); }
    QMenu* windowsMenu() const { return m_windowsMenu.get(); }
    // In the order the main window's menu bar shows them.
    QList<QMenu*> menus() const;
    QList<QToolBar*> toolBars() const;
    // What the tool bars take side by side at their preferred sizes.
    int toolBarsWidth() const;

    // The group first: an action of a disabled group stays disabled whatever it is told.
    void applyRules(const ActionRules::Enables& enables);
    // The adjustment dialogs act on view, the picture current when the menu showed.
    void rebuildImageMenu(SPicView* view, const ActionRules::Enables& enables);
    void rebuildWindowMenu(bool hasView);
    // A window's entry in the Windows menu: numbered from 1 after its position, the number
    // being the key of the first nine.
    static QString windowEntryText(int position, const QString& label);
    void activateSubWindow(QAction* action);
    void showPictureContextMenu(const QPoint& globalPos);
    void showSelectionContextMenu(const QPoint& globalPos);

private:
    void createActions();
    void createQuickEdits();
    void applyQuickEditRules(const ActionRules::Enables& enables);
    void createFileMenu();
    void createEditMenu();
    void createViewMenu(QAction* thumbnailsBarAction, QAction* metaInfoAction);
    void createGoMenu();
    void createWindowsMenu();
    void createImageMenu();
    void createToolBars();
    QToolBar* createToolBar(const QString& title, const QString& objectName);
    void runContextMenu(const QList<QAction*>& actions, const QPoint& globalPos);

    ImagesCentralWidget* m_window;
    SharedActions* m_actions;
    RecentFiles* m_recentFiles;
    SWorkspace* m_workspace;
    QAction* m_thumbnailsBarAction = nullptr;
    QAction* m_metaInfoAction = nullptr;

    QActionGroup* m_editGroup = nullptr;
    std::array<QAction*, 6> m_edit{};
    std::array<QAction*, QuickEdits::kindCount> m_quickEdits{};
    QAction* m_pasteAsNew = nullptr;
    GoActions* m_goActions = nullptr;
    ZoomActions* m_zoomActions = nullptr;
    RecentFilesMenu* m_recentFilesMenu = nullptr;

    std::unique_ptr<QMenu> m_fileMenu;
    std::unique_ptr<QMenu> m_editMenu;
    std::unique_ptr<QMenu> m_viewMenu;
    QMenu* m_goMenu = nullptr;
    std::unique_ptr<QMenu> m_imageMenu;
    std::unique_ptr<QMenu> m_windowsMenu;
    QAction* m_singleWindowAction = nullptr;
    QAction* m_tabbedAction = nullptr;
    QActionGroup* m_arrangementGroup = nullptr;
    QAction* m_closeAllAction = nullptr;
    QActionGroup* m_windowListGroup = nullptr;

    // Bars live in the main window while attached and may go before us.
    QPointer<QToolBar> m_switchToolBar;
    QPointer<QToolBar> m_editToolBar;
    QPointer<QToolBar> m_slideToolBar;
    QPointer<QToolBar> m_zoomToolBar;
    QPointer<QSpinBox> m_delaySpinBox;
};
