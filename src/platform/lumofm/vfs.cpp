#include "platform/lumofm/vfs.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace LumoFM {

VFS* VFS::ptr()
{
    static VFS instance;
    return &instance;
}

Entry VFS::entry(const QString& path) const
{
    if (path.isEmpty())
        return Entry();
    QString local = path;
    if (local.startsWith(QLatin1String("file:"))) {
        const QUrl url(local);
        if (!url.isLocalFile())
            return Entry();
        local = url.toLocalFile();
    }
    if (local == QLatin1String("~"))
        local = QDir::homePath();
    else if (local.startsWith(QLatin1String("~/")))
        local = QDir::homePath() + local.mid(1);
    // cleanPath keeps symbolic links as they are: callers decide whether to follow them.
    return Entry(QDir::cleanPath(QDir::current().absoluteFilePath(local)));
}

bool VFS::isEntryExists(const Entry& entry) const
{
    if (!entry.isValid())
        return false;
    const QFileInfo info(entry.path());
    return info.exists() || info.isSymLink();
}

Entry VFS::parent(const Entry& entry) const
{
    if (!entry.isValid() || entry.path() == QLatin1String("/"))
        return entry;
    return Entry(QFileInfo(entry.path()).absolutePath());
}

Entry VFS::child(const Entry& entry, const QString& name) const
{
    if (!entry.isValid() || name.isEmpty() || name.contains(QLatin1Char('/')))
        return Entry();
    return Entry(QDir::cleanPath(entry.path() + QLatin1Char('/') + name));
}

Entry VFS::homeEntry() const
{
    return Entry(QDir::cleanPath(QDir::homePath()));
}

Entry VFS::rootEntry() const
{
    return Entry(QStringLiteral("/"));
}

Entry VFS::desktopEntry() const
{
    // Follows XDG_DESKTOP_DIR from user-dirs.dirs; falls back to ~/Desktop.
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return Entry(QDir::cleanPath(desktop.isEmpty() ? QDir::homePath() + QStringLiteral("/Desktop")
                                                   : desktop));
}

} // namespace LumoFM
