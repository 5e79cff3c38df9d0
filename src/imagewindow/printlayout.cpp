#include "imagewindow/printlayout.h"

#include <QtGui/qtguiglobal.h>

#include <cmath>

// Qt's own notion of the screen resolution, the one image sizes on screen are based on.
Q_GUI_EXPORT int qt_defaultDpi();

namespace PrintLayout {

namespace {

constexpr double millimetresPerInch = 25.4;

} // namespace

int screenDpi()
{
    return qt_defaultDpi();
}

QSize millimetresFromPixels(const QSize& pixels, int dpi)
{
    if (dpi <= 0)
        return QSize();
    return QSize(qRound(pixels.width() * millimetresPerInch / dpi),
                 qRound(pixels.height() * millimetresPerInch / dpi));
}

QSizeF printerSizeFromPixels(const QSize& pixels, int printerResolution, int dpi)
{
    if (dpi <= 0)
        return QSizeF();
    return QSizeF(qRound(double(pixels.width()) * printerResolution / dpi),
                  qRound(double(pixels.height()) * printerResolution / dpi));
}

QSizeF printerSizeFromMillimetres(const QSize& millimetres, int printerResolution)
{
    return QSizeF(qRound(double(millimetres.width()) * printerResolution / millimetresPerInch),
                  qRound(double(millimetres.height()) * printerResolution / millimetresPerInch));
}

QRect fittedRect(const QSize& image, const QRect& viewport)
{
    const QSize size = image.scaled(viewport.size(), Qt::KeepAspectRatio);
    return QRect(qAbs((viewport.width() - size.width()) / 2),
                 qAbs((viewport.height() - size.height()) / 2), size.width(), size.height());
}

TileGrid::TileGrid(const QSizeF& imageSize, const QSizeF& printSize, const QSizeF& pageSize)
    : m_printSize(printSize), m_pageSize(pageSize)
{
    if (imageSize.isEmpty() || printSize.isEmpty() || pageSize.isEmpty())
        return;
    m_sx = imageSize.width() / printSize.width();
    m_sy = imageSize.height() / printSize.height();
    m_columns = int(std::ceil(printSize.width() / pageSize.width()));
    m_rows = int(std::ceil(printSize.height() / pageSize.height()));
}

Tile TileGrid::tile(int row, int column) const
{
    const double pageWidth = m_pageSize.width();
    const double pageHeight = m_pageSize.height();
    const double width =
        column == m_columns - 1 ? m_printSize.width() - column * pageWidth : pageWidth;
    const double height = row == m_rows - 1 ? m_printSize.height() - row * pageHeight : pageHeight;
    return {QRectF(column * pageWidth * m_sx, row * pageHeight * m_sy, width * m_sx, height * m_sy),
            QRectF(0, 0, width, height)};
}

} // namespace PrintLayout
