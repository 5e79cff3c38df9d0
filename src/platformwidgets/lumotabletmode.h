#pragma once

// Tablet mode of the desktop. Windows re-check it when they receive QEvent::StyleChange.

// False on a desktop that has no tablet mode, unless switched on with lumoSetTabletMode.
bool lumoInTabletMode();

// Switches tablet mode and, when it changes, sends QEvent::StyleChange to every top-level widget.
void lumoSetTabletMode(bool on);
