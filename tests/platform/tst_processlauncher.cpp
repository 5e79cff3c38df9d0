#include "support/lumotest.h"

#include "platform/processlauncher.h"

// Running external programs for real and waiting for them.
class TestProcessLauncher : public QObject
{
    Q_OBJECT

private slots:
    void execute_data();
    void execute();
};

void TestProcessLauncher::execute_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("exit code comes back") << "sh" << QStringList{"-c", "exit 3"} << 3;
    QTest::newRow("missing program is not started")
        << "lumo-no-such-program" << QStringList() << -2;
    QTest::newRow("a crash is not an exit code") << "sh" << QStringList{"-c", "kill -9 $$"} << -1;
}

void TestProcessLauncher::execute()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QCOMPARE(ProcessLauncher::current()->execute(program, arguments), exitCode);
}

LUMO_TEST_MAIN(TestProcessLauncher)
#include "tst_processlauncher.moc"
