#pragma once

#include <QString>

// The absolute, clean form of a path given on a command line or typed by a user. A leading ':'
// is Qt's prefix for its resources; here it is part of a file name like any other character.
QString absoluteLocalPath(const QString& path);
