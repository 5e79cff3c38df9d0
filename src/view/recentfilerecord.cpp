#include "view/recentfilerecord.h"

#include "app/settings.h"

#include <QTimer>

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

void RecentFileRecord::record(const QString& path)
{
    Settings::General* general = Settings::instance()->general();
    const QStringList lasts = general->lasts();
    general->setLastDir(directoryOf(path));
    general->setLasts(listWith(lasts, path, general->lastN()));
    // Writing the store to disk waits for the disk; the picture is shown first.
    QTimer::singleShot(0, Settings::instance(), [] { Settings::sync(); });
}
