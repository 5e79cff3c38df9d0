#include "document/picturereader.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace {

// The decoded depth to budget for: at least 32 bits, more for deep formats.
int budgetBitsPerPixel(QImage::Format announced)
{
    if (announced == QImage::Format_Invalid)
        return 32;
    return std::max(32, int(QImage::toPixelFormat(announced).bitsPerPixel()));
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
    const QSize announced = reader.size();
    if (announced.isValid()
        && !limits.fits(announced, budgetBitsPerPixel(reader.imageFormat())))
        return result;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return result;
    result.image = image;
    result.format = QString::fromLocal8Bit(QImageReader::imageFormat(path));
    result.format.remove(QLatin1String("RAW"));
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
    const QSize stored = reader.size();
    if (!stored.isValid() || !limits.fits(stored, budgetBitsPerPixel(reader.imageFormat())))
        return standIn;
    // The scaled size applies before the stored orientation turns the picture.
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize oriented = turned ? stored.transposed() : stored;
    const QSize shown = shownSize(oriented);
    if (!shown.isValid() || shown.width() >= oriented.width())
        return standIn;
    reader.setScaledSize(turned ? shown.transposed() : shown);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return standIn;
    standIn.image = image;
    standIn.pictureSize = oriented;
    return standIn;
}
