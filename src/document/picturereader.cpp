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
bool isCmykJpegFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && imaging::isCmykJpeg(&file);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

PictureReader::Result PictureReader::read(const QString& path, const imaging::ReadLimits& limits)
{
    Result result;
    // Opening a pipe waits for a writer, a device may never end: only regular files are pictures.
    if (!QFileInfo(path).isFile())
        return result;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // Formats whose handler cannot tell the size in advance are left to their own checks; a
    // refusal of any kind still ends as a null image below.
    if (!imaging::DecodeGuard(limits).judge(reader).allowed())
        return result;
    QImage image;
    if (isCmykJpegFile(path)) {
        image = imaging::decodeCmykJpeg(fileBytes(path), limits, imaging::defaultCmykProfile());
        image = imaging::oriented(image, reader.transformation());
    } else if (!reader.read(&image)) {
        return result;
    }
    if (image.isNull())
        return result;
    result.image = image;
    result.format = QString::fromLocal8Bit(QImageReader::imageFormat(path));
    result.format.remove(QLatin1String("RAW"));
    if (imaging::needsDisplayConversion(image))
        result.display = imaging::displayColours(image);
    return result;
}

PictureReader::StandIn PictureReader::readScaled(const QString& path, const ShownSize& shownSize,
                                                 const imaging::ReadLimits& limits)
{
    StandIn standIn;
    if (!shownSize || !QFileInfo(path).isFile())
        return standIn;
    QImageReader reader(path);
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
    if (isCmykJpegFile(path)) {
        // The decoder scales by eighths: the smallest that still covers the shown size.
        const QByteArray bytes = fileBytes(path);
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
        reader.setScaledSize(turned ? shown.transposed() : shown);
        if (!reader.read(&image))
            return standIn;
    }
    if (image.isNull())
        return standIn;
    standIn.image = imaging::displayColours(image);
    standIn.pictureSize = oriented;
    return standIn;
}
