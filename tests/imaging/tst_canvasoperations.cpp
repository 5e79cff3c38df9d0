#include "support/lumotest.h"

#include "imaging/canvasinsert.h"
#include "imaging/canvasresize.h"
#include "imaging/depthconversion.h"

#include <QPainter>

namespace {

// A 100 x 100 picture with no two neighbouring pixels alike, so that any shift shows.
QImage numbered(QImage::Format format)
{
    return lumotest::rampImage({100, 100}).convertToFormat(format);
}

QRgb zeroPixel(const QImage& like)
{
    QImage zero(1, 1, like.format());
    zero.setColorTable(like.colorTable());
    zero.fill(0);
    return zero.pixel(0, 0);
}

} // namespace

// Cutting and extending, insertion and new pictures.
class TestCanvasOperations : public QObject
{
    Q_OBJECT

private slots:
    void cutOrExtend_data() { lumotest::addRows(QStringLiteral("cutorextend.txt")); }

    void cutOrExtend()
    {
        QFETCH(int, format);
        QFETCH(QSize, newSize);
        QFETCH(int, alignRow);
        QFETCH(QVector<int>, origin);
        const QImage source = numbered(QImage::Format(format));
        const imaging::Alignment alignment = imaging::alignmentForRow(alignRow);
        const QImage result = imaging::cutOrExtend(source, newSize, alignment, alignment);
        QCOMPARE(result.size(), newSize.boundedTo(QSize(8200, 8200)).expandedTo(QSize(1, 1)));
        QCOMPARE(int(result.format()), format);
        QImage expected(result.size(), QImage::Format_ARGB32); // new pixels are the zero pixel
        expected.fill(zeroPixel(source));
        const QPoint at(-origin.value(0), -origin.value(1));
        QPainter(&expected).drawImage(at, source.convertToFormat(QImage::Format_ARGB32));
        QCOMPARE(result.convertToFormat(QImage::Format_ARGB32), expected);
    }

    void insert_data() { lumotest::addRows(QStringLiteral("insert.txt")); }

    void insert()
    {
        QFETCH(int, format);
        QFETCH(QVector<int>, cells);
        QFETCH(bool, enlarge);
        QFETCH(QSize, size);
        const QRect placement(cells.value(0), cells.value(1), cells.value(2), cells.value(3));
        const QImage source = numbered(QImage::Format(format));
        QImage clip(50, 50, QImage::Format_RGB32); // left half red, right half blue
        clip.fill(Qt::blue);
        QPainter(&clip).fillRect(0, 0, 25, 50, Qt::red);

        const QImage result = imaging::insertImage(source, clip, placement, enlarge);
        QCOMPARE(result.size(), size);
        QCOMPARE(result.colorCount(), 0);
        const QRect shown = placement & result.rect();
        QCOMPARE(result.pixelColor(shown.topLeft()), QColor(Qt::red));
        QCOMPARE(result.pixelColor(shown.bottomRight()),
                 QColor(shown.right() < placement.center().x() ? Qt::red : Qt::blue));
        const QPoint left = placement.topLeft() - QPoint(1, 0);
        QCOMPARE(result.pixel(left), source.pixel(left));
        const QPoint grown(size.width() - 1, 0);
        if (size.width() > source.width() && !placement.contains(grown))
            QCOMPARE(result.pixel(grown), zeroPixel(source));
    }

    void newImage_data() { lumotest::addRows(QStringLiteral("newimage.txt")); }

    void newImage()
    {
        QFETCH(int, row);
        QFETCH(QVector<int>, fill);
        QFETCH(int, format);
        QFETCH(QVector<int>, expected);
        const QImage image = imaging::newImage(QSize(33, 17), imaging::newImageDepthForRow(row),
                                               QRgb(fill.value(0)));
        QCOMPARE(int(image.format()), format);
        QImage uniform(image.size(), QImage::Format_ARGB32); // no dithering
        uniform.fill(QRgb(expected.value(0)));
        QCOMPARE(image.convertToFormat(QImage::Format_ARGB32), uniform);
    }
};

LUMO_TEST_MAIN(TestCanvasOperations)
#include "tst_canvasoperations.moc"
