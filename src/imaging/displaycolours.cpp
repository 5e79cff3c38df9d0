#include "imaging/displaycolours.h"

#include <QColorSpace>
#include <QColorTransform>

#include <cstdlib>

namespace imaging {

namespace {

// Levels apart on any channel.
int distance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// Whether the transform leaves each of the colours within two levels.
bool keeps(const QColorTransform& transform, std::initializer_list<QRgb> colours)
{
    for (const QRgb colour : colours) {
        if (distance(transform.map(colour), colour) > 2)
            return false;
    }
    return true;
}

} // namespace

bool isSrgbLike(const QColorSpace& space)
{
    const QColorSpace srgb(QColorSpace::SRgb);
    if (space == srgb)
        return true;
    // The gamut first, with sRGB's curve put in so that only primaries and white count.
    QColorSpace sameCurve = space;
    sameCurve.setTransferFunction(QColorSpace::TransferFunction::SRgb);
    if (!keeps(sameCurve.transformationToColorSpace(srgb),
               {qRgb(60, 140, 200), qRgb(200, 150, 120), qRgb(40, 200, 40), qRgb(200, 40, 40),
                qRgb(120, 60, 180), qRgb(230, 220, 90)}))
        return false;
    switch (space.transferFunction()) {
    case QColorSpace::TransferFunction::SRgb:
        return true;
    case QColorSpace::TransferFunction::Gamma:
        return std::abs(space.gamma() - 2.2f) < 0.05f;
    case QColorSpace::TransferFunction::Custom:
        // A curve given as a table, as ICC profiles of sRGB give it.
        return keeps(space.transformationToColorSpace(srgb),
                     {qRgb(8, 8, 8), qRgb(30, 30, 30), qRgb(64, 64, 64), qRgb(128, 128, 128),
                      qRgb(200, 200, 200)});
    default:
        return false;
    }
}

bool needsDisplayConversion(const QImage& image)
{
    const QColorSpace space = image.colorSpace();
    return !image.isNull() && space.isValid() && !isSrgbLike(space);
}

QImage displayColours(const QImage& image)
{
    if (!needsDisplayConversion(image))
        return image;
    if (image.colorCount() > 0) {
        // Qt's own pass gets one-bit pictures wrong; their colours are all in the table anyway.
        const QColorTransform transform =
            image.colorSpace().transformationToColorSpace(QColorSpace::SRgb);
        QVector<QRgb> table = image.colorTable();
        for (QRgb& colour : table)
            colour = (transform.map(colour) & 0x00FFFFFFu) | (colour & 0xFF000000u);
        QImage shown = image;
        shown.setColorTable(table);
        shown.setColorSpace(QColorSpace(QColorSpace::SRgb));
        return shown;
    }
    return image.convertedToColorSpace(QColorSpace::SRgb);
}

} // namespace imaging
