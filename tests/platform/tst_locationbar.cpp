#include "support/lumotest.h"

#include "platform/lumofm/locationbar.h"
#include "platform/lumofm/navigation.h"
#include "platform/lumofm/vfs.h"

#include <QDir>
#include <QFile>

using LumoFM::LocationBar;
using LumoFM::Navigation;

// Typing a path and pressing Enter in the location bar, and what clears a "not found" mark.
class TestLocationBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void enter_data();
    void enter();

private:
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir m_dir;
};

void TestLocationBar::initTestCase()
{
    QVERIFY(QDir().mkpath(path(QStringLiteral("start"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("other dir"))));
    QFile file(path(QStringLiteral("a.png")));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void TestLocationBar::enter_data()
{
    // "@" stands for the sandbox.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("then"); // after Enter: "navigate", "edit", "escape" or nothing
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("notFound");
    QTest::addColumn<QString>("shown");

    QTest::newRow("existing directory")
        << "@/other dir" << "" << "@/other dir" << false << "@/other dir";
    QTest::newRow("surrounding blanks ignored")
        << "  @/other dir  " << "" << "@/other dir" << false << "@/other dir";
    QTest::newRow("the current directory again shows it cleanly")
        << "@/start/" << "" << "@/start" << false << "@/start";
    // A bad path stays for the user to correct.
    QTest::newRow("missing directory") << "@/nowhere" << "" << "@/start" << true << "@/nowhere";
    QTest::newRow("a file is no directory") << "@/a.png" << "" << "@/start" << true << "@/a.png";
    QTest::newRow("empty text") << "" << "" << "@/start" << true << "";
    QTest::newRow("mark clears on the next navigation")
        << "@/nowhere" << "navigate" << "@/other dir" << false << "@/other dir";
    QTest::newRow("mark clears on editing")
        << "@/nowhere" << "edit" << "@/start" << false << "@/nowher";
    QTest::newRow("mark clears on Escape, back to the current path")
        << "@/nowhere" << "escape" << "@/start" << false << "@/start";
}

void TestLocationBar::enter()
{
    QFETCH(QString, typed);
    QFETCH(QString, then);
    QFETCH(QString, current);
    QFETCH(bool, notFound);
    QFETCH(QString, shown);
    for (QString* text : {&typed, &current, &shown})
        text->replace(QLatin1Char('@'), m_dir.path());

    Navigation navigation;
    navigation.setCurrent(LumoFM::VFS::ptr()->entry(path(QStringLiteral("start"))));
    LocationBar bar(&navigation);
    QCOMPARE(bar.text(), path(QStringLiteral("start")));

    bar.setText(typed);
    QTest::keyClick(&bar, Qt::Key_Return);
    if (then == QLatin1String("navigate"))
        navigation.setCurrent(LumoFM::VFS::ptr()->entry(path(QStringLiteral("other dir"))));
    else if (then == QLatin1String("edit"))
        QTest::keyClick(&bar, Qt::Key_Backspace);
    else if (then == QLatin1String("escape"))
        QTest::keyClick(&bar, Qt::Key_Escape);

    QCOMPARE(navigation.current().path(), current);
    QCOMPARE(bar.isPathNotFound(), notFound);
    QCOMPARE(bar.toolTip().isEmpty(), !notFound);
    QCOMPARE(bar.text(), shown);
}

LUMO_TEST_MAIN(TestLocationBar)
#include "tst_locationbar.moc"
