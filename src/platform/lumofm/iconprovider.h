#pragma once

#include <QString>

namespace LumoFM {

// Names freedesktop theme icons for files by their MIME type.
class IconProvider
{
public:
    static IconProvider* ptr();

    // "folder" for directories, the MIME type's icon or generic icon name for files, and
    // "unknown" when nothing is known about the path.
    QString nameForFile(const QString& path) const;

private:
    IconProvider() = default;
};

} // namespace LumoFM
