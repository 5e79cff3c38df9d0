#include "support/lumotest.h"

#include "platform/lumotabletmode.h"

#include <QPointer>
#include <QWidget>

namespace {

// Counts style changes and remembers the tablet mode seen at that moment.
class StyleWatcher : public QWidget
{
public:
    int changes = 0;
    bool seenMode = false;
    QPointer<QWidget> toDelete;

protected:
    void changeEvent(QEvent* event) override
    {
        QWidget::changeEvent(event);
        if (event->type() != QEvent::StyleChange)
            return;
        ++changes;
        seenMode = lumoInTabletMode();
        delete toDelete;
    }
};

} // namespace

// Windows learn about tablet mode only through QEvent::StyleChange.
class TestTabletMode : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void switching_data();
    void switching();
    void windowDeletedDuringSwitch();
};

void TestTabletMode::cleanup()
{
    lumoSetTabletMode(false);
}

void TestTabletMode::switching_data()
{
    QTest::addColumn<QList<bool>>("switches");
    QTest::addColumn<int>("topLevelChanges");
    QTest::addColumn<bool>("finalMode");

    QTest::newRow("on") << QList<bool>{true} << 1 << true;
    QTest::newRow("on then off") << QList<bool>{true, false} << 2 << false;
    QTest::newRow("same value twice notifies once") << QList<bool>{true, true} << 1 << true;
    QTest::newRow("off when already off is silent") << QList<bool>{false} << 0 << false;
}

void TestTabletMode::switching()
{
    QFETCH(QList<bool>, switches);
    QFETCH(int, topLevelChanges);
    QFETCH(bool, finalMode);
    StyleWatcher shown;
    StyleWatcher hidden;
    auto* child = new StyleWatcher;
    child->setParent(&shown);
    shown.show();
    for (const bool on : switches)
        lumoSetTabletMode(on);
    QCOMPARE(lumoInTabletMode(), finalMode);
    QCOMPARE(shown.changes, topLevelChanges);
    QCOMPARE(hidden.changes, topLevelChanges);
    QCOMPARE(child->changes, 0);
    if (topLevelChanges > 0)
        QCOMPARE(shown.seenMode, finalMode);
}

void TestTabletMode::windowDeletedDuringSwitch()
{
    StyleWatcher first;
    StyleWatcher second;
    auto* victim = new StyleWatcher;
    first.toDelete = victim;
    second.toDelete = victim;

    lumoSetTabletMode(true);

    QVERIFY(!first.toDelete);
    QCOMPARE(first.changes + second.changes, 2);
}

LUMO_TEST_MAIN(TestTabletMode)
#include "tst_tabletmode.moc"
