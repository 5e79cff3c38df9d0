#include "support/lumotest.h"

#include "platform/lumofm/navigation.h"
#include "platform/lumofm/navigationactions.h"
#include "platform/lumofm/refreshaction.h"

#include <QAction>

using LumoFM::Entry;
using LumoFM::Navigation;

// Back, forward and up history, and the actions that follow it.
class TestNavigation : public QObject
{
    Q_OBJECT

private slots:
    void history_data();
    void history();
    void historyIsBounded();
    void actionsOutliveNavigation();
};

void TestNavigation::history_data()
{
    // Steps: a path ("/a") sets it current, "" an invalid entry, "<" back, ">" forward, "^" up,
    // "r" refresh.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("possible"); // of back, forward, up
    QTest::addColumn<int>("announcements");

    QTest::newRow("nothing yet") << QStringList{} << QString() << "" << 0;
    QTest::newRow("first place has no history") << QStringList{"/a"} << "/a" << "up" << 1;
    QTest::newRow("invalid entry ignored") << QStringList{"/a", ""} << "/a" << "up" << 1;
    QTest::newRow("same place again ignored") << QStringList{"/a", "/a"} << "/a" << "up" << 1;
    QTest::newRow("back") << QStringList{"/a", "/b", "<"} << "/a" << "forward up" << 3;
    QTest::newRow("back then forward")
        << QStringList{"/a", "/b", "<", ">"} << "/b" << "back up" << 4;
    QTest::newRow("new place forgets forward")
        << QStringList{"/a", "/b", "<", "/c"} << "/c" << "back up" << 4;
    QTest::newRow("back past the start stays") << QStringList{"/a", "<", "<"} << "/a" << "up" << 1;
    QTest::newRow("up is a step back can undo")
        << QStringList{"/a/b", "^"} << "/a" << "back up" << 2;
    QTest::newRow("up to root, then no further")
        << QStringList{"/a", "^", "^"} << "/" << "back" << 2;
    QTest::newRow("up then back returns")
        << QStringList{"/a/b", "^", "<"} << "/a/b" << "forward up" << 3;
    QTest::newRow("refresh announces without history")
        << QStringList{"/a", "r"} << "/a" << "up" << 2;
}

void TestNavigation::history()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, current);
    QFETCH(QString, possible);
    QFETCH(int, announcements);

    Navigation navigation;
    LumoFM::NavigationActions actions(&navigation);
    LumoFM::RefreshAction refresh(&navigation);
    QSignalSpy spy(&navigation, &Navigation::currentChanged);
    using Move = void (Navigation::*)();
    const QMap<QString, QPair<QAction*, Move>> moves{
        {"<", {actions.backAction(), &Navigation::back}},
        {">", {actions.forwardAction(), &Navigation::forward}},
        {"^", {actions.upAction(), &Navigation::up}},
        {"r", {&refresh, &Navigation::refresh}}};
    for (const QString& step : steps) {
        if (!moves.contains(step)) {
            navigation.setCurrent(step.isEmpty() ? Entry() : Entry(step));
            continue;
        }
        // Through the action while it is enabled, so its wiring is covered; directly otherwise,
        // so the navigation's own guard is.
        const auto [action, move] = moves.value(step);
        if (action->isEnabled())
            action->trigger();
        else
            (navigation.*move)();
    }

    QCOMPARE(navigation.current().path(), current);
    const auto names = [](bool back, bool forward, bool up) {
        return QStringList({back ? "back" : "", forward ? "forward" : "", up ? "up" : ""})
            .join(QLatin1Char(' '))
            .simplified();
    };
    QCOMPARE(names(navigation.canGoBack(), navigation.canGoForward(), navigation.canGoUp()),
             possible);
    QCOMPARE(names(actions.backAction()->isEnabled(), actions.forwardAction()->isEnabled(),
                   actions.upAction()->isEnabled()),
             possible);
    QCOMPARE(refresh.isEnabled(), !current.isEmpty());
    QCOMPARE(spy.count(), announcements);
    if (!spy.isEmpty())
        QCOMPARE(spy.last().at(0).value<Entry>().path(), current);
}

void TestNavigation::historyIsBounded()
{
    Navigation navigation;
    for (int i = 0; i <= Navigation::historyLimit + 10; ++i)
        navigation.setCurrent(Entry(QStringLiteral("/d%1").arg(i)));
    int steps = 0;
    for (; navigation.canGoBack(); ++steps)
        navigation.back();
    QCOMPARE(steps, Navigation::historyLimit);
    QCOMPARE(navigation.current().path(), QStringLiteral("/d10"));
}

void TestNavigation::actionsOutliveNavigation()
{
    auto navigation = std::make_unique<Navigation>();
    navigation->setCurrent(Entry(QStringLiteral("/a")));
    navigation->setCurrent(Entry(QStringLiteral("/b")));
    LumoFM::NavigationActions actions(navigation.get());
    LumoFM::RefreshAction refresh(navigation.get());
    QVERIFY(actions.backAction()->isEnabled());
    navigation.reset();
    QVERIFY(!actions.backAction()->isEnabled());
    QVERIFY(!actions.upAction()->isEnabled());
    QVERIFY(!refresh.isEnabled());
    actions.backAction()->trigger();
    refresh.trigger();
}

LUMO_TEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
