#include "document/picturereader.h"

#include "imaging/cmykjpeg.h"
#include "imaging/decodeguard.h"
#include "imaging/displaycolours.h"
#include "imaging/rotation.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

// Qt's own JPEG reader turns CMYK into RGB by the plain ink formula, without the profile.
// Looks from the start and leaves the file where a reader sharing it had got to.
bool isCmykJpegFile(QFile* file)
{
    const qint64 at = file->pos();
    const bool cmyk = file->seek(0) && imaging::isCmykJpeg(file);
    file->seek(at);
    return cmyk;
}

QByteArray fileBytes(QFile* file)
{
    return file->seek(0) ? file->readAll() : QByteArray();
}

} // namespace

PictureReader::Result PictureReader::read(const QString& path, const imaging::ReadLimits& limits)
{
    // Opening a pipe waits for a writer, a device may never end: only regular files are pictures.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return Result();
    return read(&file, limits);
}

PictureReader::Result PictureReader::read(QFile* file, const imaging::ReadLimits& limits,
                                          const Canvas& canvas)
{
    Result result;
    QImageReader reader(file);
    reader.setAutoTransform(true);
    // Formats whose handler cannot tell the size in advance are left to their own checks; a
    // refusal of any kind still ends as a null image below.
    const imaging::DecodeVerdict verdict = imaging::DecodeGuard(limits).judge(reader);
    if (!verdict.allowed())
        return result;
    QImage image;
    if (isCmykJpegFile(file)) {
        image = imaging::decodeCmykJpeg(fileBytes(file), limits, imaging::defaultCmykProfile());
        image = imaging::oriented(image, reader.transformation());
    } else {
        if (canvas && verdict.declared.isValid())
            image = canvas(verdict.declared, reader.imageFormat());
        if (!reader.read(&image))
            return result;
    }
    if (image.isNull())
        return result;
    result.image = image;
    result.format = file->seek(0) ? QString::fromLocal8Bit(QImageReader::imageFormat(file))
                                  : QString();
    result.format.remove(QLatin1String("RAW"));
    if (imaging::needsDisplayConversion(image))
        result.display = imaging::displayColours(image);
    return result;
}

PictureReader::StandIn PictureReader::readScaled(const QString& path, const ShownSize& shownSize,
                                                 const imaging::ReadLimits& limits)
{
    QFile file(path);
    if (!shownSize || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return StandIn();
    return readScaled(&file, shownSize, limits);
}

PictureReader::StandIn PictureReader::readCorner(QFile* file, const QSize& area,
                                                 const imaging::ReadLimits& limits)
{
    StandIn corner;
    if (area.isEmpty() || isCmykJpegFile(file))
        return corner;
    QImageReader reader(file);
    reader.setAutoTransform(true);
    const imaging::DecodeVerdict verdict = imaging::DecodeGuard(limits).judge(reader);
    const QSize stored = verdict.declared;
    // A turned picture's top left corner lies elsewhere in the file; a decoder that cannot stop
    // early would read the whole picture for it.
    if (!verdict.allowed() || !stored.isValid() || !reader.supportsOption(QImageIOHandler::ClipRect)
        || reader.transformation() != QImageIOHandler::TransformationNone
        || (stored.width() <= area.width() && stored.height() <= area.height()))
        return corner;
    reader.setClipRect(QRect(QPoint(0, 0), stored.boundedTo(area)));
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.width() > area.width()
        || image.height() > area.height())
        return corner;
    corner.image = imaging::displayColours(image);
    corner.pictureSize = stored;
    corner.corner = true;
    return corner;
}

QSize PictureReader::jpegStandInSize(const QSize& stored, const QSize& wanted)
{
    for (int denominator = 8; denominator >= 2; denominator /= 2) {
        const QSize decoded((stored.width() + denominator - 1) / denominator,
                            (stored.height() + denominator - 1) / denominator);
        if (decoded.width() >= wanted.width() && decoded.height() >= wanted.height())
            return wanted;
        if (decoded.width() * 10 >= wanted.width() * 9
            && decoded.height() * 10 >= wanted.height() * 9)
            return decoded;
    }
    return wanted;
}

PictureReader::StandIn PictureReader::readScaled(QFile* file, const ShownSize& shownSize,
                                                 const imaging::ReadLimits& limits)
{
    StandIn standIn;
    if (!shownSize)
        return standIn;
    QImageReader reader(file);
    reader.setAutoTransform(true);
    // Judged at full size: a picture whose full read would be refused needs no quick look.
    const imaging::DecodeVerdict verdict = imaging::DecodeGuard(limits).judge(reader);
    const QSize stored = verdict.declared;
    if (!verdict.allowed() || !stored.isValid())
        return standIn;
    // The scaled size applies before the stored orientation turns the picture.
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize oriented = turned ? stored.transposed() : stored;
    const QSize shown = shownSize(oriented);
    if (!shown.isValid() || shown.width() >= oriented.width())
        return standIn;
    QImage image;
    if (isCmykJpegFile(file)) {
        // The decoder scales by eighths: the smallest that still covers the shown size.
        const QByteArray bytes = fileBytes(file);
        const QSize wanted = turned ? shown.transposed() : shown;
        int denominator = 8;
        for (; denominator > 1; denominator /= 2) {
            const QSize decoded = imaging::cmykJpegSize(bytes, denominator);
            if (decoded.width() >= wanted.width() && decoded.height() >= wanted.height())
                break;
        }
        image = imaging::decodeCmykJpeg(bytes, limits, imaging::defaultCmykProfile(), denominator)
                    .scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image = imaging::oriented(image, reader.transformation());
    } else {
        const QSize wanted = turned ? shown.transposed() : shown;
        reader.setScaledSize(reader.format() == "jpeg" ? jpegStandInSize(stored, wanted) : wanted);
        if (!reader.read(&image))
            return standIn;
    }
    if (image.isNull())
        return standIn;
    standIn.image = imaging::displayColours(image);
    standIn.pictureSize = oriented;
    return standIn;
}
