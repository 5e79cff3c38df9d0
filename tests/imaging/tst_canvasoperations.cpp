#include "support/lumotest.h"

#include "imaging/canvasinsert.h"
#include "imaging/canvasresize.h"
#include "imaging/depthconversion.h"

#include <QPainter>

Q_DECLARE_METATYPE(QImage::Format)

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
    void cutOrExtend_data()
    {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<QSize>("newSize");
        QTest::addColumn<int>("alignRow");  // for both axes
        QTest::addColumn<QPoint>("origin"); // where the result begins in the 100 x 100 source
        const QImage::Format rgb = QImage::Format_RGB32;
        QTest::newRow("grow to 120 centred: at 10,10")
            << rgb << QSize(120, 120) << 1 << QPoint(-10, -10);
        QTest::newRow("centre into 99: 0.5 up to 1") << rgb << QSize(99, 99) << 1 << QPoint(1, 1);
        QTest::newRow("end") << rgb << QSize(120, 90) << 2 << QPoint(-20, 10);
        QTest::newRow("indexed target: index 0, -1.5 up to -1")
            << QImage::Format_Indexed8 << QSize(117, 103) << 1 << QPoint(-8, -1);
        QTest::newRow("kept within 8200 by 1") << rgb << QSize(9000, 0) << 1 << QPoint(-4050, 50);
    }

    void cutOrExtend()
    {
        QFETCH(QImage::Format, format);
        QFETCH(QSize, newSize);
        QFETCH(int, alignRow);
        QFETCH(QPoint, origin);
        const QImage source = numbered(format);
        const imaging::Alignment alignment = imaging::alignmentForRow(alignRow);
        const QImage result = imaging::cutOrExtend(source, newSize, alignment, alignment);
        QCOMPARE(result.size(), newSize.boundedTo(QSize(8200, 8200)).expandedTo(QSize(1, 1)));
        QCOMPARE(result.format(), format);
        QImage expected(result.size(), QImage::Format_ARGB32); // new pixels are the zero pixel
        expected.fill(zeroPixel(source));
        QPainter(&expected).drawImage(-origin, source.convertToFormat(QImage::Format_ARGB32));
        QCOMPARE(result.convertToFormat(QImage::Format_ARGB32), expected);
    }

    void insert_data()
    {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<QRect>("placement");
        QTest::addColumn<bool>("enlarge");
        QTest::addColumn<QSize>("size");
        QTest::newRow("50 at 80,80 enlarged: 130x130")
            << QImage::Format_RGB32 << QRect(80, 80, 50, 50) << true << QSize(130, 130);
        QTest::newRow("not enlarged: top-left 20x20 shows")
            << QImage::Format_RGB32 << QRect(80, 80, 50, 50) << false << QSize(100, 100);
        QTest::newRow("twice the size")
            << QImage::Format_ARGB32 << QRect(10, 0, 100, 100) << true << QSize(110, 100);
        QTest::newRow("indexed painted in 32 bits")
            << QImage::Format_Indexed8 << QRect(80, 80, 50, 50) << true << QSize(130, 130);
    }

    void insert()
    {
        QFETCH(QImage::Format, format);
        QFETCH(QRect, placement);
        QFETCH(bool, enlarge);
        QFETCH(QSize, size);
        const QImage source = numbered(format);
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
