#include "platform/lumofm/vfs.h"

#include "platform/localpath.h"

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
        // A file URL naming another host is no path here.
        const QString host = url.host();
        if (!url.isLocalFile()
            || (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive)))
            return Entry();
        local = url.path(QUrl::FullyDecoded);
        if (local.isEmpty())
            return Entry();
    }
    if (local == QLatin1String("~"))
        local = QDir::homePath();
    else if (local.startsWith(QLatin1String("~/")))
        local = QDir::homePath() + local.mid(1);
    // cleanPath keeps symbolic links as they are: callers decide whether to follow them.
    return Entry(absoluteLocalPath(local));
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
    // "." and ".." would name the entry itself or its parent, never a child.
    if (!entry.isValid() || name.isEmpty() || name.contains(QLatin1Char('/'))
        || name == QLatin1String(".") || name == QLatin1String(".."))
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
