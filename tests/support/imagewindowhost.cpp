#include "support/imagewindowhost.h"

#include <QAction>
#include <QActionGroup>

ImageWindowHost::ImageWindowHost()
{
    fullScreen = new QAction(QStringLiteral("&Full screen"), &actionOwner);
    fullScreen->setCheckable(true);
    auto* modes = new QActionGroup(&actionOwner);
    auto* files = new QAction(QStringLiteral("Files"), modes);
    auto* images = new QAction(QStringLiteral("Images"), modes);
    files->setCheckable(true);
    images->setCheckable(true);
    files->setChecked(true);
    actions.set(SharedActions::Index::FullScreen, fullScreen);
    actions.set(SharedActions::Index::Files, files);
    actions.set(SharedActions::Index::Images, images);
    window = new ImagesCentralWidget(&actions, nullptr, &mainWindow);
    mainWindow.setCentralWidget(window);
    window->setMainWindow(&mainWindow);
    QObject::connect(fullScreen, &QAction::triggered, window, &ImagesCentralWidget::setFullScreen);
    mainWindow.resize(1000, 800);
    mainWindow.show();
}
