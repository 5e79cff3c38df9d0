#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QSettings;
class QWidget;

// Window geometry kept in a QSettings under the group "Geometry/<name>", where name is the
// widget's object name, or its class name when it has none. Keys: "rect" (the normal, not
// maximised, geometry) and "maximized".
//
// sizeOnly: save and restore the size alone and let the window manager place the window.

void lumoSaveGeometry(QWidget* widget, QSettings& settings, bool sizeOnly);

// Falls back to defaultRect when nothing usable is stored.
void lumoRestoreGeometry(QWidget* widget, QSettings& settings, const QRect& defaultRect,
                         bool sizeOnly);

// The rectangle a window gets back, given what was stored (an invalid rect when nothing),
// the screens' available geometries (the primary first) and the caller's default. A stored rect
// counts only when enough of it shows on some screen to grab it; the default is moved onto the
// primary screen when it lies outside every screen.
QRect lumoGeometryToRestore(const QRect& stored, const QList<QRect>& screens,
                            const QRect& defaultRect);

// The settings group used for a widget.
QString lumoGeometryGroup(const QWidget* widget);
