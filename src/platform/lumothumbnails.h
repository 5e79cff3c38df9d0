#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Paths of the shared freedesktop thumbnail cache, so thumbnails made by any program are reused.
namespace LumoThumbnails {

// Size codes: 0 "normal" (128 px), 1 "large" (256), 2 "x-large" (512), 3 "xx-large" (1024).
// Returns an empty string for any other code.
QString sizeDirName(int sizeCode);

// The percent-encoded file:// URI of the file's canonical absolute path; the file may be missing.
QByteArray fileUri(const QString& filePath);

// The cache file name for a URI: lower-case hex MD5 of the URI, then ".png".
QString fileNameForUri(const QByteArray& uri);

// <cacheDir>/<size>/<md5>.png; an empty cacheDir means $XDG_CACHE_HOME/thumbnails.
// Returns an empty string for an empty path or an unknown size code. The file may be missing.
QString thumbnailPath(const QString& filePath, int sizeCode, const QString& cacheDir = QString());

// Opens the file named by file->fileName() for reading, but only when it is a regular file: a
// FIFO or a device would block the reading thread for good. The name stays, so readers still
// see its suffix.
bool openRegularFile(QFile* file);

} // namespace LumoThumbnails
