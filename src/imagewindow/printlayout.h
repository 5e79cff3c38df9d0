#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>

// Where a picture goes on paper: sizes in millimetres and printer units, the picture fitted
// into a page, and the tiles of a picture larger than one page. Values only, so they are
// checked without a printer.
namespace PrintLayout {

// One page of a tiled print: a part of the picture and where it lands on its page.
struct Tile
{
    QRectF source; // image pixels
    QRectF target; // printer units, from the page's top left corner
};

// The resolution pictures are shown at on screen, in dots per inch.
int screenDpi();

// The size in whole millimetres of pixels shown at dpi.
QSize millimetresFromPixels(const QSize& pixels, int dpi);

// Printer units for a picture printed at its screen size.
QSizeF printerSizeFromPixels(const QSize& pixels, int printerResolution, int dpi);

// Printer units for a print size in millimetres.
QSizeF printerSizeFromMillimetres(const QSize& millimetres, int printerResolution);

// The picture scaled into the viewport with its aspect ratio kept, centred on the page.
QRect fittedRect(const QSize& image, const QRect& viewport);

// An image printed at printSize on pages of pageSize (both in printer units), cut into a grid of
// page-sized tiles; the last column and the last row hold the remainders. Tiles are computed
// on demand: a very large print size must not cost memory before the first page.
class TileGrid
{
public:
    // No tiles when any of the sizes is empty.
    TileGrid(const QSizeF& imageSize, const QSizeF& printSize, const QSizeF& pageSize);

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    qint64 count() const { return qint64(m_columns) * m_rows; }
    // Tiles are printed row by row, left to right.
    Tile tile(int row, int column) const;

private:
    QSizeF m_printSize;
    QSizeF m_pageSize;
    double m_sx = 0;
    double m_sy = 0;
    int m_columns = 0;
    int m_rows = 0;
};

} // namespace PrintLayout
