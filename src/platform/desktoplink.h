#pragma once

#include <QString>

// The one way the program asks which desktop runs and sends commands to our window manager
// (over X11 by default). Tests install their own link to fix the desktop and record commands.
class DesktopLink
{
public:
    virtual ~DesktopLink();

    // A desktop identifier as whatDE gives it.
    virtual int desktop() = 0;
    virtual void sendToWindowManager(const QString& text) = 0;

    // The installed link, or the one on the application's X11 display.
    static DesktopLink* current();
    // Not owned; nullptr goes back to the X11 display.
    static void install(DesktopLink* link);
};
