#pragma once

#include "imagewindow/imagescentralwidget.h"
#include "imagewindow/sharedactions.h"

#include <QMainWindow>

class QAction;

// The main window's part of an image window under test: the full-screen and mode actions,
// and a shown main window the image window is attached to.
struct ImageWindowHost
{
    ImageWindowHost();

    QAction* action(SharedActions::Index index) const { return actions.at(index); }

    QObject actionOwner;
    SharedActions actions;
    QMainWindow mainWindow;
    ImagesCentralWidget* window;
    QAction* fullScreen;
};
