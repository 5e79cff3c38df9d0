#include "support/lumotest.h"

#include "imaging/canvasinsert.h"
#include "imaging/canvasresize.h"
#include "imaging/depthconversion.h"
#include "imaging/rotation.h"

#include <QPainter>

Q_DECLARE_METATYPE(QImage::Format)

namespace {

// A picture with no two pixels alike, so that any shift shows.
QImage numbered(const QSize& size, QImage::Format format)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * 7 + y * 13) % 256));
    }
    return image.convertToFormat(format);
}

QRgb zeroPixel(const QImage& like)
{
    QImage zero(1, 1, like.format());
    zero.setColorTable(like.colorTable());
    zero.fill(0);
    return zero.pixel(0, 0);
}

// Flat, a tile repeating every 16 pixels (ordered dithering), or irregular (diffusion).
enum Pattern { Flat, Tiled, Irregular };

Pattern patternOf(const QImage& image)
{
    bool flat = true;
    bool tiled = true;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            flat = flat && p == image.pixel(0, 0);
            tiled = tiled && p == image.pixel(x % 16, y % 16);
        }
    }
    return flat ? Flat : tiled ? Tiled : Irregular;
}

} // namespace

// Rotation, cutting and extending, insertion, depth conversion and new pictures.
class TestCanvasOperations : public QObject
{
    Q_OBJECT

private slots:
    void alignedOffset_data();
    void alignedOffset();
    void cutOrExtend_data();
    void cutOrExtend();
    void rotation_data();
    void rotation();
    void insert_data();
    void insert();
    void depthConversion_data();
    void depthConversion();
    void newImage_data();
    void newImage();
};

void TestCanvasOperations::alignedOffset_data()
{
    QTest::addColumn<int>("sourceLength");
    QTest::addColumn<int>("newLength");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("offset");

    QTest::newRow("centre 101 into 100: 0.5 up to 1") << 101 << 100 << 1 << 1;
    QTest::newRow("centre 100 into 120") << 100 << 120 << 1 << -10;
    QTest::newRow("centre 100 into 101: -0.5 up to 0") << 100 << 101 << 1 << 0;
    QTest::newRow("centre 100 into 103: -1.5 up to -1") << 100 << 103 << 1 << -1;
    QTest::newRow("end 100 into 120") << 100 << 120 << 2 << -20;
    QTest::newRow("start") << 100 << 120 << 0 << 0;
    QTest::newRow("no row: start") << 100 << 120 << -1 << 0;
}

void TestCanvasOperations::alignedOffset()
{
    QFETCH(int, sourceLength);
    QFETCH(int, newLength);
    QFETCH(int, row);
    QFETCH(int, offset);
    QCOMPARE(imaging::alignedOffset(sourceLength, newLength, imaging::alignmentForRow(row)),
             offset);
}

void TestCanvasOperations::cutOrExtend_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QSize>("newSize");
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<QPoint>("origin"); // where the result begins in the source, per alignment

    QTest::newRow("grow 100 to 120 centred: at 10,10")
        << QImage::Format_RGB32 << QSize(120, 120) << false << QPoint(-10, -10);
    QTest::newRow("transparent extension") << QImage::Format_ARGB32 << QSize(130, 90) << false
                                           << QPoint(-15, 5);
    QTest::newRow("indexed: index 0") << QImage::Format_Indexed8 << QSize(117, 103) << false
                                      << QPoint(-8, -1);
    QTest::newRow("mono: odd bit shift") << QImage::Format_Mono << QSize(107, 100) << false
                                         << QPoint(-3, 0);
    QTest::newRow("kept within 8200 by 1")
        << QImage::Format_RGB32 << QSize(9000, 0) << false << QPoint(-4050, 50);
    QTest::newRow("stretch") << QImage::Format_RGB32 << QSize(300, 7) << true << QPoint();
}

void TestCanvasOperations::cutOrExtend()
{
    QFETCH(QImage::Format, format);
    QFETCH(QSize, newSize);
    QFETCH(bool, stretch);
    QFETCH(QPoint, origin);
    const QImage source = numbered(QSize(100, 100), format);
    const QSize expectedSize = newSize.boundedTo(QSize(imaging::maximumSide, imaging::maximumSide))
                                   .expandedTo(QSize(1, 1));
    if (stretch) {
        QCOMPARE(imaging::stretched(source, newSize).size(), expectedSize);
        return;
    }
    const QImage result = imaging::cutOrExtend(source, newSize, imaging::Alignment::Center,
                                               imaging::Alignment::Center);
    QCOMPARE(result.size(), expectedSize);
    QCOMPARE(result.format(), format);
    const QRgb zero = zeroPixel(source);
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            const QPoint from = origin + QPoint(x, y);
            if (result.pixel(x, y) != (source.valid(from) ? source.pixel(from) : zero))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    }
}

void TestCanvasOperations::rotation_data()
{
    QTest::addColumn<int>("halfDegrees");
    QTest::addColumn<bool>("smooth");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("cornerTo"); // where the source's top-left pixel lands

    QTest::newRow("720: a full turn") << 720 << false << QSize(60, 40) << QPoint(0, 0);
    QTest::newRow("720 smooth") << 720 << true << QSize(60, 40) << QPoint(0, 0);
    QTest::newRow("90 clockwise") << 180 << false << QSize(40, 60) << QPoint(39, 0);
    QTest::newRow("270 smooth") << 540 << true << QSize(40, 60) << QPoint(0, 59);
}

