#include "platform/desktoplink.h"

#include "platform/lumodesktop.h"

#include <QX11Info>

namespace {

class X11DesktopLink : public DesktopLink
{
public:
    int desktop() override { return whatDE(QX11Info::display(), QX11Info::appRootWindow()); }
    void sendToWindowManager(const QString& text) override
    {
        SendCommandToWM(QX11Info::display(), text);
    }
};

DesktopLink* g_installed = nullptr;

} // namespace

DesktopLink::~DesktopLink() = default;

DesktopLink* DesktopLink::current()
{
    static X11DesktopLink x11;
    return g_installed ? g_installed : &x11;
}

void DesktopLink::install(DesktopLink* link)
{
    g_installed = link;
}
