#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

class QSettings;
class QWidget;

// Window geometry kept in a QSettings under the group "Geometry/<name>", where name is the
// widget's object name, or its class name when it has none. Keys: "rect" (the normal, not
// maximised, geometry) and "maximized".
//
// sizeOnly: save and restore the size alone and let the window manager place the window.

void lumoSaveGeometry(QWidget* widget, QSettings& settings, bool sizeOnly);

// Falls back to defaultSize when nothing usable is stored.
void lumoRestoreGeometry(QWidget* widget, QSettings& settings, const QSize& defaultSize,
                         bool sizeOnly);

// What a window gets back. Its size always counts; its place only when placed, otherwise the
// window manager places the window.
struct LumoGeometryDecision
{
    QRect rect;
    bool placed = false;
};

// The decision, given what was stored (an invalid rect when nothing), the screens' available
// geometries (the primary first) and the caller's default size. A stored rect counts, with its
// place, only when enough of it shows on some screen to grab it. Otherwise the default size,
// shrunk to fit the primary screen, goes without a place: a place chosen here cannot know
// the window manager's frame, and a frame above the screen cannot be dragged.
LumoGeometryDecision lumoGeometryToRestore(const QRect& stored, const QList<QRect>& screens,
                                           const QSize& defaultSize);

// The settings group used for a widget.
QString lumoGeometryGroup(const QWidget* widget);
