#include "support/lumotest.h"

#include "platformwidgets/lumogeometry.h"
#include "platformwidgets/lumosplitter.h"
#include "platformwidgets/lumotabletmode.h"

#include <QPointer>
#include <QScreen>
#include <QSettings>
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

// Window helpers: windows learn about tablet mode only through QEvent::StyleChange, touch layouts
// use thin splitter handles, and a window comes back to its stored place if that can still be
// reached, else to the default.
class TestTabletMode : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { lumoSetTabletMode(false); }

    void switching_data()
    {
        QTest::addColumn<QList<bool>>("switches");
        QTest::addColumn<int>("topLevelChanges");
        QTest::newRow("on then off") << QList<bool>{true, false} << 2;
        QTest::newRow("repeats are silent") << QList<bool>{false, true, true} << 1;
    }

    void switching()
    {
        QFETCH(QList<bool>, switches);
        QFETCH(int, topLevelChanges);
        StyleWatcher shown;
        StyleWatcher hidden;
        auto* child = new StyleWatcher;
        child->setParent(&shown);
        shown.show();
        // A window deleted while the others are being told must not break the switch.
        shown.toDelete = hidden.toDelete = new StyleWatcher;
        for (const bool on : switches)
            lumoSetTabletMode(on);
        QCOMPARE(lumoInTabletMode(), switches.last());
        QVERIFY(!shown.toDelete);
        QCOMPARE((QList<int>{shown.changes, hidden.changes, child->changes}),
                 (QList<int>{topLevelChanges, topLevelChanges, 0}));
        QCOMPARE(shown.seenMode, switches.last());
    }

    void thinSplitterHandles()
    {
        LumoSplitter splitter(Qt::Horizontal);
        splitter.setHandleWidth(9);
        splitter.setThinHandleModeEnabled(true);
        QCOMPARE(splitter.handleWidth(), 1);
        // Switching on twice must still come back to the caller's width.
        splitter.setThinHandleModeEnabled(true);
        splitter.setThinHandleModeEnabled(false);
        QVERIFY(!splitter.thinHandleModeEnabled());
        QCOMPARE(splitter.handleWidth(), 9);
    }

    void geometryDecision_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("expected"); // null: unplaced, the default 600 by 400

        using R = QRect;
        const QList<R> one{R(0, 0, 1920, 1080)};
        QTest::newRow("only a sliver shows") << R(1900, 100, 800, 600) << one << R();
        QTest::newRow("a corner big enough to grab")
            << R(1820, 1000, 800, 600) << one << R(1820, 1000, 800, 600);
        QTest::newRow("tiny window fully shown") << R(10, 10, 20, 10) << one << R(10, 10, 20, 10);
        QTest::newRow("empty stored size") << R(100, 100, 0, 0) << one << R();
        QTest::newRow("nothing stored, under a top panel: the window manager places it")
            << R() << QList<R>{R(0, 32, 1920, 1048)} << R();
        QTest::newRow("default larger than the screen shrinks, unplaced")
            << R() << QList<R>{R(0, 0, 800, 300)} << R(0, 0, 600, 300);
        QTest::newRow("no screens known keeps the stored place")
            << R(-5000, 0, 800, 600) << QList<R>{} << R(-5000, 0, 800, 600);
    }

    void geometryDecision()
    {
        QFETCH(QRect, stored);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, expected);
        const QSize def(600, 400);
        const LumoGeometryDecision decision = lumoGeometryToRestore(stored, screens, def);
        const bool placed = expected.isValid() && expected == stored;
        QCOMPARE(decision.placed, placed);
        QCOMPARE(decision.rect, expected.isNull() ? QRect(QPoint(), def) : expected);
    }

    void geometryRoundTrip_data()
    {
        QTest::addColumn<bool>("sizeOnly");
        QTest::addColumn<QString>("name");
        QTest::newRow("place and size") << false << "mainWindow";
        // A slash would open a nested group in the settings.
        QTest::newRow("size only, a slash in the name") << true << "a/b";
    }

    void geometryRoundTrip()
    {
        QFETCH(bool, sizeOnly);
        QFETCH(QString, name);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect saved(screen.topLeft() + QPoint(40, 30), QSize(320, 200));
        const QSize def(222, 111);
        QTemporaryDir dir;
        QSettings settings(dir.filePath("geometry.ini"), QSettings::IniFormat);
        QWidget window;
        window.setObjectName(name);
        window.setGeometry(saved);
        lumoSaveGeometry(&window, settings, sizeOnly);
        QWidget restored;
        restored.setObjectName(name);
        restored.setGeometry(QRect(screen.topLeft() + QPoint(5, 5), QSize(100, 100)));
        lumoRestoreGeometry(&restored, settings, def, sizeOnly);
        QCOMPARE(restored.geometry(),
                 QRect(sizeOnly ? restored.pos() : saved.topLeft(), saved.size()));
        settings.beginGroup("Geometry");
        QCOMPARE(settings.childGroups(), QStringList{name.replace('/', '_')});
    }
};

LUMO_TEST_MAIN(TestTabletMode)
#include "tst_tabletmode.moc"
