#include "support/lumotest.h"

#include "platform/lumofm/locationbar.h"
#include "platform/lumofm/navigation.h"
#include "platform/lumofm/vfs.h"

#include <QDir>
#include <QFile>

using LumoFM::Entry;
using LumoFM::LocationBar;
using LumoFM::Navigation;

// Typing a path and pressing Enter in the location bar.
class TestLocationBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void enter_data();
    void enter();
    void markClears_data();
    void markClears();

private:
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir m_dir;
};

void TestLocationBar::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir().mkpath(path(QStringLiteral("start"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("other dir"))));
    QFile file(path(QStringLiteral("a.png")));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void TestLocationBar::enter_data()
{
    QTest::addColumn<QString>("typed"); // "@" stands for the sandbox
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("notFound");

    QTest::newRow("existing directory") << "@/other dir" << "@/other dir" << false;
    QTest::newRow("surrounding blanks ignored") << "  @/other dir  " << "@/other dir" << false;
    QTest::newRow("file URL") << "file://@/other%20dir" << "@/other dir" << false;
    QTest::newRow("unclean path is cleaned") << "@/start/../other dir/" << "@/other dir" << false;
    QTest::newRow("missing directory") << "@/nowhere" << "@/start" << true;
    QTest::newRow("a file is no directory") << "@/a.png" << "@/start" << true;
    QTest::newRow("empty text") << QString() << "@/start" << true;
    QTest::newRow("the current directory again") << "@/start/" << "@/start" << false;
}

void TestLocationBar::enter()
{
    QFETCH(QString, typed);
    QFETCH(QString, current);
    QFETCH(bool, notFound);
    typed.replace(QLatin1Char('@'), m_dir.path());
    current.replace(QLatin1Char('@'), m_dir.path());

    Navigation navigation;
    navigation.setCurrent(LumoFM::VFS::ptr()->entry(path(QStringLiteral("start"))));
    LocationBar bar(&navigation);
    QCOMPARE(bar.text(), path(QStringLiteral("start")));

    bar.setText(typed);
    QTest::keyClick(&bar, Qt::Key_Return);

    QCOMPARE(navigation.current().path(), current);
    QCOMPARE(bar.isPathNotFound(), notFound);
    QCOMPARE(bar.toolTip().isEmpty(), !notFound);
    // A bad path stays for the user to correct; a good one shows as the navigation has it.
    QCOMPARE(bar.text(), notFound ? typed : current);
}

void TestLocationBar::markClears_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text"); // "@" stands for the sandbox

    QTest::newRow("on the next navigation") << "navigate" << "@/other dir";
    QTest::newRow("on editing") << "edit" << "@/nowher";
    QTest::newRow("on Escape, back to the current path") << "escape" << "@/start";
}

void TestLocationBar::markClears()
{
    QFETCH(QString, how);
    QFETCH(QString, text);
    text.replace(QLatin1Char('@'), m_dir.path());

    Navigation navigation;
    navigation.setCurrent(LumoFM::VFS::ptr()->entry(path(QStringLiteral("start"))));
    LocationBar bar(&navigation);
    bar.setText(path(QStringLiteral("nowhere")));
    QTest::keyClick(&bar, Qt::Key_Return);
    QVERIFY(bar.isPathNotFound());
    QCOMPARE(bar.toolTip(), QStringLiteral("Path not found"));

    if (how == QLatin1String("navigate"))
        navigation.setCurrent(LumoFM::VFS::ptr()->entry(path(QStringLiteral("other dir"))));
    else if (how == QLatin1String("edit"))
        QTest::keyClick(&bar, Qt::Key_Backspace);
    else
        QTest::keyClick(&bar, Qt::Key_Escape);

    QVERIFY(!bar.isPathNotFound());
    QVERIFY(bar.toolTip().isEmpty());
    QCOMPARE(bar.text(), text);
}

LUMO_TEST_MAIN(TestLocationBar)
#include "tst_locationbar.moc"
