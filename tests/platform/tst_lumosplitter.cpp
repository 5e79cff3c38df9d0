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
    QTest::addColumn<QList<bool>>("switches");
    QTest::addColumn<bool>("thin");

    QTest::newRow("thin") << QList<bool>{true} << true;
    QTest::newRow("switching on twice still comes back to the caller's width")
        << QList<bool>{true, true, false} << false;
    QTest::newRow("off while off changes nothing") << QList<bool>{false} << false;
}

void TestLumoSplitter::thinHandles()
{
    QFETCH(QList<bool>, switches);
    QFETCH(bool, thin);
    LumoSplitter splitter(Qt::Horizontal);
    splitter.setHandleWidth(9);
    for (const bool on : switches)
        splitter.setThinHandleModeEnabled(on);
    QCOMPARE(splitter.thinHandleModeEnabled(), thin);
    QCOMPARE(splitter.handleWidth(), thin ? 1 : 9);
}

LUMO_TEST_MAIN(TestLumoSplitter)
#include "tst_lumosplitter.moc"
