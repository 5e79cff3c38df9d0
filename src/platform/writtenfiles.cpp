#include "platform/writtenfiles.h"

#include "platform/desktopthumbnailcache.h"

WrittenFiles* WrittenFiles::instance()
{
    static WrittenFiles files;
    return &files;
}

void WrittenFiles::announce(const QString& path)
{
    // Within a second and at the same size, the stored keys would still match the new file.
    DesktopThumbnailCache().forget(path);
    emit written(path);
}
