#pragma once

#include <QFileIconProvider>

#include <functional>

class QImage;

// Makes the icon of one file: a small picture for readable images (the desktop's cached thumbnail
// when it is current, else the image decoded at thumbnail size and shared through that cache)
// and the desktop's type icon for everything else.
class FileThumbnailProvider : public QFileIconProvider
{
public:
    // The long edge of a thumbnail, the freedesktop "large" size.
    static constexpr int kThumbnailEdge = 256;

    // Called with the file on the thread that is about to decode it.
    using DecodeObserver = std::function<void(const QString& filePath)>;

    FileThumbnailProvider() = default;

    // GUI thread only: icons and theme look-ups are not safe elsewhere.
    QIcon icon(const QFileInfo& info) const override;
    using QFileIconProvider::icon;

    // The icon for a picture from readThumbnail: "image-missing" when it could not be read.
    QIcon iconForImage(const QImage& image) const;

    // Whether the file is a regular file in a format we read, so that it gets a picture.
    static bool isReadableImage(const QFileInfo& info);

    // Safe on any thread. The thumbnail for a picture shown with shownEdge pixels, from the
    // desktop's cache of the size that holds it when it matches the file; else the file decoded
    // with its orientation applied and its long edge at most that size, then stored in the cache,
    // or, when it cannot be read, a null image and a failure the cache remembers until the file
    // changes. Files inside the cache are decoded but never stored.
    static QImage readThumbnail(const QString& filePath, int shownEdge = kThumbnailEdge,
                                const DecodeObserver& observer = DecodeObserver());

    // The decoded size for a picture of fullSize: aspect kept, long edge at most edge, never
    // enlarged.
    static QSize scaledSize(const QSize& fullSize, int edge = kThumbnailEdge);
};
