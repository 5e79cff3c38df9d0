#include "support/lumotest.h"

#include "document/prescaledimage.h"
#include "view/showncanvas.h"
#include "view/smark.h"
#include "view/spic.h"

#include <QContextMenuEvent>
#include <QPainter>
#include <QSignalSpy>

#include <cmath>

namespace {

QImage filled(QImage::Format format, const QColor& colour, const QSize& size = QSize(100, 80))
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return format == QImage::Format_Indexed8
               ? image.convertToFormat(format, QVector<QRgb>{colour.rgba()})
               : image.convertToFormat(format);
}

int wave(int at, int period)
{
    return qRound(127.5 + 127.5 * std::cos(2.0 * M_PI * at / period));
}

// Smooth waves, steep enough (up to 8 levels a pixel) that a shift by a pixel shows.
QImage waves(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(wave(x, 97), wave(y, 89), wave(x + y, 131));
    }
    return image;
}

// The canvas painted straight from the whole image, as it was before any copy.
QImage paintedFromWhole(const QImage& image, double scale, const QSize& canvas)
{
    QImage shot(canvas, QImage::Format_ARGB32_Premultiplied);
    shot.fill(Qt::transparent);
    const QRectF target(SPic::imageRectFor(
        canvas, QSize(qRound(image.width() * scale), qRound(image.height() * scale))));
    const QRectF shown = target.intersected(QRectF(QPointF(0, 0), QSizeF(canvas)));
    QPainter painter(&shot);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, SPic::smoothAt(scale));
    painter.drawImage(shown, image,
                      QRectF((shown.x() - target.x()) / scale, (shown.y() - target.y()) / scale,
                             shown.width() / scale, shown.height() / scale));
    return shot;
}

// The largest difference of a channel between two pictures, inside a rectangle.
int difference(const QImage& a, const QImage& b, const QRect& inside)
{
    const QImage first = a.convertToFormat(QImage::Format_RGB32);
    const QImage second = b.convertToFormat(QImage::Format_RGB32);
    int most = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb p = first.pixel(x, y);
            const QRgb q = second.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return most;
}

// Painting from a smoothed copy differs that little from painting every pixel; shifted by a
// pixel, it differs by 18 levels or more at the scales below.
const int tolerance = 6;

} // namespace

