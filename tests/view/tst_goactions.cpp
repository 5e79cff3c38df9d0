#include "support/lumotest.h"

#include "view/goactions.h"
#include "view/spicview.h"

#include <QAction>
#include <QImage>

// Which navigation actions are enabled as a picture view moves through a list of three files.
class TestGoActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void updateActions_data();
    void updateActions();
    void slideshow_data();
    void slideshow();

private:
    QTemporaryDir m_dir;
    QStringList m_files;
};

static QStringList enabledNames(const GoActions& actions)
{
    const QStringList names{"start", "stop", "first", "last", "next", "previous"};
    QStringList enabled;
    for (int i = 0; i < names.size(); ++i) {
        if (actions.actions().at(i)->isEnabled())
            enabled << names.at(i);
    }
    return enabled;
}

void TestGoActions::initTestCase()
{
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    for (const char* name : {"a.png", "b.png", "c.png"}) {
        m_files << m_dir.filePath(QString::fromLatin1(name));
        QVERIFY(image.save(m_files.last()));
    }
}

void TestGoActions::updateActions_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("no view") << "none" << QStringList{};
    QTest::newRow("slideshow stopped")
        << "stopped" << QStringList{"start", "first", "last", "next", "previous"};
    QTest::newRow("slideshow running")
        << "running" << QStringList{"stop", "first", "last", "next", "previous"};
    QTest::newRow("view closed meanwhile") << "deleted" << QStringList{};
}

void TestGoActions::updateActions()
{
    QFETCH(QString, state);
    QFETCH(QStringList, expected);
    GoActions actions;
    QCOMPARE(enabledNames(actions), QStringList{});
    auto view = std::make_unique<SPicView>(5);
    if (state != QLatin1String("none"))
        actions.setPicView(view.get());
    if (state == QLatin1String("running"))
        view->startSlideshow();
    if (state == QLatin1String("deleted"))
        view.reset();
    actions.updateActions();
    QCOMPARE(enabledNames(actions), expected);
}

void TestGoActions::slideshow_data()
{
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("from the next-to-last to the end") << 1 << 1 << QStringList{"first", "previous"};
    QTest::newRow("one step from the first")
        << 0 << 1 << QStringList{"stop", "first", "last", "next", "previous"};
    QTest::newRow("two steps from the first") << 0 << 2 << QStringList{"first", "previous"};
}

void TestGoActions::slideshow()
{
    QFETCH(int, startRow);
    QFETCH(int, ticks);
    QFETCH(QStringList, expected);
    SPicView view(5);
    QVERIFY(view.openList(m_files));
    for (int i = 0; i < startRow; ++i)
        view.next();
    GoActions actions;
    actions.setPicView(&view);
    actions.updateActions();
    actions.startAction()->trigger();
    for (int i = 0; i < ticks; ++i)
        view.timerTimeout();
    QCOMPARE(view.currentRow(), startRow + ticks);
    QCOMPARE(view.slideshowRunning(), startRow + ticks < 2);
    QCOMPARE(enabledNames(actions), expected);
}

LUMO_TEST_MAIN(TestGoActions)
#include "tst_goactions.moc"
