#include "support/lumotest.h"

#include "view/smark.h"
#include "view/spic.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QSignalSpy>

// Drawing, resizing and moving the selection on the canvas, and the texts it reports.
class TestSPic : public QObject
{
    Q_OBJECT

private slots:
    void mouse_data();
    void mouse();
    void handlesNeedRoom_data();
    void handlesNeedRoom();
    void pixelText_data();
    void pixelText();
    void mapping_data();
    void mapping();
    void selectionColour_data();
    void selectionColour();
    void markFollowsSelection_data();
    void markFollowsSelection();
    void contextMenuSignal_data();
    void contextMenuSignal();
    void imageDrawnWhereMapped_data();
    void imageDrawnWhereMapped();
};

namespace {

// What a row does with the mouse; zero and up drag that handle of the selection.
enum Gesture { Draw = -1, Move = -2, DrawAfterClear = -3, DrawUnselectable = -4, DrawNoImage = -5 };

// A shown 300 by 300 canvas: a 100 by 80 image at scale 1 lies at (100, 110).
std::unique_ptr<SPic> makeCanvas(const QImage& image = QImage(100, 80, QImage::Format_RGB32),
                                 double scale = 1.0, const QSize& size = QSize(300, 300))
{
    auto pic = std::make_unique<SPic>();
    pic->setImage(image);
    pic->setScale(scale);
    pic->resize(size);
    pic->show();
    return QTest::qWaitForWindowExposed(pic.get()) ? std::move(pic) : nullptr;
}

void send(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void drawSelection(SPic* pic, const QPoint& from, const QPoint& to)
{
    send(pic, QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(pic, QEvent::MouseMove, to, Qt::LeftButton);
    send(pic, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// The selection (10, 10, 40, 30) of the standard canvas.
void drawStandardSelection(SPic* pic)
{
    drawSelection(pic, QPoint(110, 120), QPoint(150, 150));
}

QImage filled(QImage::Format format, const QColor& colour, const QSize& size = QSize(100, 80))
{
    QImage image(size, format);
    if (format == QImage::Format_Indexed8) {
        image.setColorTable({colour.rgba()});
        image.fill(0);
    } else {
        image.fill(colour);
    }
    return image;
}

} // namespace

void TestSPic::mouse_data()
{
    QTest::addColumn<int>("gesture");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRect>("selection"); // null: nothing stays selected
    QTest::addColumn<QVariant>("text");   // the last selection text; invalid: none reported

    // At scale 1 image pixels are canvas minus (100, 110); Move and handles start from the
    // selection (10, 10, 40, 30), whose inside is gripped at (130, 135).
    const QPoint on(110, 120);
    const QPoint grip(130, 135);
    const QVariant cleared(QString(""));
    QTest::newRow("a click without drag clears")
        << int(Draw) << 1.0 << on << on << QRect() << cleared;
    QTest::newRow("a click where a cleared selection was")
        << int(DrawAfterClear) << 1.0 << on << on << QRect() << cleared;
    QTest::newRow("null image ignores a drag")
        << int(DrawNoImage) << 1.0 << on << QPoint(150, 150) << QRect() << QVariant();
    QTest::newRow("unselectable ignores a drag")
        << int(DrawUnselectable) << 1.0 << on << QPoint(150, 150) << QRect() << QVariant();
    QTest::newRow("draw past the far corner to the edge exactly")
        << int(Draw) << 1.0 << on << QPoint(299, 299) << QRect(10, 10, 90, 70)
        << QVariant("90 X 70 + 10 + 10 (0.777778)");
    QTest::newRow("draw backwards past the near corner to 0")
        << int(Draw) << 1.0 << QPoint(150, 150) << QPoint(-40, 2) << QRect(0, 0, 50, 40)
        << QVariant("50 X 40 + 0 + 0 (0.8)");
    QTest::newRow("draw at scale 2 to the far corner")
        << int(Draw) << 2.0 << QPoint(60, 80) << QPoint(299, 299) << QRect(5, 5, 95, 75)
        << QVariant("95 X 75 + 5 + 5 (0.789474)");
    QTest::newRow("left handle across the anchor flips")
        << int(SEditReg::Left) << 1.0 << QPoint() << QPoint(170, 400) << QRect(50, 10, 20, 30)
        << QVariant("20 X 30 + 50 + 10 (1.5)");
    QTest::newRow("top handle across the bottom")
        << int(SEditReg::Top) << 1.0 << QPoint() << QPoint(0, 170) << QRect(10, 40, 40, 20)
        << QVariant("40 X 20 + 10 + 40 (0.5)");
    QTest::newRow("top-left corner over the anchor")
        << int(SEditReg::TopLeft) << 1.0 << QPoint() << QPoint(170, 170) << QRect(50, 40, 20, 20)
        << QVariant("20 X 20 + 50 + 40 (1)");
    QTest::newRow("move a step") << int(Move) << 1.0 << grip << grip + QPoint(5, 3)
                                 << QRect(15, 13, 40, 30) << QVariant("40 X 30 + 15 + 13 (0.75)");
    QTest::newRow("move far up and left")
        << int(Move) << 1.0 << grip << grip - QPoint(500, 500) << QRect(0, 0, 40, 30)
        << QVariant("40 X 30 + 0 + 0 (0.75)");
    QTest::newRow("move far down and right")
        << int(Move) << 1.0 << grip << grip + QPoint(500, 500) << QRect(60, 50, 40, 30)
        << QVariant("40 X 30 + 60 + 50 (0.75)");
}

void TestSPic::mouse()
{
    QFETCH(int, gesture);
    QFETCH(double, scale);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QRect, selection);
    QFETCH(QVariant, text);
    auto pic = makeCanvas(gesture == DrawNoImage ? QImage() : QImage(100, 80, QImage::Format_RGB32),
                          scale);
    QVERIFY(pic);
    pic->setSelectable(gesture != DrawUnselectable);
    if (gesture >= 0 || gesture == Move || gesture == DrawAfterClear)
        drawStandardSelection(pic.get());
    if (gesture == DrawAfterClear)
        drawSelection(pic.get(), QPoint(5, 5), QPoint(5, 5));
    QSignalSpy marks(pic.get(), &SPic::markChanged4P);
    if (gesture >= 0)
        pic->registerClick(static_cast<SEditReg>(gesture));
    else
        send(pic.get(), QEvent::MouseButtonPress, from, Qt::LeftButton);
    pic->repaint(); // a paint before the release must not bring back the old rectangle
    if (to != from)
        send(pic.get(), QEvent::MouseMove, to, Qt::LeftButton);
    send(pic.get(), QEvent::MouseButtonRelease, to, Qt::NoButton);

    QCOMPARE(pic->hasSelection(), !selection.isNull());
    QCOMPARE(pic->mark()->isHidden(), selection.isNull());
    if (!selection.isNull())
        QCOMPARE(pic->selection(), selection);
    QCOMPARE(marks.isEmpty(), !text.isValid());
    if (text.isValid())
        QCOMPARE(marks.last().at(0).toString(), text.toString());
    if (gesture == Move)
        QCOMPARE(pic->cursor().shape(), Qt::OpenHandCursor);
    pic->clearSelection();
    QCOMPARE(pic->cursor().shape(),
             gesture == DrawUnselectable ? Qt::ArrowCursor : Qt::CrossCursor);
}

void TestSPic::handlesNeedRoom_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("afterLargeOne");
    QTest::addColumn<bool>("finished");
    QTest::addColumn<bool>("handles");

    QTest::newRow("18 by 18") << 1.0 << QSize(18, 18) << false << true << true;
    QTest::newRow("17 wide") << 1.0 << QSize(17, 30) << false << true << false;
    QTest::newRow("17 tall") << 1.0 << QSize(30, 17) << false << true << false;
    QTest::newRow("9 by 9 at scale 2") << 2.0 << QSize(9, 9) << false << true << true;
    QTest::newRow("large but still drawing") << 1.0 << QSize(40, 40) << false << false << false;
    QTest::newRow("small after a large one") << 1.0 << QSize(10, 10) << true << true << false;
}

void TestSPic::handlesNeedRoom()
{
    QFETCH(double, scale);
    QFETCH(QSize, size);
    QFETCH(bool, afterLargeOne);
    QFETCH(bool, finished);
    QFETCH(bool, handles);
    auto pic = makeCanvas(QImage(100, 80, QImage::Format_RGB32), scale);
    QVERIFY(pic);
    SMark* mark = pic->mark();
    const QPoint origin = SPic::imageRectFor(pic->size(), QSize(pic->scaledWidth(),
                                                                pic->scaledHeight())).topLeft();
    if (afterLargeOne) {
        drawSelection(pic.get(), origin, origin + QPoint(60, 60));
        QVERIFY(mark->mask().contains(QPoint(3, 3)));
        drawSelection(pic.get(), QPoint(1, 1), QPoint(1, 1));
    }
    const QPoint end = origin + QPoint(qRound(size.width() * scale), qRound(size.height() * scale));
    send(pic.get(), QEvent::MouseButtonPress, origin, Qt::LeftButton);
    send(pic.get(), QEvent::MouseMove, end, Qt::LeftButton);
    if (finished)
        send(pic.get(), QEvent::MouseButtonRelease, end, Qt::NoButton);

    // (3, 3) lies inside the top-left handle but off the one-pixel frame.
    QCOMPARE(mark->mask().contains(QPoint(3, 3)), handles);
    QVERIFY(mark->mask().contains(QPoint(0, 3)));
    if (!finished)
        return;
    // A press on the middle of the left edge takes the handle, or else grips the frame to move.
    send(mark, QEvent::MouseButtonPress, QPoint(0, qRound(mark->height() * 0.5)), Qt::LeftButton);
    QCOMPARE(mark->mode(), handles ? MarkMode::SizingHorizontal : MarkMode::Moving);
}

void TestSPic::pixelText_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Qt::MouseButtons>("buttons");
    QTest::addColumn<QVariant>("text"); // invalid: nothing is reported

    const QColor colour(10, 20, 30);
    const QPoint pixel(103, 112);
    const Qt::MouseButtons left = Qt::LeftButton;
    QTest::newRow("ARGB32 adds alpha") << filled(QImage::Format_ARGB32, QColor(10, 20, 30, 40))
                                       << pixel << left << QVariant("3 X 2, 10 - 20 - 30 - 40");
    QTest::newRow("Indexed8 has three") << filled(QImage::Format_Indexed8, colour) << pixel
                                        << left << QVariant("3 X 2, 10 - 20 - 30");
    QTest::newRow("outside the image is empty") << filled(QImage::Format_RGB32, colour)
                                                << QPoint(99, 150) << left << QVariant(QString());
    QTest::newRow("no button, no text") << filled(QImage::Format_RGB32, colour) << pixel
                                        << Qt::MouseButtons() << QVariant();
}

void TestSPic::pixelText()
{
    QFETCH(QImage, image);
    QFETCH(QPoint, at);
    QFETCH(Qt::MouseButtons, buttons);
    QFETCH(QVariant, text);
    auto pic = makeCanvas(image);
    QVERIFY(pic);
    QSignalSpy texts(pic.get(), &SPic::MPIChanged4P);
    send(pic.get(), QEvent::MouseMove, at, buttons);

    QCOMPARE(texts.count(), text.isValid() ? 1 : 0);
    if (text.isValid())
        QCOMPARE(texts.last().at(0).toString(), text.toString());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(pic.get(), &leave);
    QCOMPARE(texts.last().at(0).toString(), QString());
}

void TestSPic::mapping_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("clamped");
    QTest::addColumn<int>("unclamped");
    QTest::addColumn<bool>("smooth");

