#include "browser/filethumbnailprovider.h"

#include "decoding/decoderpool.h"
#include "document/imageformats.h"
#include "document/isolatedreader.h"
#include "document/thumbnailreader.h"
#include "platform/desktopthumbnailcache.h"
#include "platform/lumofm/iconprovider.h"
#include "platform/lumothumbnails.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>

namespace {

// Through a decoder helper, or here when the pool says so.
QImage readScaled(const QString& filePath, int edge)
{
    if (!DecoderPool::inProcess())
        return IsolatedReader::readThumbnail(filePath, edge);
    QFile file(filePath);
    return LumoThumbnails::openRegularFile(&file) ? ThumbnailReader::read(&file, edge) : QImage();
}

} // namespace

QIcon FileThumbnailProvider::icon(const QFileInfo& info) const
{
    if (isReadableImage(info))
        return iconForImage(readThumbnail(info.absoluteFilePath()));
    const QString name = LumoFM::IconProvider::ptr()->nameForFile(info.canonicalFilePath());
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return QFileIconProvider::icon(info);
}

QIcon FileThumbnailProvider::iconForImage(const QImage& image) const
{
    if (image.isNull())
        return QIcon::fromTheme(QStringLiteral("image-missing"));
    return QIcon(QPixmap::fromImage(image));
}

bool FileThumbnailProvider::isReadableImage(const QFileInfo& info)
{
    return info.isFile() && ImageFormats::instance()->canRead(info.suffix());
}

QImage FileThumbnailProvider::readThumbnail(const QString& filePath, int shownEdge,
                                            const DecodeObserver& observer)
{
    const DesktopThumbnailCache cache;
    const DesktopThumbnailCache::Size size = DesktopThumbnailCache::sizeFor(shownEdge);
    // Thumbnails of thumbnails would only fill the cache with copies of itself.
    const bool shared = !cache.contains(filePath);
    const DesktopThumbnailCache::Source source = DesktopThumbnailCache::sourceOf(filePath);
    if (shared) {
        const QImage cached = cache.read(source, size);
        if (!cached.isNull() || cache.hasFailed(source))
            return cached;
    }
    if (observer)
        observer(filePath);
    const QImage image = readScaled(filePath, DesktopThumbnailCache::edge(size));
    if (shared) {
        // A file that vanished or became something else is no failure to remember; one that
        // crashed, exhausted or outlasted its decoder would do so again until it changes.
        if (!image.isNull())
            cache.write(source, size, image);
        else if (QFileInfo(filePath).isFile())
            cache.writeFailure(source);
    }
    return image;
}

QSize FileThumbnailProvider::scaledSize(const QSize& fullSize, int edge)
{
    return ThumbnailReader::scaledSize(fullSize, edge);
}
