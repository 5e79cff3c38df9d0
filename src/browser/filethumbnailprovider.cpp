#include "browser/filethumbnailprovider.h"

#include "document/imageformats.h"
#include "imaging/readlimits.h"
#include "platform/lumofm/iconprovider.h"
#include "platform/lumothumbnails.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

namespace {

// Size code of the freedesktop "large" cache, which matches kThumbnailEdge.
constexpr int kLargeSizeCode = 1;

// A cached thumbnail is current only when it was made from the file as it is now.
bool matchesFile(const QImage& thumbnail, const QFileInfo& info)
{
    bool ok = false;
    const qint64 mtime = thumbnail.text(QStringLiteral("Thumb::MTime")).toLongLong(&ok);
    if (!ok || mtime != info.lastModified().toSecsSinceEpoch())
        return false;
    const QString size = thumbnail.text(QStringLiteral("Thumb::Size"));
    return size.isEmpty() || size.toLongLong(&ok) == info.size();
}

QImage readCached(const QString& filePath, const QFileInfo& info, const QString& cacheDir)
{
    const QString path = LumoThumbnails::thumbnailPath(filePath, kLargeSizeCode, cacheDir);
    if (path.isEmpty())
        return QImage();
    QImageReader reader(path, "png");
    // Anything bigger than the cache's size is not a thumbnail we made sense of.
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > FileThumbnailProvider::kThumbnailEdge
        || size.height() > FileThumbnailProvider::kThumbnailEdge)
        return QImage();
    const QImage image = reader.read();
    return !image.isNull() && matchesFile(image, info) ? image : QImage();
}

QImage readScaled(const QString& filePath)
{
    QImageReader reader(filePath);
    reader.setAutoTransform(true);
    const QSize fullSize = reader.size();
    // Formats that cannot shrink while decoding hold the whole picture first.
    if (!reader.supportsOption(QImageIOHandler::ScaledSize)
        && !imaging::fitsInMemory(fullSize, reader.imageFormat()))
        return QImage();
    if (fullSize.isValid()) {
        // The scaled size applies before the orientation is, and fitting a square box does not
        // care which way the picture is turned.
        reader.setScaledSize(FileThumbnailProvider::scaledSize(fullSize));
        return reader.read();
    }
    // Formats that cannot tell their size up front are decoded whole, then reduced.
    const QImage image = reader.read();
    if (image.isNull())
        return image;
    const QSize target = FileThumbnailProvider::scaledSize(image.size());
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

QImage FileThumbnailProvider::readThumbnail(const QString& filePath, const QString& cacheDir)
{
    const QFileInfo info(filePath);
    const QImage cached = readCached(info.absoluteFilePath(), info, cacheDir);
    if (!cached.isNull())
        return cached;
    return readScaled(filePath);
}

QSize FileThumbnailProvider::scaledSize(const QSize& fullSize)
{
    if (fullSize.isEmpty() || (fullSize.width() <= kThumbnailEdge && fullSize.height() <= kThumbnailEdge))
        return fullSize;
    const QSize scaled = fullSize.scaled(kThumbnailEdge, kThumbnailEdge, Qt::KeepAspectRatio);
    // A very long strip still keeps one pixel across.
    return scaled.expandedTo(QSize(1, 1));
}
