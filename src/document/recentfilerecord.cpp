#include "document/recentfilerecord.h"

#include <algorithm>

QStringList RecentFileRecord::listWith(const QStringList& lasts, const QString& path, int lastN)
{
    QStringList list = lasts;
    list.removeOne(path);
    list.prepend(path);
    if (list.size() > lastN)
        list.erase(list.begin() + std::max(0, lastN), list.end());
    return list;
}

QString RecentFileRecord::directoryOf(const QString& path)
{
    if (path.size() < 2)
        return path;
    const int slash = path.lastIndexOf(QLatin1Char('/'), path.size() - 2);
    return slash < 0 ? path : path.left(slash);
}