    // A 100 by 100 image starts at 100 at scale 1, at 50 at scale 2, at 125 at scale 0.5.
    QTest::newRow("before the image") << 1.0 << 40 << 0 << -1 << true;
    QTest::newRow("half a pixel before at scale 2") << 2.0 << 49 << 0 << -1 << false;
    QTest::newRow("scale 2 truncates and shows hard pixels") << 2.0 << 53 << 1 << 1 << false;
    QTest::newRow("one past the last pixel") << 1.0 << 200 << 100 << 100 << true;
    QTest::newRow("beyond the image") << 1.0 << 299 << 100 << 199 << true;
    QTest::newRow("scale 0.5") << 0.5 << 130 << 10 << 10 << true;
    QTest::newRow("just under 2 still smooths") << 1.99 << 299 << 100 << 124 << true;
}

void TestSPic::mapping()
{
    QFETCH(double, scale);
    QFETCH(int, x);
    QFETCH(int, clamped);
    QFETCH(int, unclamped);
    QFETCH(bool, smooth);
    auto pic = makeCanvas(QImage(100, 100, QImage::Format_RGB32), scale);
    QVERIFY(pic);
    QCOMPARE(pic->imageX(x, true), clamped);
    QCOMPARE(pic->imageX(x, false), unclamped);
    QCOMPARE(pic->imageY(x, true), clamped);
    QCOMPARE(pic->imageY(x, false), unclamped);
    QCOMPARE(SPic::smoothAt(scale), smooth);
}

