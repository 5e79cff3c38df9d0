#pragma once

#include <QDBusConnection>
#include <QObject>

#include <optional>

// Makes a picture file the desktop wallpaper with the command the running desktop understands,
// and on other desktops through the desktop portal when one answers. Nothing is reported to
// the user.
class WallpaperSetter : public QObject
{
    Q_OBJECT

public:
    explicit WallpaperSetter(QObject* parent = nullptr);
    ~WallpaperSetter() override;

    // The bus the portal is asked on; by default the session bus, when one is reachable.
    void setPortalBus(const QDBusConnection& bus);

    // Does nothing for an empty path, or one with control characters: a line feed would end
    // the window manager's command and start another.
    void setWallpaper(const QString& path);

    static bool isAcceptablePath(const QString& path);

signals:
    // The portal took the request (true), or refused it or was not there (false).
    void portalReplied(bool accepted);

private:
    void askPortal(const QString& path);

    std::optional<QDBusConnection> m_portalBus;
};
