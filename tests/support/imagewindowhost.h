#pragma once

#include "document/recentfiles.h"
#include "imagewindow/imagescentralwidget.h"
#include "view/sharedactions.h"

#include <QMainWindow>

class QAction;

// The main window's part of an image window under test: the shared actions and recent files,
// and a shown main window the image window is attached to.
struct ImageWindowHost
{
    ImageWindowHost();

    QAction* action(SharedActions::Index index) const { return actions.at(index); }

    // Before the window, so they outlive it.
    SharedActions actions;
    RecentFiles recentFiles;
    QMainWindow mainWindow;
    ImagesCentralWidget* window;
    QAction* fullScreen = actions.at(SharedActions::Index::FullScreen);
};
