#include "support/lumotest.h"

#include "view/showncanvas.h"
#include "view/smark.h"

namespace {

// Columns of four colours, one picture pixel wide each, so a blurred or doubled pixel shows.
QImage stripes(const QSize& size)
{
    static const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                   qRgb(255, 255, 255)};
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = colours[x % 4];
    }
    return image;
}

} // namespace

// The canvas on a screen of two device pixels to the logical one: zoom counts device pixels,
// the mouse and the selection still count picture pixels.
class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    // The canvas of a picture at 100 % on screens of each ratio.
    void canvasSize_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<QSize>("canvas");
        QTest::newRow("ratio 2 takes half") << QSize(640, 480) << 2.0 << QSize(320, 240);
        QTest::newRow("odd sides round to the nearest") << QSize(101, 77) << 2.0 << QSize(51, 39);
        QTest::newRow("no ratio is taken as 1") << QSize(64, 48) << 0.0 << QSize(64, 48);
        QTest::newRow("empty picture") << QSize(0, 0) << 2.0 << QSize(0, 0);
    }

    void canvasSize()
    {
        QFETCH(QSize, picture);
        QFETCH(double, ratio);
        QFETCH(QSize, canvas);
        QCOMPARE(SPic::canvasSizeFor(picture, 1.0, ratio), canvas);
    }

    // At 100 % each picture pixel takes one device pixel, and a selection drawn with the mouse
    // covers the picture pixels under it.
    void onePicturePixelPerDevicePixel()
    {
        const auto canvas = makeCanvas(stripes(QSize(100, 80)), 1.0);
        SPic& pic = *canvas;
        QCOMPARE(pic.devicePixelRatioF(), 2.0);
        const QImage grabbed = pic.grab().toImage();
        QCOMPARE(grabbed.size(), QSize(600, 600));
        // The picture lies centred, at (125, 130) logical: (250, 260) in device pixels.
        const QPoint origin(250, 260);
        for (int x = 0; x < 8; ++x)
            QCOMPARE(grabbed.pixel(origin + QPoint(x, 5)), stripes(QSize(8, 1)).pixel(x, 0));
        // Twenty logical pixels across are forty picture pixels, and the mark covers them.
        drawSelection(&pic, QPoint(130, 135), QPoint(150, 145));
        QCOMPARE(pic.selection(), QRect(10, 10, 40, 20));
        QCOMPARE(pic.mark()->geometry(), QRect(130, 135, 20, 10));
        pic.setSelection(QRect(0, 0, 100, 80));
        QCOMPARE(pic.mark()->geometry(), QRect(125, 130, 50, 40));
    }
};

int main(int argc, char** argv)
{
    // A screen of twice the density, as the program sets itself up for one.
    qputenv("QT_SCALE_FACTOR", "2");
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    lumotest::IsolatedHome home;
    QApplication app(argc, argv);
    lumotest::initApplication();
    TestHighDpi test;
    QTEST_SET_MAIN_SOURCE_PATH
    const int result = QTest::qExec(&test, argc, argv);
    lumotest::flushSettings();
    return result;
}

#include "tst_highdpi.moc"
