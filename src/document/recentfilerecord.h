#pragma once

#include <QStringList>

// The recent-files list and the last directory after a file was read, as plain values.
class RecentFileRecord
{
public:
    // The list with path moved (or added) to the front, cut to lastN entries.
    static QStringList listWith(const QStringList& lasts, const QString& path, int lastN);
    // The path up to its last "/" (a trailing "/" does not count); the path itself without one.
    static QString directoryOf(const QString& path);
};
