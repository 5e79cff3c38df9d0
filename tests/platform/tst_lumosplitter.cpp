#include "support/lumotest.h"

#include "platform/lumosplitter.h"

// Thin handles for touch layouts, and the way back to the normal ones.
class TestLumoSplitter : public QObject
{
    Q_OBJECT

private slots:
    void thinHandles_data();
    void thinHandles();
};

void TestLumoSplitter::thinHandles_data()
{
    QTest::addColumn<int>("callerWidth"); // -1: the style's own width
    QTest::addColumn<QList<bool>>("switches");
    QTest::addColumn<bool>("thin");

    QTest::newRow("thin") << -1 << QList<bool>{true} << true;
    QTest::newRow("thin and back to the style's width") << -1 << QList<bool>{true, false} << false;
    QTest::newRow("back to the caller's width") << 9 << QList<bool>{true, false} << false;
    QTest::newRow("switching on twice still comes back") << 9 << QList<bool>{true, true, false}
                                                         << false;
    QTest::newRow("off while off changes nothing") << 9 << QList<bool>{false} << false;
}

void TestLumoSplitter::thinHandles()
{
    QFETCH(int, callerWidth);
    QFETCH(QList<bool>, switches);
    QFETCH(bool, thin);

    LumoSplitter splitter(Qt::Horizontal);
    if (callerWidth >= 0)
        splitter.setHandleWidth(callerWidth);
    const int normal = splitter.handleWidth();
    for (const bool on : switches)
        splitter.setThinHandleModeEnabled(on);
    QCOMPARE(splitter.thinHandleModeEnabled(), thin);
    QCOMPARE(splitter.handleWidth(), thin ? 1 : normal);
}

LUMO_TEST_MAIN(TestLumoSplitter)
#include "tst_lumosplitter.moc"
