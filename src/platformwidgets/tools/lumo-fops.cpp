#include "platform/lumoinit.h"
#include "platformwidgets/fileoperations.h"

#include <QApplication>

int main(int argc, char** argv)
{
    lumoEnableHighDpi();
    QApplication app(argc, argv);
    lumoInit(QStringLiteral(LUMO_VERSION), FileOperations::description());
    QCoreApplication::setApplicationName(QStringLiteral("lumo-fops"));
    return FileOperations::run(QCoreApplication::arguments());
}
