#pragma once

#include <QMdiArea>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QVector>

class QMdiSubWindow;
class SPicView;

// Full-width bands stacked from the top, one per window: each is at least height / count high,
// or as high as the window needs (its minimum plus base height). Bands are not clipped to the
// area, so windows that need more than their share push the later bands further down.
QVector<QRect> horizontalBands(int width, int height, const QVector<int>& neededHeights);

// What a tab and the Windows menu call a picture: its file's name, marked while changed, and the
// whole path as the tooltip, so that many fit side by side. A picture without a file goes by its
// window title.
struct WindowLabel
{
    QString text;
    QString toolTip;
};
WindowLabel windowLabel(const QString& filePath, const QString& title, bool modified);

// The area of the image window that holds every open picture view in a sub-window or a tab,
// with single-window mode, its own arrangements, full screen for the current view, and drops of
// local files.
class SWorkspace : public QMdiArea
{
    Q_OBJECT

public:
    // How a round of closing sub-windows ended; a cancelled question ends it at once.
    enum class CloseResult
    {
        AllClosed,
        SomeKept,
        Cancelled
    };
    enum class OnKept
    {
        Stop,
        AskTheRest
    };

    explicit SWorkspace(QWidget* parent = nullptr);
    ~SWorkspace() override;

    // Asks every sub-window to close, one at a time in creation order. A question's event loop
    // may add windows, which are asked too, or close some, which are then not touched again.
    CloseResult closeSubWindowsInTurn(OnKept onKept);

    // None when single-window mode is on and an open picture refused to close.
    QMdiSubWindow* addPicView(SPicView* view, Qt::WindowFlags flags = Qt::WindowFlags());
    void normalizeSubWindows();

    bool singleWindowMode() const { return m_singleWindowMode; }
    // The label of a sub-window's picture; the title alone for a window without one.
    static WindowLabel labelOf(const QMdiSubWindow* window);

signals:
    void listDropped(const QStringList& files);
    void windowActivated(QWidget* view);
    void fullScreenPicClosed();
    void exitFullScreenRequested();

public slots:
    void hTile();
    void minimize();
    void my_tile();
    void my_cascade();
    void setFullscreen(bool enable);
    void setSingleWindowMode(bool enable);
    void setTabbedMode(bool enable);
    void slotSubWindowActivated(QMdiSubWindow* subWindow);
    void slotFullScreenPicClosed();
    void closeTab(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Where a sub-window stood before tabs, kept as area coordinates: restoreGeometry would
    // take them for screen coordinates and push windows near the top edge down. Guarded, so a
    // window closed while tabbed never hands its place to a newcomer at the same address.
    struct SavedGeometry
    {
        QPointer<QMdiSubWindow> window;
        QRect geometry;
        Qt::WindowStates state;
    };

    void prepareArrangement();
    // The area names tabs by the whole window title; ours go by the picture's label. Only that
    // window's tab, when one is given.
    void relabelTabs(const QMdiSubWindow* only = nullptr);
    void leaveFullScreen();
    static void restore(const SavedGeometry& saved);

    bool m_singleWindowMode = false;
    QVector<SavedGeometry> m_savedGeometries;
    QPointer<QMdiSubWindow> m_fullScreenSubWindow;
    QPointer<SPicView> m_fullScreenPicView;
    QPointer<QMdiSubWindow> m_lastActivated;
};
