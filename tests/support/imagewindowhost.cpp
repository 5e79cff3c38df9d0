#include "support/imagewindowhost.h"

#include <QAction>

ImageWindowHost::ImageWindowHost()
{
    window = new ImagesCentralWidget(&actions, &recentFiles, nullptr, &mainWindow);
    mainWindow.setCentralWidget(window);
    window->setMainWindow(&mainWindow);
    QObject::connect(fullScreen, &QAction::triggered, window, &ImagesCentralWidget::setFullScreen);
    mainWindow.resize(1000, 800);
    mainWindow.show();
}
