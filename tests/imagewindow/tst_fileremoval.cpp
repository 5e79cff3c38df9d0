#include "support/lumotest.h"
#include "support/recordinglauncher.h"

#include "imagewindow/fileremoval.h"

// Removal is handed to the file-operations tool with the path as one argument.
class TestFileRemoval : public QObject
{
    Q_OBJECT

private slots:
    void removal_data();
    void removal();
};

void TestFileRemoval::removal_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("started");
    QTest::newRow("plain name") << "sea.png" << true;
    QTest::newRow("blanks and quotes stay one argument") << "the \"sea\" 1.png" << true;
    QTest::newRow("no file") << QString() << false;
}

void TestFileRemoval::removal()
{
    QFETCH(QString, name);
    QFETCH(bool, started);
    RecordingLauncher launcher;
    QTemporaryDir dir;
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    QCOMPARE(requestFileRemoval(path), started);
    if (!started) {
        QVERIFY(launcher.starts().isEmpty());
        return;
    }
    QCOMPARE(launcher.starts().size(), 1);
    const RecordingLauncher::Start& start = launcher.starts().first();
    QCOMPARE(QFileInfo(start.program).fileName(), QStringLiteral("lumo-fops"));
    QCOMPARE(start.arguments, (QStringList{QStringLiteral("--remove"), path}));
    QCOMPARE(start.workingDirectory, QFileInfo(path).absolutePath());
    QVERIFY(!start.waited);
}

LUMO_TEST_MAIN(TestFileRemoval)
#include "tst_fileremoval.moc"
