#include "fullscreen/fullscreenpicview.h"

#include "fullscreen/fullscreenpanel.h"
#include "platformwidgets/lumotabletmode.h"
#include "settings/settings.h"
#include "view/goactions.h"
#include "view/sharedfilesystemmodel.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QEvent>
#include <QFileSystemModel>
#include <QIcon>
#include <QScreen>

FullscreenPicView::FullscreenPicView()
    : SPicView(Settings::instance()->imagesCentralWidget()->slideDelay())
    , m_exitAction(new QAction(QIcon::fromTheme(QStringLiteral("application-exit"), QIcon()),
                               tr("Exit"), this))
    , m_goActions(new GoActions(this))
    , m_zoomActions(new ZoomActions(this))
{
    // The base constructor could only read the image window's zoom mode.
    setCurrentZoomMode(zoomMode());
    // The start-up keeps the view until the event loop has returned.
    setAttribute(Qt::WA_DeleteOnClose, false);

    // No shortcut of its own: the view's Esc shortcut already leads here, and two would clash.
    connect(m_exitAction, &QAction::triggered, this, &QWidget::close);
    connect(this, &SPicView::toggleFullScreenRequested, m_exitAction, &QAction::trigger);
    connect(this, &SPicView::exitFullScreenRequested, m_exitAction, &QAction::trigger);

    addActions(m_goActions->actions());
    addActions(m_zoomActions->actions());
    m_goActions->setPicView(this);
    // Both follow this view's state by themselves from here on.
    m_zoomActions->setPicView(this);

    m_panel = new FullscreenPanel(m_exitAction, m_goActions, m_zoomActions, this);
    setFullScreenMode(true);
    followTabletMode();
}

void FullscreenPicView::open(const QStringList& files)
{
    // Without a window manager the full-screen state alone leaves a small window; bare X
    // sessions run slideshows too.
    if (QScreen* current = screen())
        setGeometry(current->geometry());
    showFullScreen();
    sharedFileSystemModel()->setRootPath(QStringLiteral("/"));
    if (files.size() == 1)
        openFile(files.first());
    else
        openList(files);
    m_panel->setPicView(this);
}

int FullscreenPicView::zoomMode() const
{
    return Settings::instance()->fullscreenPicView()->zoomMode();
}

void FullscreenPicView::setZoomMode(int mode)
{
    Settings::instance()->fullscreenPicView()->setZoomMode(mode);
    Settings::sync();
}

void FullscreenPicView::changeEvent(QEvent* event)
{
    SPicView::changeEvent(event);
    if (event->type() == QEvent::StyleChange)
        followTabletMode();
}

void FullscreenPicView::followTabletMode()
{
    if (m_tabletMode == lumoInTabletMode())
        return;
    m_tabletMode = !m_tabletMode;
    setIndicatorMode(m_tabletMode);
    m_panel->setTabletMode(m_tabletMode);
}
