#include "imaging/displaycolours.h"

#include <QColorSpace>

namespace imaging {

bool needsDisplayConversion(const QImage& image)
{
    const QColorSpace space = image.colorSpace();
    return !image.isNull() && space.isValid() && space != QColorSpace(QColorSpace::SRgb);
}

QImage displayColours(const QImage& image)
{
    if (!needsDisplayConversion(image))
        return image;
    return image.convertedToColorSpace(QColorSpace::SRgb);
}

} // namespace imaging
