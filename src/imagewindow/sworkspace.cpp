#include "imagewindow/sworkspace.h"

#include "view/spicview.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTabBar>
#include <QUrl>

#include <algorithm>

QVector<QRect> horizontalBands(int width, int height, const QVector<int>& neededHeights)
{
    QVector<QRect> bands;
    if (neededHeights.isEmpty())
        return bands;
    const int share = height / neededHeights.size();
    int y = 0;
    for (int needed : neededHeights) {
        const int bandHeight = std::max(share, needed);
        bands.append(QRect(0, y, width, bandHeight));
        y += bandHeight;
    }
    return bands;
}

WindowLabel windowLabel(const QString& filePath, const QString& title, bool modified)
{
    if (filePath.isEmpty())
        return {title, QString()};
    const QString name = QFileInfo(filePath).fileName();
    return {modified ? name + QStringLiteral(" *") : name, filePath};
}

WindowLabel SWorkspace::labelOf(const QMdiSubWindow* window)
{
    const auto* view = qobject_cast<const SPicView*>(window->widget());
    if (!view)
        return {window->windowTitle(), QString()};
    return windowLabel(view->filePath(), window->windowTitle(), view->isModified());
}

SWorkspace::SWorkspace(QWidget* parent) : QMdiArea(parent)
{
    setAcceptDrops(true);
    connect(this, &QMdiArea::subWindowActivated, this, &SWorkspace::slotSubWindowActivated);
}

SWorkspace::~SWorkspace()
{
    // The base destructor still announces activations while it tears the sub-windows down.
    disconnect(this, &QMdiArea::subWindowActivated, this, &SWorkspace::slotSubWindowActivated);
    // A view still out for full screen is a top-level window nobody else owns. It goes now,
    // as the sub-windows will: putting it back would show it, move it between windows and
    // run its code while whoever holds the workspace may be half torn down.
    if (SPicView* view = m_fullScreenPicView) {
        m_fullScreenPicView.clear();
        m_fullScreenSubWindow.clear();
        view->disconnect(this);
        delete view;
    }
}

SWorkspace::CloseResult SWorkspace::closeSubWindowsInTurn(OnKept onKept)
{
    // Guarded: a window deleted meanwhile must not match a newcomer at its address.
    QList<QPointer<QMdiSubWindow>> asked;
    CloseResult result = CloseResult::AllClosed;
    for (;;) {
        // Read anew every time: the last question may have changed the list.
        const QList<QMdiSubWindow*> windows = subWindowList(QMdiArea::CreationOrder);
        const auto next =
            std::find_if(windows.cbegin(), windows.cend(),
                         [&asked](QMdiSubWindow* candidate) { return !asked.contains(candidate); });
        if (next == windows.cend())
            return result;
        QMdiSubWindow* window = *next;
        asked.append(window);
        const QPointer<SPicView> view = qobject_cast<SPicView*>(window->widget());
        if (window->close())
            continue;
        if (view && view->closeCancelled())
            return CloseResult::Cancelled;
        result = CloseResult::SomeKept;
        if (onKept == OnKept::Stop)
            return result;
    }
}

QMdiSubWindow* SWorkspace::addPicView(SPicView* view, Qt::WindowFlags flags)
{
    if (m_singleWindowMode && closeSubWindowsInTurn(OnKept::Stop) != CloseResult::AllClosed)
        return nullptr;
    QMdiSubWindow* window = addSubWindow(view, flags);
    window->setWindowIcon(QIcon::fromTheme(QStringLiteral("image-x-generic"), QIcon()));
    relabelTabs();
    return window;
}

void SWorkspace::normalizeSubWindows()
{
    if (viewMode() == QMdiArea::TabbedView)
        return;
    const QList<QMdiSubWindow*> windows = subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* window : windows) {
        if (window->isMaximized())
            window->showNormal();
    }
}

void SWorkspace::prepareArrangement()
{
    if (QMdiSubWindow* active = activeSubWindow())
        active->showNormal();
    const QList<QMdiSubWindow*> windows = subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* window : windows) {
        if (window->isMaximized()) {
            // Hiding first lets the area drop its maximised layout before the window comes back.
            window->hide();
            window->showNormal();
        } else if (window->isMinimized()) {
            window->showNormal();
        }
    }
}

void SWorkspace::hTile()
{
    const QList<QMdiSubWindow*> windows = subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    prepareArrangement();
    QVector<int> needed;
    needed.reserve(windows.size());
    for (QMdiSubWindow* window : windows)
        needed.append(window->minimumHeight() + window->baseSize().height());
    const QSize area = viewport()->size();
    const QVector<QRect> bands = horizontalBands(area.width(), area.height(), needed);
    for (int i = 0; i < windows.size(); ++i)
        windows.at(i)->setGeometry(bands.at(i));
}

void SWorkspace::minimize()
{
    const QList<QMdiSubWindow*> windows = subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* window : windows)
        window->showMinimized();
}

void SWorkspace::my_tile()
{
    prepareArrangement();
    if (!subWindowList().isEmpty())
        tileSubWindows();
}

void SWorkspace::my_cascade()
{
    prepareArrangement();
    if (!subWindowList().isEmpty())
        cascadeSubWindows();
}

void SWorkspace::setFullscreen(bool enable)
{
    if (!enable) {
        leaveFullScreen();
        return;
    }
    if (m_fullScreenPicView)
        return;
    QMdiSubWindow* window = currentSubWindow();
    if (!window)
        return;
    auto* view = qobject_cast<SPicView*>(window->widget());
    if (!view)
        return;
    // Remembered before the view moves, so the activations its move causes are not reported.
    m_fullScreenSubWindow = window;
    m_fullScreenPicView = view;
    window->setWidget(nullptr);
    connect(view, &SPicView::fullScreenPicClosed, this, &SWorkspace::slotFullScreenPicClosed);
    connect(view, &SPicView::exitFullScreenRequested, this, &SWorkspace::exitFullScreenRequested);
    view->setFullScreenMode(true);
    view->showFullScreen();
}

