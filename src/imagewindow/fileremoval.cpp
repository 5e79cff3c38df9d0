#include "imagewindow/fileremoval.h"

#include "platform/processlauncher.h"

#include <QFileInfo>

bool requestFileRemoval(const QString& filePath)
{
    if (filePath.isEmpty())
        return false;
    const QFileInfo file(filePath);
    return ProcessLauncher::current()->startDetached(
        ProcessLauncher::siblingTool(QStringLiteral("lumo-fops")),
        {QStringLiteral("--remove"), file.absoluteFilePath()}, file.absolutePath());
}
