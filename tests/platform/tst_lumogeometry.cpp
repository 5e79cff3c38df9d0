#include "support/lumotest.h"

#include "platform/lumogeometry.h"

#include <QScreen>
#include <QSettings>
#include <QWidget>

// Where a window comes back: the stored place if it can still be reached, else the default.
class TestLumoGeometry : public QObject
{
    Q_OBJECT

private slots:
    void decision_data();
    void decision();
    void roundTrip_data();
    void roundTrip();
};

void TestLumoGeometry::decision_data()
{
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QRect>("defaultRect");
    QTest::addColumn<QRect>("expected");

    const QRect left(0, 0, 1920, 1080);
    const QRect right(1920, 0, 1280, 1024);
    const QList<QRect> one{left};
    const QList<QRect> two{left, right};
    const QRect def(0, 0, 600, 400);

    QTest::newRow("nothing stored") << QRect() << one << def << def;
    QTest::newRow("stored on the second screen")
        << QRect(2000, 100, 800, 600) << two << def << QRect(2000, 100, 800, 600);
    QTest::newRow("second screen gone") << QRect(2000, 100, 800, 600) << one << def << def;
    QTest::newRow("only a sliver shows")
        << QRect(1900, 100, 800, 600) << one << def << def;
    QTest::newRow("a corner big enough to grab")
        << QRect(1820, 1000, 800, 600) << one << def << QRect(1820, 1000, 800, 600);
    QTest::newRow("tiny window fully shown")
        << QRect(10, 10, 20, 10) << one << def << QRect(10, 10, 20, 10);
    QTest::newRow("empty stored size") << QRect(100, 100, 0, 0) << one << def << def;
    QTest::newRow("default under a top panel moves onto the screen")
        << QRect() << QList<QRect>{QRect(0, 32, 1920, 1048)} << def << QRect(0, 32, 600, 400);
    QTest::newRow("default larger than the screen shrinks")
        << QRect() << QList<QRect>{QRect(0, 0, 800, 300)} << QRect(0, 0, 600, 400)
        << QRect(0, 0, 600, 300);
    QTest::newRow("no screens known keeps the stored place")
        << QRect(-5000, 0, 800, 600) << QList<QRect>{} << def << QRect(-5000, 0, 800, 600);
}

void TestLumoGeometry::decision()
{
    QFETCH(QRect, stored);
    QFETCH(QList<QRect>, screens);
    QFETCH(QRect, defaultRect);
    QFETCH(QRect, expected);
    QCOMPARE(lumoGeometryToRestore(stored, screens, defaultRect), expected);
}

void TestLumoGeometry::roundTrip_data()
{
    QTest::addColumn<bool>("sizeOnly");
    QTest::addColumn<QString>("name");
    QTest::newRow("place and size") << false << "mainWindow";
    // A slash would open a nested group in the settings.
    QTest::newRow("size only, a slash in the name") << true << "a/b";
}

void TestLumoGeometry::roundTrip()
{
    QFETCH(bool, sizeOnly);
    QFETCH(QString, name);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect saved(screen.topLeft() + QPoint(40, 30), QSize(320, 200));
    const QRect def(screen.topLeft(), QSize(222, 111));
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("geometry.ini")), QSettings::IniFormat);
    {
        QWidget window;
        window.setObjectName(name);
        window.setGeometry(saved);
        lumoSaveGeometry(&window, settings, sizeOnly);
    }
    QWidget restored;
    restored.setObjectName(name);
    restored.setGeometry(QRect(screen.topLeft() + QPoint(5, 5), QSize(100, 100)));
    lumoRestoreGeometry(&restored, settings, def, sizeOnly);
    QCOMPARE(restored.size(), saved.size());
    if (!sizeOnly)
        QCOMPARE(restored.pos(), saved.topLeft());

    QWidget other; // nothing is stored for it
    lumoRestoreGeometry(&other, settings, def, false);
    QCOMPARE(other.geometry(), def);
    settings.beginGroup(QStringLiteral("Geometry"));
    QCOMPARE(settings.childGroups(), QStringList{name.replace(QLatin1Char('/'), QLatin1Char('_'))});
}

LUMO_TEST_MAIN(TestLumoGeometry)
#include "tst_lumogeometry.moc"
