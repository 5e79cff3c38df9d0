#include "support/lumotest.h"

#include "view/extslider.h"

#include <QSlider>

// The slider's release signals, which decide when the adjustment dialogs recompute.
class TestExtSlider : public QObject
{
    Q_OBJECT

private slots:
    void releases_data();
    void releases();
};

void TestExtSlider::releases_data()
{
    QTest::addColumn<int>("key"); // 0: the mouse lets go of the handle
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<int>("arrows");
    QTest::addColumn<int>("released");

    QTest::newRow("left") << int(Qt::Key_Left) << false << 1 << 0;
    // A held arrow key's last step must not go unnoticed.
    QTest::newRow("right auto-repeat") << int(Qt::Key_Right) << true << 1 << 0;
    QTest::newRow("up") << int(Qt::Key_Up) << false << 0 << 0;
    QTest::newRow("letter") << int(Qt::Key_A) << false << 0 << 0;
    QTest::newRow("handle let go") << 0 << false << 0 << 1;
}

void TestExtSlider::releases()
{
    QFETCH(int, key);
    QFETCH(bool, autoRepeat);
    QFETCH(int, arrows);
    QFETCH(int, released);
    ExtSlider slider(-100, 100, 1, 0);
    slider.resize(300, 40);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QSignalSpy arrowSpy(&slider, &ExtSlider::arrows_release_signal);
    QSignalSpy releasedSpy(&slider, &ExtSlider::sliderReleased);

    if (key == 0) {
        const QPoint handle = slider.slider()->rect().center();
        QTest::mousePress(slider.slider(), Qt::LeftButton, Qt::NoModifier, handle);
        QTest::mouseRelease(slider.slider(), Qt::LeftButton, Qt::NoModifier, handle);
    } else {
        // The inner slider has the keyboard; its unhandled releases travel up to the widget.
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(slider.slider(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(slider.slider(), &release);
    }
    QCOMPARE(arrowSpy.count(), arrows);
    QCOMPARE(releasedSpy.count(), released);
}

LUMO_TEST_MAIN(TestExtSlider)
#include "tst_extslider.moc"
