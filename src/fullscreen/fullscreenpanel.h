#pragma once

#include "fullscreen/genericfullscreenpanel.h"

#include <QPointer>

class GoActions;
class QAction;
class QModelIndex;
class QToolBar;
class SPicView;
class ThumbnailsBar;
class ZoomActions;

// The sliding panel of a full-screen picture: exit, navigation and zoom buttons and the strip of
// the picture's neighbours. It moves between picture views and outlives each of them.
class FullscreenPanel : public GenericFullscreenPanel
{
    Q_OBJECT

public:
    FullscreenPanel(QAction* exitAction, GoActions* goActions, ZoomActions* zoomActions,
                    QWidget* parent = nullptr);

    void setTabletMode(bool tabletMode) override;

    SPicView* picView() const { return m_picView; }
    void setPicView(SPicView* view);

    ThumbnailsBar* thumbnailsBar() const { return m_thumbnailsBar; }
    QToolBar* toolBar() const { return m_toolBar; }

private:
    void detach();
    void showFilesOf(SPicView* view);
    void picViewDestroyed();
    void picViewModelChanged();
    void thumbnailChosen(const QModelIndex& index);
    void keepBarOneRowHigh();

    QToolBar* m_toolBar;
    ThumbnailsBar* m_thumbnailsBar;
    QPointer<SPicView> m_picView;
};
