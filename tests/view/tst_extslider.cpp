#include "support/lumotest.h"

#include "view/extslider.h"

#include <QSlider>

// The slider's release signals, which decide when the adjustment dialogs recompute.
class TestExtSlider : public QObject
{
    Q_OBJECT

private slots:
    void keyReleases_data();
    void keyReleases();
    void handleReleaseIsRelayed();
};

void TestExtSlider::keyReleases_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<int>("emitted");

    QTest::newRow("left") << int(Qt::Key_Left) << false << 1;
    QTest::newRow("right") << int(Qt::Key_Right) << false << 1;
    QTest::newRow("left auto-repeat") << int(Qt::Key_Left) << true << 1;
    QTest::newRow("right auto-repeat") << int(Qt::Key_Right) << true << 1;
    QTest::newRow("up") << int(Qt::Key_Up) << false << 0;
    QTest::newRow("down") << int(Qt::Key_Down) << false << 0;
    QTest::newRow("page up") << int(Qt::Key_PageUp) << false << 0;
    QTest::newRow("letter") << int(Qt::Key_A) << false << 0;
}

void TestExtSlider::keyReleases()
{
    QFETCH(int, key);
    QFETCH(bool, autoRepeat);
    QFETCH(int, emitted);

    ExtSlider slider(-100, 100, 1, 0);
    QSignalSpy arrows(&slider, &ExtSlider::arrows_release_signal);
    QSignalSpy released(&slider, &ExtSlider::sliderReleased);

    // The inner slider has the keyboard; its unhandled releases travel up to the widget.
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(slider.slider(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(slider.slider(), &release);

    QCOMPARE(arrows.count(), emitted);
    QCOMPARE(released.count(), 0);
}

void TestExtSlider::handleReleaseIsRelayed()
{
    ExtSlider slider(-100, 100, 1, 0);
    slider.resize(300, 40);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QSignalSpy released(&slider, &ExtSlider::sliderReleased);
    QSignalSpy arrows(&slider, &ExtSlider::arrows_release_signal);

    const QPoint handle = slider.slider()->rect().center();
    QTest::mousePress(slider.slider(), Qt::LeftButton, Qt::NoModifier, handle);
    QTest::mouseRelease(slider.slider(), Qt::LeftButton, Qt::NoModifier, handle);

    QCOMPARE(released.count(), 1);
    QCOMPARE(arrows.count(), 0);
}

LUMO_TEST_MAIN(TestExtSlider)
#include "tst_extslider.moc"
