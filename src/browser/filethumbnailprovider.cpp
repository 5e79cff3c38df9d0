#include "browser/filethumbnailprovider.h"

#include "document/imageformats.h"
#include "imaging/cmykjpeg.h"
#include "imaging/decodeguard.h"
#include "imaging/displaycolours.h"
#include "imaging/readlimits.h"
#include "imaging/rotation.h"
#include "platform/desktopthumbnailcache.h"
#include "platform/lumofm/iconprovider.h"
#include "platform/lumothumbnails.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

namespace {

// A CMYK JPEG through its profile, at the smallest eighth that still holds the edge.
QImage readCmykScaled(QFile* file, QImageIOHandler::Transformations transformation, int edge)
{
    const QByteArray bytes = file->readAll();
    int denominator = 8;
    for (; denominator > 1; denominator /= 2) {
        const QSize decoded = imaging::cmykJpegSize(bytes, denominator);
        if (decoded.width() >= edge || decoded.height() >= edge)
            break;
    }
    QImage image = imaging::decodeCmykJpeg(bytes, imaging::ReadLimits::forThisMachine(),
                                           imaging::defaultCmykProfile(), denominator);
    const QSize target = FileThumbnailProvider::scaledSize(image.size(), edge);
    if (target != image.size())
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return imaging::oriented(image, transformation);
}

QImage readScaled(const QString& filePath, int edge)
{
    QFile file(filePath);
    if (!LumoThumbnails::openRegularFile(&file))
        return QImage();
    if (imaging::isCmykJpeg(&file))
        return readCmykScaled(&file, QImageReader(filePath).transformation(), edge);
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const imaging::DecodeVerdict verdict = imaging::DecodeGuard().judge(reader, QSize(edge, edge));
    if (!verdict.allowed())
        return QImage();
    const QSize fullSize = verdict.declared;
    if (fullSize.isValid()) {
        // The scaled size applies before the orientation is, and fitting a square box does not
        // care which way the picture is turned.
        reader.setScaledSize(FileThumbnailProvider::scaledSize(fullSize, edge));
        // Thumbnails are shown, and shared, in sRGB.
        return imaging::displayColours(reader.read());
    }
    // Formats that cannot tell their size up front are decoded whole, then reduced.
    const QImage image = imaging::displayColours(reader.read());
    if (image.isNull())
        return image;
    const QSize target = FileThumbnailProvider::scaledSize(image.size(), edge);
    return target == image.size()
        ? image
        : image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
        // A file that vanished or became something else is no failure to remember.
        if (!image.isNull())
            cache.write(source, size, image);
        else if (QFileInfo(filePath).isFile())
            cache.writeFailure(source);
    }
    return image;
}

QSize FileThumbnailProvider::scaledSize(const QSize& fullSize, int edge)
{
    if (fullSize.isEmpty() || (fullSize.width() <= edge && fullSize.height() <= edge))
        return fullSize;
    const QSize scaled = fullSize.scaled(edge, edge, Qt::KeepAspectRatio);
    // A very long strip still keeps one pixel across.
    return scaled.expandedTo(QSize(1, 1));
}
