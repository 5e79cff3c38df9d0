#pragma once

#include "document/actionrules.h"
#include "view/quickedits.h"

#include <QObject>
#include <QPointer>
#include <QVector>

#include <array>

class ImageWindowActions;
class ImagesCentralWidget;
class MetaInfoWidget;
class QLabel;
class QModelIndex;
class QStatusBar;
class SPicView;
class ThumbnailsBar;

// Ties the image window to its current picture view: the view's signals go to the status
// labels, the thumbnails bar and the actions, and the edit actions act on that view.
class CurrentViewBinding : public QObject
{
    Q_OBJECT

public:
    enum class StatusLabel { Browse, Image, File, Zoom, Pointer, Mark };
    static constexpr int statusLabelCount = 6;

    // The labels are the window's children; they live in the status bar while attached.
    CurrentViewBinding(ImagesCentralWidget* window, ImageWindowActions* actions,
                       ThumbnailsBar* thumbnailsBar, MetaInfoWidget* metaInfo);
    ~CurrentViewBinding() override;

    SPicView* view() const;
    ActionRules::State state() const;
    QLabel* statusLabel(StatusLabel label) const;

    // Nothing is wired and no action follows the view while no main window is attached.
    void setMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }
    void attachStatusBar(QStatusBar* statusBar);
    // The labels outlive the status bar the main window destroys.
    void detachStatusBar();

    // Follows a placed view's model and notices its closing, current or not.
    void watch(SPicView* view);
    void setView(QWidget* widget);
    // Only what setView made: the link watch made for the file model stays, so the thumbnails
    // bar follows the view's next model when it is current again.
    void release();

    void updateActions();
    // Every action's enabled state from one snapshot of the current picture and the clipboard.
    void refreshActions();
    void setDelay(int seconds);
    void showModel(QWidget* picView);

    void undo();
    void redo();
    void copy();
    void cut();
    void paste();
    void reload();
    void quickEdit(QuickEdits::Kind kind);

private:
    void clipboardChanged();
    void followMetadata();
    void connectView(SPicView* view);
    void viewModelChanged(QWidget* view);
    void viewClosed(QWidget* view);
    void thumbnailChosen(const QModelIndex& index);

    ImagesCentralWidget* m_window;
    ImageWindowActions* m_actions;
    ThumbnailsBar* m_thumbnailsBar;
    QPointer<MetaInfoWidget> m_metaInfo;
    // Held as a widget: a QPointer<QMainWindow> would be cast while the window is half destroyed.
    QPointer<QWidget> m_mainWindow;
    QPointer<QStatusBar> m_statusBar;
    std::array<QPointer<QLabel>, statusLabelCount> m_statusLabels;

    QPointer<SPicView> m_view;
    // Kept from the last change: asking the clipboard is slow, and a selection drag refreshes
    // the actions at every step.
    bool m_clipboardHasImage = false;
    QVector<QMetaObject::Connection> m_viewConnections;
};
