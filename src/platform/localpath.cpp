#include "platform/localpath.h"

#include <QDir>

QString absoluteLocalPath(const QString& path)
{
    if (path.isEmpty())
        return QString();
    // QDir::absoluteFilePath would take ":name" for absolute and leave it alone.
    const QString absolute =
        path.startsWith(QLatin1Char('/')) ? path : QDir::currentPath() + QLatin1Char('/') + path;
    return QDir::cleanPath(absolute);
}
