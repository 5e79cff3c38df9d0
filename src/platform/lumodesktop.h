#pragma once

#include <QString>

class QProcessEnvironment;

typedef struct _XDisplay Display;

// Which desktop runs, and commands to our own window manager, over X11.
//
// Our window manager announces itself with the property _LUMO_WM_RUNNING (any type) on the
// root window, and reads its commands from the property _LUMO_WM_COMMAND (UTF8_STRING) there:
// one command per line, appended by senders; the manager reads and deletes the property.

// Desktop identifiers.
enum LumoDesktop {
    LumoDesktopUnknown = 0,
    LumoDesktopKDesktop = 1, // the kdesktop background service answers
    LumoDesktopGConf = 2, // a GNOME 2 session with gconftool-2
    LumoDesktopLumoWM = 5, // our own window manager
};

// What whatDE learns about the running desktop.
struct LumoDesktopProbe
{
    bool lumoWindowManager = false;
    bool kdesktopService = false;
    bool gconftoolInstalled = false;
    bool gnome2Session = false;
};

// The identifier for what was found; 0 unless one desktop is positively detected.
int lumoDesktopFromProbe(const LumoDesktopProbe& probe);

// True for a GNOME 2 session: GNOME's session id is set (and not the placeholder later GNOME
// versions put there) and no XDG_CURRENT_DESKTOP names a newer desktop.
bool lumoIsGnome2Session(const QProcessEnvironment& environment);

// 0 when display is null (no X11, for example the offscreen platform).
int whatDE(Display* display, unsigned long rootWindow);

// Appends text, ending with a line feed, to _LUMO_WM_COMMAND on the default root window.
// Does nothing without a display or with an empty text.
void SendCommandToWM(Display* display, const QString& text);
