#pragma once

#include <QStringList>

// Remembers a successfully read file in the recent-files list and the last directory.
class RecentFileRecord
{
public:
    // The list with path moved (or added) to the front, cut to lastN entries.
    static QStringList listWith(const QStringList& lasts, const QString& path, int lastN);
    // The path up to its last "/" (a trailing "/" does not count); the path itself without one.
    static QString directoryOf(const QString& path);
    // Stores both in the settings at once and flushes them to disk from the event loop.
    static void record(const QString& path);
};
