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

    void geometryDecision_data() { lumotest::addRows(QStringLiteral("geometryrestore.txt")); }

    void geometryDecision()
    {
        QFETCH(QVector<int>, stored);
        QFETCH(QVector<int>, screens);
        QFETCH(QVector<int>, expected);
        const auto rects = [](const QVector<int>& v) {
            QList<QRect> result;
            for (int i = 0; i + 3 < v.size(); i += 4)
                result << QRect(v[i], v[i + 1], v[i + 2], v[i + 3]);
            return result;
        };
        const QSize def(600, 400);
        const LumoGeometryDecision decision =
            lumoGeometryToRestore(rects(stored).value(0), rects(screens), def);
        QCOMPARE(decision.placed, !expected.isEmpty() && expected == stored);
        QCOMPARE(decision.rect, rects(expected).value(0, QRect(QPoint(), def)));
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
