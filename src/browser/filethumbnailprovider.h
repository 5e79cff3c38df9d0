#pragma once

#include <QFileIconProvider>

class QImage;

// Makes the icon of one file: a small picture for readable images (the desktop's cached thumbnail
// when it is current, else the image decoded at thumbnail size) and the desktop's type icon for
// everything else.
class FileThumbnailProvider : public QFileIconProvider
{
public:
    // The long edge of a thumbnail, the freedesktop "large" size.
    static constexpr int kThumbnailEdge = 256;

    FileThumbnailProvider() = default;

    // GUI thread only: icons and theme look-ups are not safe elsewhere.
    QIcon icon(const QFileInfo& info) const override;
    using QFileIconProvider::icon;

    // The icon for a picture from readThumbnail: "image-missing" when it could not be read.
    QIcon iconForImage(const QImage& image) const;

    // Whether the file is a regular file in a format we read, so that it gets a picture.
    static bool isReadableImage(const QFileInfo& info);

    // Safe on any thread. The desktop's cached thumbnail when it matches the file, else the file
    // decoded with its orientation applied and its long edge at most kThumbnailEdge; a null image
    // when neither can be read. cacheDir empty means the user's thumbnail cache.
    static QImage readThumbnail(const QString& filePath, const QString& cacheDir = QString());

    // The decoded size for a picture of fullSize: aspect kept, long edge at most kThumbnailEdge,
    // never enlarged.
    static QSize scaledSize(const QSize& fullSize);
};
