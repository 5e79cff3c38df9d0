#include "platformwidgets/lumotabletmode.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {
bool g_tabletMode = false;
}

bool lumoInTabletMode()
{
    return g_tabletMode;
}

void lumoSetTabletMode(bool on)
{
    if (on == g_tabletMode)
        return;
    g_tabletMode = on;
    // A handler may close or delete other windows, so each is guarded before its turn.
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        windows << widget;
    for (const QPointer<QWidget>& widget : windows) {
        if (!widget)
            continue;
        QEvent event(QEvent::StyleChange);
        QCoreApplication::sendEvent(widget, &event);
    }
}
