#include "platform/lumoinit.h"
#include "platformwidgets/filepropertieswindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    lumoEnableHighDpi();
    QApplication app(argc, argv);
    lumoInit(QStringLiteral(LUMO_VERSION), FilePropertiesWindow::description());
    QCoreApplication::setApplicationName(QStringLiteral("lumo-props"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("lumo-props"));
    return FilePropertiesWindow::run(QCoreApplication::arguments());
}
