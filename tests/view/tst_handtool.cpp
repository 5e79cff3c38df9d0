#include "support/lumotest.h"
#include "support/picturefixture.h"

#include "view/pangesture.h"
#include "view/showncanvas.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QScrollBar>

Q_DECLARE_METATYPE(Qt::MouseButton)

namespace {

QPoint scrollValues(const SPicView* view)
{
    return {view->horizontalScrollBar()->value(), view->verticalScrollBar()->value()};
}

void sendSpace(SPicView* view, QEvent::Type type)
{
    QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(view, &event);
}

} // namespace

// Dragging a large picture by hand and tapping Space.
class TestHandTool : public QObject
{
    Q_OBJECT

private slots:
    void spaceTap_data() { lumotest::addRows(QStringLiteral("spacetaps.txt")); }
    void spaceTap()
    {
        QFETCH(QString, events);
        QFETCH(QString, taps);
        PanGesture gesture;
        QString seen;
        for (const QChar event : events) {
            if (event == 'S')
                gesture.pressSpace();
            else if (event == 's')
                gesture.releaseSpace();
            else if (event == 'p')
                gesture.notePress();
            else if (event == 'f')
                gesture.forgetSpace();
            else
                seen += gesture.settleSpace() ? '1' : '0';
        }
        QCOMPARE(seen, taps);
    }

    void dragOnTheView_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("space");
        QTest::addColumn<bool>("pans");
        QTest::addColumn<bool>("selects");
        const QSize large(2000, 1500);
        QTest::newRow("middle drag pans") << large << Qt::MiddleButton << false << true << false;
        QTest::newRow("left drag selects") << large << Qt::LeftButton << false << false << true;
        QTest::newRow("Space and left drag pans")
            << large << Qt::LeftButton << true << true << false;
        QTest::newRow("middle on a picture that fits does nothing")
            << QSize(40, 30) << Qt::MiddleButton << false << false << false;
    }

    void dragOnTheView()
    {
        QFETCH(QSize, picture);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, space);
        QFETCH(bool, pans);
        QFETCH(bool, selects);
        PictureFixture pic(picture);
        SPicView* view = pic.view();
        view->horizontalScrollBar()->setValue(300);
        view->verticalScrollBar()->setValue(200);
        const QPoint before = scrollValues(view);
        QWidget* canvas = view->pic();
        const QPoint press = canvas->mapFrom(view->viewport(), QPoint(200, 150));
        if (space)
            sendSpace(view, QEvent::KeyPress);
        // The hand reads screen positions: the canvas moves while it drags.
        send(canvas, QEvent::MouseButtonPress, press, button, button);
        send(canvas, QEvent::MouseMove, press + QPoint(-60, 45), button);
        send(canvas, QEvent::MouseButtonRelease, press + QPoint(-60, 45), Qt::NoButton, button);
        if (space)
            sendSpace(view, QEvent::KeyRelease);
        QCOMPARE(scrollValues(view), pans ? before + QPoint(60, -45) : before);
        QCOMPARE(view->pic()->hasSelection(), selects);
        QVERIFY(!QApplication::overrideCursor()); // the hand shown while panning is gone
    }
};

LUMO_TEST_MAIN(TestHandTool)
#include "tst_handtool.moc"