void TestCanvasOperations::rotation()
{
    QFETCH(int, halfDegrees);
    QFETCH(bool, smooth);
    QFETCH(QSize, size);
    QFETCH(QPoint, cornerTo);
    const QImage source = numbered(QSize(60, 40), QImage::Format_RGB32);
    const QImage result = imaging::rotated(source, imaging::rotationAngle(halfDegrees), smooth);
    QCOMPARE(result.size(), size);
    QCOMPARE(result.pixel(cornerTo), source.pixel(0, 0));
    if (size == source.size())
        QCOMPARE(result.convertToFormat(source.format()), source);
}

void TestCanvasOperations::insert_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QRect>("placement");
    QTest::addColumn<bool>("enlarge");
    QTest::addColumn<QSize>("size");

    QTest::newRow("50 at 80,80 enlarged: 130x130")
        << QImage::Format_RGB32 << QRect(80, 80, 50, 50) << true << QSize(130, 130);
    QTest::newRow("not enlarged: top-left 20x20 shows")
        << QImage::Format_RGB32 << QRect(80, 80, 50, 50) << false << QSize(100, 100);
    QTest::newRow("twice the size") << QImage::Format_ARGB32 << QRect(10, 0, 100, 100) << true
                                    << QSize(110, 100);
    QTest::newRow("indexed painted in 32 bits")
        << QImage::Format_Indexed8 << QRect(80, 80, 50, 50) << true << QSize(130, 130);
    QTest::newRow("mono painted in 32 bits")
        << QImage::Format_Mono << QRect(30, 20, 50, 50) << false << QSize(100, 100);
}

void TestCanvasOperations::insert()
{
    QFETCH(QImage::Format, format);
    QFETCH(QRect, placement);
    QFETCH(bool, enlarge);
    QFETCH(QSize, size);
    const QImage source = numbered(QSize(100, 100), format);
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
    QCOMPARE(result.pixel(placement.topLeft() - QPoint(1, 0)),
             source.pixel(placement.topLeft() - QPoint(1, 0)));
    const QPoint grown(size.width() - 1, 0);
    if (size.width() > source.width() && !placement.contains(grown))
        QCOMPARE(result.pixel(grown), zeroPixel(source));
    QCOMPARE(imaging::maximumInsertPosition(50), 8150);
}

void TestCanvasOperations::depthConversion_data()
{
    QTest::addColumn<int>("depthRow");
    QTest::addColumn<int>("ditherRow");
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<int>("pattern"); // what a flat mid grey becomes

    QTest::newRow("8 bits ordered: indexed") << 1 << 1 << QImage::Format_Indexed8 << int(Flat);
    QTest::newRow("1 bit ordered") << 0 << 1 << QImage::Format_Mono << int(Tiled);
    QTest::newRow("1 bit no dither") << 0 << 2 << QImage::Format_Mono << int(Flat);
    QTest::newRow("no rows: 1 bit diffuse") << -1 << -1 << QImage::Format_Mono << int(Irregular);
    QTest::newRow("32 bits") << 2 << 0 << QImage::Format_RGB32 << int(Flat);
}

void TestCanvasOperations::depthConversion()
{
    QFETCH(int, depthRow);
    QFETCH(int, ditherRow);
    QFETCH(QImage::Format, format);
    QFETCH(int, pattern);
    QImage grey(64, 64, QImage::Format_ARGB32);
    grey.fill(qRgba(120, 120, 120, 100));
    const QImage result = imaging::convertDepth(grey, depthRow, ditherRow);
    QCOMPARE(result.format(), format);
    QCOMPARE(int(patternOf(result)), pattern);
}

void TestCanvasOperations::newImage_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QRgb>("fill");
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QRgb>("expected");

    QTest::newRow("1 bit white") << 0 << 0xffffffffu << QImage::Format_Mono << 0xffffffffu;
    QTest::newRow("1 bit black") << 0 << 0xff000000u << QImage::Format_Mono << 0xff000000u;
    QTest::newRow("1 bit light red: white") << 0 << 0xffff9090u << QImage::Format_Mono
                                            << 0xffffffffu;
    QTest::newRow("8 bits") << 1 << 0xff336699u << QImage::Format_Indexed8 << 0xff336699u;
    QTest::newRow("32 bits opaque") << 2 << 0x80336699u << QImage::Format_RGB32 << 0xff336699u;
    QTest::newRow("no row: 32 bits") << -1 << 0xff336699u << QImage::Format_RGB32
                                     << 0xff336699u;
}

void TestCanvasOperations::newImage()
{
    QFETCH(int, row);
    QFETCH(QRgb, fill);
    QFETCH(QImage::Format, format);
    QFETCH(QRgb, expected);
    const QImage image = imaging::newImage(QSize(33, 17), imaging::newImageDepthForRow(row), fill);
    QCOMPARE(image.format(), format);
    QCOMPARE(int(patternOf(image)), int(Flat));
    QCOMPARE(QString::number(image.pixel(32, 16), 16), QString::number(expected, 16));
    QVERIFY(imaging::newImage(QSize(0, 5), 32, fill).isNull());
}

LUMO_TEST_MAIN(TestCanvasOperations)
#include "tst_canvasoperations.moc"