void SWorkspace::leaveFullScreen()
{
    const QPointer<SPicView> view = m_fullScreenPicView;
    const QPointer<QMdiSubWindow> window = m_fullScreenSubWindow;
    m_fullScreenPicView.clear();
    m_fullScreenSubWindow.clear();
    if (!view)
        return;
    disconnect(view, &SPicView::fullScreenPicClosed, this, &SWorkspace::slotFullScreenPicClosed);
    disconnect(view, &SPicView::exitFullScreenRequested, this,
               &SWorkspace::exitFullScreenRequested);
    view->setFullScreenMode(false);
    // Out of full screen while still out of the sub-window and hidden: a sub-window follows
    // its widget's state changes and would show itself normal, and a shown top-level window
    // would flash up at its normal size.
    view->hide();
    view->setWindowState(view->windowState() & ~Qt::WindowFullScreen);
    // A closed sub-window lingers until its deferred deletion; it must not take the view along.
    if (window && subWindowList().contains(window)) {
        window->setWidget(view);
    } else {
        // Its sub-window went away meanwhile; the picture still deserves a place.
        addSubWindow(view)->show();
    }
    view->show();
}

void SWorkspace::setSingleWindowMode(bool enable)
{
    m_singleWindowMode = enable;
}

void SWorkspace::setTabbedMode(bool enable)
{
    const ViewMode wanted = enable ? QMdiArea::TabbedView : QMdiArea::SubWindowView;
    if (viewMode() == wanted)
        return;
    const QList<QMdiSubWindow*> windows = subWindowList(QMdiArea::CreationOrder);
    if (enable) {
        m_savedGeometries.clear();
        for (QMdiSubWindow* window : windows)
            m_savedGeometries.append({window, window->geometry(), window->windowState()});
        setViewMode(QMdiArea::TabbedView);
        if (auto* tabBar = findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly)) {
            tabBar->setTabsClosable(true);
            tabBar->setUsesScrollButtons(true);
            // The area closes a tab's window by itself too; with both, one click on a tab's
            // close button would also close the window that moved into its place.
            disconnect(tabBar, &QTabBar::tabCloseRequested, this, nullptr);
            connect(tabBar, &QTabBar::tabCloseRequested, this, &SWorkspace::closeTab);
        }
        relabelTabs();
        return;
    }
    setViewMode(QMdiArea::SubWindowView);
    for (const SavedGeometry& saved : qAsConst(m_savedGeometries)) {
        if (saved.window && windows.contains(saved.window))
            restore(saved);
    }
    m_savedGeometries.clear();
}

void SWorkspace::relabelTabs(const QMdiSubWindow* only)
{
    auto* tabBar = findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    if (!tabBar || viewMode() != QMdiArea::TabbedView)
        return;
    // The tabs stand in the windows' creation order.
    const QList<QMdiSubWindow*> windows = subWindowList(QMdiArea::CreationOrder);
    for (int i = 0; i < windows.size() && i < tabBar->count(); ++i) {
        if (only && windows.at(i) != only)
            continue;
        // Each change lays the whole bar out again.
        const WindowLabel label = labelOf(windows.at(i));
        if (tabBar->tabText(i) != label.text)
            tabBar->setTabText(i, label.text);
        if (tabBar->tabToolTip(i) != label.toolTip)
            tabBar->setTabToolTip(i, label.toolTip);
    }
}

bool SWorkspace::eventFilter(QObject* watched, QEvent* event)
{
    const bool filtered = QMdiArea::eventFilter(watched, event);
    // After the area, which has just named the tab by the title.
    if (event->type() == QEvent::WindowTitleChange) {
        if (auto* window = qobject_cast<QMdiSubWindow*>(watched))
            relabelTabs(window);
    }
    return filtered;
}

void SWorkspace::restore(const SavedGeometry& saved)
{
    QMdiSubWindow* window = saved.window;
    if (saved.state & Qt::WindowMaximized) {
        window->showMaximized();
    } else if (saved.state & Qt::WindowMinimized) {
        window->showMinimized();
    } else {
        if (window->isMaximized() || window->isMinimized())
            window->showNormal();
        window->setGeometry(saved.geometry);
    }
}

void SWorkspace::slotSubWindowActivated(QMdiSubWindow* subWindow)
{
    if (m_fullScreenPicView)
        return;
    if (subWindow) {
        m_lastActivated = subWindow;
        emit windowActivated(subWindow->widget());
        return;
    }
    QMdiSubWindow* current = currentSubWindow();
    if (m_lastActivated == current)
        return;
    m_lastActivated = current;
    if (current)
        emit windowActivated(current->widget());
}

void SWorkspace::slotFullScreenPicClosed()
{
    const QPointer<QMdiSubWindow> window = m_fullScreenSubWindow;
    m_fullScreenPicView.clear();
    m_fullScreenSubWindow.clear();
    if (window)
        window->close();
    emit fullScreenPicClosed();
}

void SWorkspace::closeTab(int index)
{
    const QList<QMdiSubWindow*> windows = subWindowList(QMdiArea::CreationOrder);
    if (index >= 0 && index < windows.size())
        windows.at(index)->close();
}

void SWorkspace::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void SWorkspace::dropEvent(QDropEvent* event)
{
    QStringList files;
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl& url : urls) {
        if (url.scheme() == QLatin1String("file"))
            files.append(url.toLocalFile());
    }
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    emit listDropped(files);
}
