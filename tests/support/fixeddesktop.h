#pragma once

#include "platform/desktoplink.h"

#include <QStringList>

// Answers a fixed desktop identifier and records what the window manager would be sent.
// Installs itself for its lifetime.
class FixedDesktop : public DesktopLink
{
public:
    explicit FixedDesktop(int desktop) : m_desktop(desktop) { DesktopLink::install(this); }
    ~FixedDesktop() override { DesktopLink::install(nullptr); }
    int desktop() override { return m_desktop; }
    void sendToWindowManager(const QString& text) override { m_sent << text; }
    const QStringList& sent() const { return m_sent; }

private:
    int m_desktop;
    QStringList m_sent;
};
