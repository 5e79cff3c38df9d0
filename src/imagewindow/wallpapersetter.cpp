#include "imagewindow/wallpapersetter.h"

#include "platform/desktoplink.h"
#include "platform/lumodesktop.h"
#include "platform/processlauncher.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool sessionBusReachable()
{
    // Without an address libdbus may try to autolaunch a bus, which is slow and leaves a daemon.
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

} // namespace

WallpaperSetter::WallpaperSetter(QObject* parent) : QObject(parent)
{
}

WallpaperSetter::~WallpaperSetter() = default;

void WallpaperSetter::setPortalBus(const QDBusConnection& bus)
{
    m_portalBus = bus;
}

bool WallpaperSetter::isAcceptablePath(const QString& path)
{
    if (path.isEmpty())
        return false;
    for (const QChar c : path) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

void WallpaperSetter::setWallpaper(const QString& path)
{
    if (!isAcceptablePath(path))
        return;
    const QString quoted = QLatin1Char('"') + path + QLatin1Char('"');
    switch (DesktopLink::current()->desktop()) {
    case LumoDesktopKDesktop:
        ProcessLauncher::current()->execute(
            QStringLiteral("dbus"),
            {QStringLiteral("kdesktop"), QStringLiteral("KBackgroundIface"),
             QStringLiteral("setWallpaper"), QStringLiteral("1"), quoted, QStringLiteral("6")});
        break;
    case LumoDesktopGConf:
        // The path is one argument of its own: quotes in it cannot end it or add arguments.
        ProcessLauncher::current()->execute(
            QStringLiteral("gconftool-2"),
            {QStringLiteral("-t"), QStringLiteral("string"), QStringLiteral("-s"),
             QStringLiteral("/desktop/gnome/background/picture_filename"), path});
        break;
    case LumoDesktopLumoWM:
        DesktopLink::current()->sendToWindowManager(QStringLiteral("LUMOWM_UPDATE_VAL WallPaper ") +
                                                    path + QLatin1Char('\n'));
        break;
    default:
        askPortal(path);
        break;
    }
}

void WallpaperSetter::askPortal(const QString& path)
{
    if (!m_portalBus && sessionBusReachable())
        m_portalBus = QDBusConnection::sessionBus();
    if (!m_portalBus || !m_portalBus->isConnected() ||
        !(m_portalBus->connectionCapabilities() & QDBusConnection::UnixFileDescriptorPassing))
        return;
    // The portal gets the file itself, so it reads what we read whatever its sandbox sees.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return;
    }
    const QDBusUnixFileDescriptor file(fd); // keeps its own duplicate
    ::close(fd);

    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Wallpaper"), QStringLiteral("SetWallpaperFile"));
    const QVariantMap options{{QStringLiteral("show-preview"), false},
                              {QStringLiteral("set-on"), QStringLiteral("background")}};
    call << QString() << QVariant::fromValue(file) << options;
    auto* watcher = new QDBusPendingCallWatcher(m_portalBus->asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                emit portalReplied(!finished->isError());
                finished->deleteLater();
            });
}
