#include "platform/lumofm/iconprovider.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QThread>

namespace LumoFM {

IconProvider* IconProvider::ptr()
{
    static IconProvider instance;
    return &instance;
}

QString IconProvider::nameForFile(const QString& path) const
{
    if (path.isEmpty())
        return QStringLiteral("unknown");
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("folder");

    const QMimeDatabase db;
    const QMimeType type = info.exists() ? db.mimeTypeForFile(info)
                                         : db.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault())
        return QStringLiteral("unknown");

    const QString generic = type.genericIconName();
    const QString specific = type.iconName();
    // Most themes draw only the generic names ("image-x-generic"), so the specific one is taken
    // only when the theme has it. The icon loader is not thread-safe; worker threads that make
    // thumbnails get the generic name, which every theme has.
    const QCoreApplication* app = QCoreApplication::instance();
    const bool guiThread = app && QThread::currentThread() == app->thread();
    if (!specific.isEmpty() && (generic.isEmpty() || (guiThread && QIcon::hasThemeIcon(specific))))
        return specific;
    return generic.isEmpty() ? QStringLiteral("unknown") : generic;
}

} // namespace LumoFM