void TestSPic::selectionColour_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QColor>("colour");

    QImage halves(2, 1, QImage::Format_RGB32);
    halves.setPixel(0, 0, qRgb(0, 0, 0));
    halves.setPixel(1, 0, qRgb(255, 255, 255));
    const QColor colour(10, 200, 30);
    const QColor inverse(245, 55, 225);
    QTest::newRow("black and white average up") << halves << QColor(127, 127, 127);
    QTest::newRow("Indexed8") << filled(QImage::Format_Indexed8, colour) << inverse;
    // 17.6 million white pixels sum past 2^32 in each channel.
    QTest::newRow("large white photo")
        << filled(QImage::Format_RGB32, Qt::white, QSize(4400, 4000)) << QColor(0, 0, 0);
}

void TestSPic::selectionColour()
{
    QFETCH(QImage, image);
    QFETCH(QColor, colour);
    auto pic = makeCanvas(image, 0.05);
    QVERIFY(pic);
    send(pic.get(), QEvent::MouseButtonPress, QPoint(150, 150), Qt::LeftButton);
    const QBrush fill = pic->mark()->palette().brush(pic->mark()->backgroundRole());
    QCOMPARE(fill.color(), colour);
    QCOMPARE(fill.style(), Qt::SolidPattern);
}

void TestSPic::markFollowsSelection_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QRect>("selection");
    QTest::addColumn<QRect>("mark");

    // The 100 by 80 image is centred in the 300 by 300 canvas.
    QTest::newRow("scale 2") << 2.0 << QRect(10, 5, 20, 15) << QRect(70, 80, 40, 30);
    QTest::newRow("scale 0.5 rounds halves up") << 0.5 << QRect(1, 3, 5, 7)
                                                << QRect(126, 132, 3, 4);
}

