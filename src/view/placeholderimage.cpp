#include "view/placeholderimage.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace {

const int placeholderSize = 128;

} // namespace

QImage placeholderImage()
{
    const QPixmap icon = QIcon::fromTheme(QStringLiteral("image-missing"))
                             .pixmap(placeholderSize, placeholderSize);
    // A theme with small bitmaps only still gives a placeholder of the usual size.
    if (!icon.isNull())
        return icon.toImage().scaled(placeholderSize, placeholderSize, Qt::KeepAspectRatio,
                                     Qt::SmoothTransformation);
    QImage image(placeholderSize, placeholderSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::lightGray);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::darkRed, 8));
    const int inset = placeholderSize / 4;
    painter.drawLine(inset, inset, placeholderSize - inset, placeholderSize - inset);
    painter.drawLine(placeholderSize - inset, inset, inset, placeholderSize - inset);
    painter.setPen(QPen(Qt::darkGray, 4));
    painter.drawRect(image.rect().adjusted(2, 2, -2, -2));
    return image;
}
