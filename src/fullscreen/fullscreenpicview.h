#pragma once

#include "view/spicview.h"

class FullscreenPanel;
class GoActions;
class QAction;
class ZoomActions;

// A picture view that is its own full-screen window, with navigation and zoom keys of its own
// and a panel of buttons and thumbnails that slides in from the top edge.
class FullscreenPicView : public SPicView
{
    Q_OBJECT

public:
    FullscreenPicView();

    // Full screen over one file and the pictures of its directory, or over exactly the files
    // given when there are several.
    void open(const QStringList& files);

    // Its own zoom mode, apart from the image window's views.
    int zoomMode() const override;
    void setZoomMode(int mode) override;

    QAction* exitAction() const { return m_exitAction; }
    GoActions* goActions() const { return m_goActions; }
    ZoomActions* zoomActions() const { return m_zoomActions; }
    FullscreenPanel* panel() const { return m_panel; }
    bool tabletMode() const { return m_tabletMode; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void followTabletMode();

    QAction* m_exitAction;
    GoActions* m_goActions;
    ZoomActions* m_zoomActions;
    FullscreenPanel* m_panel;
    bool m_tabletMode = false;
};
