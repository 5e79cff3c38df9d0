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
    void refreshAnnouncesWithoutHistory();
    void actionsFollowNavigation();
    void actionsOutliveNavigation();
};

namespace {

// Runs a script of steps: a path ("/a") sets it current, "" an invalid entry, "<" back,
// ">" forward, "^" up.
void run(Navigation& navigation, const QStringList& steps)
{
    for (const QString& step : steps) {
        if (step == QLatin1String("<"))
            navigation.back();
        else if (step == QLatin1String(">"))
            navigation.forward();
        else if (step == QLatin1String("^"))
            navigation.up();
        else
            navigation.setCurrent(step.isEmpty() ? Entry() : Entry(step));
    }
}

} // namespace

void TestNavigation::history_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("canBack");
    QTest::addColumn<bool>("canForward");
    QTest::addColumn<bool>("canUp");
    QTest::addColumn<int>("announcements");

    QTest::newRow("nothing yet") << QStringList{} << QString() << false << false << false << 0;
    QTest::newRow("first place has no history")
        << QStringList{"/a"} << "/a" << false << false << true << 1;
    QTest::newRow("invalid entry ignored")
        << QStringList{"/a", ""} << "/a" << false << false << true << 1;
    QTest::newRow("same place again ignored")
        << QStringList{"/a", "/a"} << "/a" << false << false << true << 1;
    QTest::newRow("two places") << QStringList{"/a", "/b"} << "/b" << true << false << true << 2;
    QTest::newRow("back") << QStringList{"/a", "/b", "<"} << "/a" << false << true << true << 3;
    QTest::newRow("back then forward")
        << QStringList{"/a", "/b", "<", ">"} << "/b" << true << false << true << 4;
    QTest::newRow("new place forgets forward")
        << QStringList{"/a", "/b", "<", "/c"} << "/c" << true << false << true << 4;
    QTest::newRow("back past the start stays")
        << QStringList{"/a", "<", "<"} << "/a" << false << false << true << 1;
    QTest::newRow("up is a step back can undo")
        << QStringList{"/a/b", "^"} << "/a" << true << false << true << 2;
    QTest::newRow("up to root, then no further")
        << QStringList{"/a", "^", "^"} << "/" << true << false << false << 2;
    QTest::newRow("up then back returns")
        << QStringList{"/a/b", "^", "<"} << "/a/b" << false << true << true << 3;
}

void TestNavigation::history()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, current);
    QFETCH(bool, canBack);
    QFETCH(bool, canForward);
    QFETCH(bool, canUp);
    QFETCH(int, announcements);

    Navigation navigation;
    QSignalSpy spy(&navigation, &Navigation::currentChanged);
    run(navigation, steps);

    QCOMPARE(navigation.current().path(), current);
    QCOMPARE(navigation.canGoBack(), canBack);
    QCOMPARE(navigation.canGoForward(), canForward);
    QCOMPARE(navigation.canGoUp(), canUp);
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
    while (navigation.canGoBack()) {
        navigation.back();
        ++steps;
    }
    QCOMPARE(steps, Navigation::historyLimit);
    QCOMPARE(navigation.current().path(), QStringLiteral("/d10"));
}

void TestNavigation::refreshAnnouncesWithoutHistory()
{
    Navigation navigation;
    LumoFM::RefreshAction refresh(&navigation);
    QVERIFY(!refresh.isEnabled());
    navigation.setCurrent(Entry(QStringLiteral("/a")));
    QVERIFY(refresh.isEnabled());

    QSignalSpy spy(&navigation, &Navigation::currentChanged);
    refresh.trigger();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<Entry>().path(), QStringLiteral("/a"));
    QVERIFY(!navigation.canGoBack());
}

void TestNavigation::actionsFollowNavigation()
{
    Navigation navigation;
    LumoFM::NavigationActions actions(&navigation);
    const auto enabled = [&actions] {
        return QList<bool>{actions.backAction()->isEnabled(), actions.forwardAction()->isEnabled(),
                           actions.upAction()->isEnabled()};
    };
    QCOMPARE(enabled(), (QList<bool>{false, false, false}));
    navigation.setCurrent(Entry(QStringLiteral("/a/b")));
    QCOMPARE(enabled(), (QList<bool>{false, false, true}));
    actions.upAction()->trigger();
    QCOMPARE(navigation.current().path(), QStringLiteral("/a"));
    QCOMPARE(enabled(), (QList<bool>{true, false, true}));
    actions.backAction()->trigger();
    QCOMPARE(navigation.current().path(), QStringLiteral("/a/b"));
    QCOMPARE(enabled(), (QList<bool>{false, true, true}));
    actions.forwardAction()->trigger();
    QCOMPARE(navigation.current().path(), QStringLiteral("/a"));
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
