#pragma once

#include <QString>

// Registers the application with the desktop: names, version, translations and icon theme.
// Call once, right after the application object exists.
void lumoInit(const QString& version, const QString& description);

// Sizes in logical pixels on high-density screens, and icons and pixmaps drawn at the screen's
// density. Call before the application object exists.
void lumoEnableHighDpi();

// What lumoInit registered, for the About box.
QString lumoApplicationDescription();

// Where the program's .qm translation files are looked for (installed place first, then the build tree).
QString lumoTranslationsDir();
// The same for the program in programDirectory, for use before the application object exists.
QString lumoTranslationsDir(const QString& programDirectory);

// Picks an installed freedesktop icon theme when the platform theme names none that exists,
// so names such as "image-missing" and "go-next" resolve everywhere.
void lumoEnsureIconTheme();
