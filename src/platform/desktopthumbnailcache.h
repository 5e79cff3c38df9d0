#pragma once

#include <QByteArray>
#include <QString>

class QImage;

// The thumbnail cache the desktop shares between programs: finds the thumbnail of a file as it is
// now, stores new ones so other programs need not decode the file again, and remembers the files
// of which no thumbnail could be made. Safe to use from several threads at once.
class DesktopThumbnailCache
{
public:
    enum class Size { Normal, Large };

    // What a thumbnail records of the file it was made from.
    struct Source
    {
        QByteArray uri;
        qint64 mtime = 0;
        qint64 size = 0;
    };

    // An empty cacheDir means $XDG_CACHE_HOME/thumbnails.
    explicit DesktopThumbnailCache(const QString& cacheDir = QString());

    // 128 or 256 pixels.
    static int edge(Size size);
    // The smallest size that holds a thumbnail shown with that edge, large for anything bigger.
    static Size sizeFor(int shownEdge);
    // The file as it is now: its URI (links resolved), modification time in seconds and size.
    static Source sourceOf(const QString& filePath);

    const QString& cacheDir() const { return m_cacheDir; }
    QString thumbnailPath(const QString& filePath, Size size) const;
    QString failurePath(const QString& filePath) const;
    // Files inside the cache are thumbnails themselves and are never stored again.
    bool contains(const QString& filePath) const;

    // The stored thumbnail when it was made from the file as it is now, else a null image. Where
    // that size is missing, a larger one made by another program is scaled down to it.
    QImage read(const Source& source, Size size) const;
    // Whether an earlier attempt failed on the file as it is now.
    bool hasFailed(const Source& source) const;
    // Stores a thumbnail no larger than the size; false when it could not be written.
    bool write(const Source& source, Size size, const QImage& thumbnail) const;
    // Records that no thumbnail could be made of the file as it is now.
    bool writeFailure(const Source& source) const;
    // Removes every thumbnail and failure stored for the file, of whatever size.
    void forget(const QString& filePath) const;

private:
    QString pathFor(const QByteArray& uri, const QString& subDir) const;
    bool store(const Source& source, const QString& subDir, QImage image) const;

    QString m_cacheDir;
};
