#pragma once

#include "platform/lumofm/entry.h"

class QString;

namespace LumoFM {

// Maps user-typed paths to entries of the local file system and walks the tree.
class VFS
{
public:
    static VFS* ptr();

    // Accepts absolute and relative paths, "~", "~/..." and file:// URLs.
    Entry entry(const QString& path) const;
    bool isEntryExists(const Entry& entry) const;
    Entry parent(const Entry& entry) const;
    Entry child(const Entry& entry, const QString& name) const;
    Entry homeEntry() const;
    Entry rootEntry() const;
    Entry desktopEntry() const;

private:
    VFS() = default;
};

} // namespace LumoFM
