#include "document/thumbnailreader.h"

#include "imaging/cmykjpeg.h"
#include "imaging/decodeguard.h"
#include "imaging/displaycolours.h"
#include "imaging/readlimits.h"
#include "imaging/rotation.h"

#include <QFile>
#include <QImageReader>

namespace {

// A CMYK JPEG through its profile, at the smallest eighth that still holds the edge.
QImage readCmykScaled(QFile* file, int edge)
{
    const QImageIOHandler::Transformations transformation = QImageReader(file).transformation();
    if (!file->seek(0))
        return QImage();
    const QByteArray bytes = file->readAll();
    int denominator = 8;
    for (; denominator > 1; denominator /= 2) {
        const QSize decoded = imaging::cmykJpegSize(bytes, denominator);
        if (decoded.width() >= edge || decoded.height() >= edge)
            break;
    }
    QImage image = imaging::decodeCmykJpeg(bytes, imaging::ReadLimits::forThisMachine(),
                                           imaging::defaultCmykProfile(), denominator);
    const QSize target = ThumbnailReader::scaledSize(image.size(), edge);
    if (target != image.size())
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return imaging::oriented(image, transformation);
}

} // namespace

QImage ThumbnailReader::read(QFile* file, int edge)
{
    const bool cmyk = imaging::isCmykJpeg(file);
    if (!file->seek(0))
        return QImage();
    if (cmyk)
        return readCmykScaled(file, edge);
    QImageReader reader(file);
    reader.setAutoTransform(true);
    const imaging::DecodeVerdict verdict = imaging::DecodeGuard().judge(reader, QSize(edge, edge));
    if (!verdict.allowed())
        return QImage();
    const QSize fullSize = verdict.declared;
    if (fullSize.isValid()) {
        // The scaled size applies before the orientation is, and fitting a square box does not
        // care which way the picture is turned.
        reader.setScaledSize(scaledSize(fullSize, edge));
        // Thumbnails are shown, and shared, in sRGB.
        return imaging::displayColours(reader.read());
    }
    // Formats that cannot tell their size up front are decoded whole, then reduced.
    const QImage image = imaging::displayColours(reader.read());
    if (image.isNull())
        return image;
    const QSize target = scaledSize(image.size(), edge);
    return target == image.size()
        ? image
        : image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QSize ThumbnailReader::scaledSize(const QSize& fullSize, int edge)
{
    if (fullSize.isEmpty() || (fullSize.width() <= edge && fullSize.height() <= edge))
        return fullSize;
    const QSize scaled = fullSize.scaled(edge, edge, Qt::KeepAspectRatio);
    // A very long strip still keeps one pixel across.
    return scaled.expandedTo(QSize(1, 1));
}