void TestSPic::markFollowsSelection()
{
    QFETCH(double, scale);
    QFETCH(QRect, selection);
    QFETCH(QRect, mark);
    auto pic = makeCanvas();
    QVERIFY(pic);
    pic->setSelection(selection);
    pic->setScale(scale);
    QCOMPARE(pic->mark()->geometry(), mark);
}

void TestSPic::contextMenuSignal_data()
{
    QTest::addColumn<bool>("clearFirst");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("forSelection");

    QTest::newRow("inside the selection") << false << QPoint(130, 130) << true;
    QTest::newRow("outside the selection") << false << QPoint(180, 180) << false;
    QTest::newRow("where a cleared selection was") << true << QPoint(130, 130) << false;
}

void TestSPic::contextMenuSignal()
{
    QFETCH(bool, clearFirst);
    QFETCH(QPoint, at);
    QFETCH(bool, forSelection);
    auto pic = makeCanvas();
    QVERIFY(pic);
    drawStandardSelection(pic.get());
    if (clearFirst)
        pic->clearSelection();
    QSignalSpy selectionMenu(pic.get(), &SPic::selectionContextMenuRequested);
    QSignalSpy plainMenu(pic.get(), &SPic::contextMenuRequested);
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, pic->mapToGlobal(at));
    QApplication::sendEvent(pic.get(), &event);

    QCOMPARE(selectionMenu.count() + plainMenu.count(), 1);
    QSignalSpy& asked = forSelection ? selectionMenu : plainMenu;
    QCOMPARE(asked.count(), 1);
    QCOMPARE(asked.first().at(0).toPoint(), pic->mapToGlobal(at));
}

void TestSPic::imageDrawnWhereMapped_data()
{
    QTest::addColumn<QSize>("canvas");
    QTest::addColumn<double>("scale");

    QTest::newRow("odd room around") << QSize(301, 301) << 1.0;
    QTest::newRow("odd room at scale 3") << QSize(301, 300) << 3.0;
}

void TestSPic::imageDrawnWhereMapped()
{
    QFETCH(QSize, canvas);
    QFETCH(double, scale);
    auto pic = makeCanvas(filled(QImage::Format_RGB32, Qt::red, QSize(51, 41)), scale, canvas);
    QVERIFY(pic);
    const QImage shot = pic->grab().toImage();
    // The first canvas pixel that maps into the image shows it; the ones before do not.
    int left = 0;
    while (pic->imageX(left, false) < 0)
        ++left;
    int top = 0;
    while (pic->imageY(top, false) < 0)
        ++top;
    QCOMPARE(shot.pixelColor(left, top), QColor(Qt::red));
    QVERIFY(shot.pixelColor(left - 1, top) != QColor(Qt::red));
    QVERIFY(shot.pixelColor(left, top - 1) != QColor(Qt::red));
}

LUMO_TEST_MAIN(TestSPic)
#include "tst_spic.moc"
