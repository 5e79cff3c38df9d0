#include "platform/lumodesktop.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

const char* const kRunningAtom = "_LUMO_WM_RUNNING";
const char* const kCommandAtom = "_LUMO_WM_COMMAND";

struct PropertyKind
{
    Atom type = None;
    int format = 0;
};

PropertyKind propertyKind(Display* display, Window window, Atom atom)
{
    PropertyKind kind;
    unsigned long items = 0;
    unsigned long bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, atom, 0, 0, False, AnyPropertyType,
                                          &kind.type, &kind.format, &items, &bytesAfter, &data);
    if (data)
        XFree(data);
    return status == Success ? kind : PropertyKind();
}

bool hasRootProperty(Display* display, Window rootWindow, const char* name)
{
    // Only if it exists: asking must not create atoms on the server.
    const Atom atom = XInternAtom(display, name, True);
    return atom != None && propertyKind(display, rootWindow, atom).type != None;
}

bool sessionBusReachable()
{
    // Without an address libdbus may try to autolaunch a bus, which is slow and leaves a daemon.
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

bool kdesktopAnswers()
{
    if (!sessionBusReachable())
        return false;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    return bus.interface()->isServiceRegistered(QStringLiteral("org.kde.kdesktop")).value();
}

} // namespace

int lumoDesktopFromProbe(const LumoDesktopProbe& probe)
{
    if (probe.lumoWindowManager)
        return LumoDesktopLumoWM;
    if (probe.kdesktopService)
        return LumoDesktopKDesktop;
    if (probe.gconftoolInstalled && probe.gnome2Session)
        return LumoDesktopGConf;
    return LumoDesktopUnknown;
}

bool lumoIsGnome2Session(const QProcessEnvironment& environment)
{
    const QString sessionId = environment.value(QStringLiteral("GNOME_DESKTOP_SESSION_ID"));
    if (sessionId.isEmpty() || sessionId == QLatin1String("this-is-deprecated"))
        return false;
    return environment.value(QStringLiteral("XDG_CURRENT_DESKTOP")).isEmpty();
}

int whatDE(Display* display, unsigned long rootWindow)
{
    if (!display)
        return LumoDesktopUnknown;
    const Window root = rootWindow != 0 ? rootWindow : DefaultRootWindow(display);
    LumoDesktopProbe probe;
    probe.lumoWindowManager = hasRootProperty(display, root, kRunningAtom);
    if (!probe.lumoWindowManager) {
        probe.kdesktopService = kdesktopAnswers();
        probe.gnome2Session = lumoIsGnome2Session(QProcessEnvironment::systemEnvironment());
        probe.gconftoolInstalled = probe.gnome2Session
            && !QStandardPaths::findExecutable(QStringLiteral("gconftool-2")).isEmpty();
    }
    return lumoDesktopFromProbe(probe);
}

void SendCommandToWM(Display* display, const QString& text)
{
    if (!display || text.isEmpty())
        return;
    QByteArray line = text.toUtf8();
    if (!line.endsWith('\n'))
        line.append('\n');
    const Window root = DefaultRootWindow(display);
    const Atom command = XInternAtom(display, kCommandAtom, False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    // Appending keeps a command the manager has not read yet; appending to a property of
    // another type would be an X error, so such a leftover is replaced.
    const PropertyKind existing = propertyKind(display, root, command);
    const bool append = existing.type == utf8 && existing.format == 8;
    XChangeProperty(display, root, command, utf8, 8, append ? PropModeAppend : PropModeReplace,
                    reinterpret_cast<const unsigned char*>(line.constData()), line.size());
    XFlush(display);
}