// Drawing, resizing and moving the selection on the canvas, and the texts it reports.
class TestSPic : public QObject
{
    Q_OBJECT

private slots:
    void mouse_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QRect>("selection"); // null: nothing stays selected
        // At scale 1 image pixels are canvas minus (100, 110); Move and handles start from the
        // selection (10, 10, 40, 30), whose inside is gripped at (130, 135).
        const QPoint on(110, 120);
        const QPoint grip(130, 135);
        QTest::newRow("a click without drag clears") << "draw" << on << on << QRect();
        QTest::newRow("a click where a cleared selection was")
            << "after clear" << on << on << QRect();
        QTest::newRow("unselectable ignores a drag")
            << "unselectable" << on << QPoint(150, 150) << QRect();
        QTest::newRow("draw past the far corner to the edge exactly")
            << "draw" << on << QPoint(299, 299) << QRect(10, 10, 90, 70);
        QTest::newRow("draw backwards past the near corner to 0")
            << "draw" << QPoint(150, 150) << QPoint(-40, 2) << QRect(0, 0, 50, 40);
        QTest::newRow("left handle across the anchor flips")
            << "left handle" << QPoint() << QPoint(170, 400) << QRect(50, 10, 20, 30);
        QTest::newRow("move far up and left")
            << "move" << grip << grip - QPoint(500, 500) << QRect(0, 0, 40, 30);
        QTest::newRow("move far down and right")
            << "move" << grip << grip + QPoint(500, 500) << QRect(60, 50, 40, 30);
    }
    void mouse()
    {
        QFETCH(QString, gesture);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QRect, selection);
        auto pic = makeCanvas();
        pic->setSelectable(gesture != "unselectable");
        if (gesture == "move" || gesture == "left handle" || gesture == "after clear")
            drawSelection(pic.get(), QPoint(110, 120), QPoint(150, 150));
        if (gesture == "after clear")
            drawSelection(pic.get(), QPoint(5, 5), QPoint(5, 5));
        QSignalSpy marks(pic.get(), &SPic::markChanged4P);
        if (gesture == "left handle")
            pic->registerClick(SEditReg::Left);
        else
            send(pic.get(), QEvent::MouseButtonPress, from, Qt::LeftButton);
        pic->repaint(); // a paint before the release must not bring back the old rectangle
        if (to != from)
            send(pic.get(), QEvent::MouseMove, to, Qt::LeftButton);
        send(pic.get(), QEvent::MouseButtonRelease, to, Qt::NoButton);

        QCOMPARE(pic->hasSelection() ? pic->selection() : QRect(), selection);
        QCOMPARE(pic->mark()->isHidden(), selection.isNull());
        // A click clears the text that tells the selection.
        QCOMPARE(marks.isEmpty(), gesture == "unselectable");
        if (!marks.isEmpty())
            QCOMPARE(marks.last().at(0).toString().isEmpty(), selection.isNull());
    }

    void handlesNeedRoom_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("afterLargeOne");
        QTest::addColumn<bool>("handles");
        QTest::newRow("18 by 18") << 1.0 << QSize(18, 18) << false << true;
        QTest::newRow("17 wide") << 1.0 << QSize(17, 30) << false << false;
        QTest::newRow("9 by 9 at scale 2") << 2.0 << QSize(9, 9) << false << true;
        QTest::newRow("small after a large one") << 1.0 << QSize(10, 10) << true << false;
    }
    void handlesNeedRoom()
    {
        QFETCH(double, scale);
        QFETCH(QSize, size);
        QFETCH(bool, afterLargeOne);
        QFETCH(bool, handles);
        auto pic = makeCanvas(QImage(100, 80, QImage::Format_RGB32), scale);
        SMark* mark = pic->mark();
        const QPoint origin =
            SPic::imageRectFor(pic->size(), QSize(pic->scaledWidth(), pic->scaledHeight()))
                .topLeft();
        if (afterLargeOne) {
            drawSelection(pic.get(), origin, origin + QPoint(60, 60));
            QVERIFY(mark->mask().contains(QPoint(3, 3)));
            drawSelection(pic.get(), QPoint(1, 1), QPoint(1, 1));
        }
        drawSelection(pic.get(), origin,
                      origin + QPoint(qRound(size.width() * scale), qRound(size.height() * scale)));
        // (3, 3) lies inside the top-left handle but off the one-pixel frame.
        QCOMPARE(mark->mask().contains(QPoint(3, 3)), handles);
        QVERIFY(mark->mask().contains(QPoint(0, 3)));
        // A press on the middle of the left edge takes the handle, or else grips the frame.
        send(mark, QEvent::MouseButtonPress, QPoint(0, qRound(mark->height() * 0.5)),
             Qt::LeftButton);
        QCOMPARE(mark->mode(), handles ? MarkMode::SizingHorizontal : MarkMode::Moving);
    }

    void pixelText_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("text");
        const QPoint pixel(103, 112);
        QTest::newRow("ARGB32 adds alpha") << filled(QImage::Format_ARGB32, QColor(10, 20, 30, 40))
                                           << pixel << "3 X 2, 10 - 20 - 30 - 40";
        QTest::newRow("Indexed8 has three") << filled(QImage::Format_Indexed8, QColor(10, 20, 30))
                                            << pixel << "3 X 2, 10 - 20 - 30";
        QTest::newRow("outside the image is empty")
            << filled(QImage::Format_RGB32, Qt::red) << QPoint(99, 150) << "";
    }
    void pixelText()
    {
        QFETCH(QImage, image);
        QFETCH(QPoint, at);
        QFETCH(QString, text);
        auto pic = makeCanvas(image);
        QSignalSpy texts(pic.get(), &SPic::MPIChanged4P);
        send(pic.get(), QEvent::MouseMove, at, Qt::NoButton); // only while a button is down
        send(pic.get(), QEvent::MouseMove, at, Qt::LeftButton);
        QEvent leave(QEvent::Leave); // empties the text
        QApplication::sendEvent(pic.get(), &leave);
        QCOMPARE(QList<QVariantList>(texts), (QList<QVariantList>{{text}, {QString()}}));
    }

    void mapping_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("clamped");
        QTest::addColumn<int>("unclamped");
        QTest::addColumn<bool>("smooth");
        // A 100 by 100 image starts at canvas x 100 at scale 1 and at 50 at scale 2.
        QTest::newRow("half a pixel before at scale 2") << 2.0 << 49 << 0 << -1 << false;
        QTest::newRow("one past the last pixel") << 1.0 << 200 << 100 << 100 << true;
        QTest::newRow("beyond the image") << 1.0 << 299 << 100 << 199 << true;
    }
    void mapping()
    {
        QFETCH(double, scale);
        QFETCH(int, x);
        QFETCH(int, clamped);
        QFETCH(int, unclamped);
        QFETCH(bool, smooth);
        auto pic = makeCanvas(QImage(100, 100, QImage::Format_RGB32), scale);
        QCOMPARE(QPoint(pic->imageX(x, true), pic->imageY(x, true)), QPoint(clamped, clamped));
        QCOMPARE(QPoint(pic->imageX(x, false), pic->imageY(x, false)),
                 QPoint(unclamped, unclamped));
        QCOMPARE(SPic::smoothAt(scale), smooth);
    }

    // Once a smooth stand-in is on screen, no grainier paint of the same picture follows it.
    void paintsFromStandIn_data() { lumotest::addRows(QStringLiteral("standinpaints.txt")); }
    void paintsFromStandIn()
    {
        QFETCH(QSize, copy);
        QFETCH(QSize, standIn);
        QFETCH(QSize, shown);
        QFETCH(bool, fromStandIn);
        QCOMPARE(SPic::paintsFromStandIn(copy, QSize(6000, 4000), standIn, shown), fromStandIn);
    }

    void selectionColour_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QColor>("colour");
        QImage halves(2, 1, QImage::Format_RGB32);
        halves.setPixel(0, 0, qRgb(0, 0, 0));
        halves.setPixel(1, 0, qRgb(255, 255, 255));
        QTest::newRow("black and white average up") << halves << QColor(127, 127, 127);
        QTest::newRow("Indexed8 inverted")
            << filled(QImage::Format_Indexed8, QColor(10, 200, 30)) << QColor(245, 55, 225);
        // 17.6 million white pixels sum past 2^32 in each channel.
        QTest::newRow("large white photo, 64-bit sum")
            << filled(QImage::Format_RGB32, Qt::white, QSize(4400, 4000)) << QColor(0, 0, 0);
    }
    void selectionColour()
    {
        QFETCH(QImage, image);
        QFETCH(QColor, colour);
        auto pic = makeCanvas(image, 0.05);
        send(pic.get(), QEvent::MouseButtonPress, QPoint(150, 150), Qt::LeftButton);
        QCOMPARE(pic->mark()->palette().brush(pic->mark()->backgroundRole()), QBrush(colour));
    }

    void contextMenuSignal()
    {
        auto pic = makeCanvas();
        drawSelection(pic.get(), QPoint(110, 120), QPoint(150, 150));
        QSignalSpy selectionMenu(pic.get(), &SPic::selectionContextMenuRequested);
        QSignalSpy plainMenu(pic.get(), &SPic::contextMenuRequested);
        // Returns how many of each menu were asked for so far.
        const auto request = [&](const QPoint& at) {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, at, pic->mapToGlobal(at));
            QApplication::sendEvent(pic.get(), &event);
            return qMakePair(selectionMenu.count(), plainMenu.count());
        };
        QCOMPARE(request(QPoint(130, 130)), qMakePair(1, 0));
        QCOMPARE(selectionMenu.first().at(0).toPoint(), pic->mapToGlobal(QPoint(130, 130)));
        QCOMPARE(request(QPoint(180, 180)), qMakePair(1, 1));
        pic->clearSelection();
        QCOMPARE(request(QPoint(130, 130)), qMakePair(1, 2)); // where the selection was
    }

    void drawnWhereMapped()
    {
        // Odd room around the image at scale 3.
        auto pic =
            makeCanvas(filled(QImage::Format_RGB32, Qt::red, QSize(51, 41)), 3.0, QSize(301, 300));
        const QImage shot = pic->grab().toImage();
        // The first canvas pixel that maps into the image shows it; the ones before do not.
        int left = 0, top = 0;
        while (pic->imageX(left, false) < 0)
            ++left;
        while (pic->imageY(top, false) < 0)
            ++top;
        QCOMPARE(shot.pixelColor(left, top), QColor(Qt::red));
        QVERIFY(shot.pixelColor(left - 1, top) != QColor(Qt::red));
        QVERIFY(shot.pixelColor(left, top - 1) != QColor(Qt::red));
        // The selection's frame lies on the same pixels, and follows a change of scale.
        pic->setScale(1.0);
        pic->setSelection(QRect(1, 2, 5, 7));
        pic->setScale(3.0);
        QCOMPARE(pic->mark()->geometry(), QRect(left + 3, top + 6, 15, 21));
    }

    void paintsLikeWholeImage_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("from"); // width of what is painted from
        QTest::addColumn<int>("tolerance");
        // A 1600 by 1200 image with halvings of 800 by 600 and 400 by 300; at each scale the
        // shown image has whole sides. Without a settled copy, just after the zoom.
        QTest::newRow("100 % exactly") << 1.0 << 1600 << 0;
        QTest::newRow("enlarged 3, hard pixels, exactly") << 3.0 << 1600 << 0;
        QTest::newRow("0.3 from the first halving") << 0.3 << 800 << tolerance;
        QTest::newRow("0.3 from the copy at the size shown") << 0.3 << 480 << tolerance;
    }
    void paintsLikeWholeImage()
    {
        QFETCH(double, scale);
        QFETCH(int, from);
        QFETCH(int, tolerance);
        const QImage image = waves(QSize(1600, 1200));
        // Halvings are made once the picture is shown smaller.
        auto pic = makeCanvas(image, 0.5, QSize(500, 400));
        const PrescaledImage* prescaled = pic->prescaled();
        QTRY_COMPARE_WITH_TIMEOUT(prescaled->halvingCount(), 2, 20000);
        pic->setScale(scale);
        const bool halvingOrWhole = from == 1600 || from == 800 || from == 400;
        if (!halvingOrWhole)
            QTRY_COMPARE_WITH_TIMEOUT(prescaled->copyFor(image, scale).width(), from, 20000);
        QCOMPARE(prescaled->copyFor(image, scale).width(), from);

        const QImage shot = pic->grab().toImage();
        const QSize shown(qRound(image.width() * scale), qRound(image.height() * scale));
        const QRect inside = SPic::imageRectFor(pic->size(), shown).intersected(pic->rect());
        const QImage whole = paintedFromWhole(image, scale, pic->size());
        QVERIFY(difference(shot, whole, inside) <= tolerance);
        // A part painted alone, as when it is uncovered, matches the same part of the whole
        // (smoothing at the part's edges reads only the part, as it always did).
        const QRect part = QRect(137, 101, 150, 120).intersected(inside);
        QVERIFY(difference(pic->grab(part).toImage(), shot.copy(part),
                           part.translated(-part.topLeft()))
                <= ::tolerance);
    }
};

LUMO_TEST_MAIN(TestSPic)
#include "tst_spic.moc"
