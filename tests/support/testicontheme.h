#pragma once

#include <QString>
#include <QStringList>

namespace lumotest {

// Headless platforms search no system icon folders, so theme icons come out null and nameless.
// Writes a small icon theme with the given names under dir and makes it the current theme, so
// tests can tell which theme icon something shows (QIcon::name()).
bool installTestIconTheme(const QString& dir, const QStringList& iconNames);

} // namespace lumotest
