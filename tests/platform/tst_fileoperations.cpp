#include "support/lumotest.h"
#include "support/scriptedprompter.h"

#include "platform/fileoperations.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QStandardPaths>

// Deleting and trashing for the file-operations tool: what goes, what stays, the trash record.
class TestFileOperations : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void trash_data();
    void trash();
    void trashNameClashGetsUniqueName();
    void trashWithoutDataDirectoryStaysOutOfWorkingDirectory();
    void remove_data();
    void remove();
    void failuresAreReportedAndTheRestIsDone_data();
    void failuresAreReportedAndTheRestIsDone();
    void confirmationText_data();
    void confirmationText();
    void commandLine_data();
    void commandLine();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString make(const QString& name) const;
    static QString trashDir();
    static QStringList recordedPaths();

    std::unique_ptr<QTemporaryDir> m_dir;
};

QString TestFileOperations::make(const QString& name) const
{
    QDir().mkpath(QFileInfo(path(name)).absolutePath());
    QFile file(path(name));
    file.open(QIODevice::WriteOnly);
    return path(name);
}

QString TestFileOperations::trashDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Trash");
}

// The decoded Path= of every record, sorted.
QStringList TestFileOperations::recordedPaths()
{
    QStringList paths;
    QDirIterator it(trashDir() + QStringLiteral("/info"));
    while (it.hasNext()) {
        QFile record(it.next());
        if (!record.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : record.readAll().split('\n')) {
            if (line.startsWith("Path="))
                paths << QFile::decodeName(QByteArray::fromPercentEncoding(line.mid(5)));
        }
    }
    paths.sort();
    return paths;
}

// a.png, album/{x.png, sub/y.png}, albumlink -> album, dangling -> nowhere,
// holder/link -> album, empty/, single/one.png
void TestFileOperations::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QDir(trashDir()).removeRecursively();
    for (const char* name : {"a.png", "album/x.png", "album/sub/y.png", "single/one.png"})
        make(QString::fromLatin1(name));
    QVERIFY(QDir().mkpath(path(QStringLiteral("empty"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("holder"))));
    QVERIFY(QFile::link(path(QStringLiteral("album")), path(QStringLiteral("albumlink"))));
    QVERIFY(QFile::link(path(QStringLiteral("nowhere")), path(QStringLiteral("dangling"))));
    QVERIFY(QFile::link(path(QStringLiteral("album")), path(QStringLiteral("holder/link"))));
}

void TestFileOperations::trash_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("recordedName");

    QTest::newRow("plain file") << "a.png" << QByteArray("a.png");
    QTest::newRow("blank, percent and umlaut are encoded")
        << QString::fromUtf8("a b%ü.png") << QByteArray("a%20b%25%C3%BC.png");
    QTest::newRow("folder goes whole") << "album" << QByteArray("album");
    QTest::newRow("link to a folder goes as a link") << "albumlink" << QByteArray("albumlink");
}

void TestFileOperations::trash()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, recordedName);
    if (!QFileInfo::exists(path(name)))
        make(name);

    ScriptedPrompter prompter;
    FileOperations operations;
    QCOMPARE(operations.moveToTrash({path(name)}), FileOperations::Outcome::Done);
    QVERIFY(prompter.asked().isEmpty());
    QVERIFY(!QFileInfo(path(name)).exists() && !QFileInfo(path(name)).isSymLink());
    const QFileInfo trashed(trashDir() + QStringLiteral("/files/") + name);
    QVERIFY(trashed.exists());
    QCOMPARE(trashed.isSymLink(), name == QLatin1String("albumlink"));
    if (trashed.isSymLink())
        QVERIFY(QFileInfo::exists(path(QStringLiteral("album/sub/y.png"))));

    QFile record(trashDir() + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"));
    QVERIFY(record.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = record.readAll().split('\n');
    QCOMPARE(lines.value(0), QByteArray("[Trash Info]"));
    QVERIFY(lines.contains("Path=" + QFile::encodeName(m_dir->path()).toPercentEncoding("/") + '/'
                           + recordedName));
    const auto date = std::find_if(lines.cbegin(), lines.cend(), [](const QByteArray& line) {
        return line.startsWith("DeletionDate=");
    });
    QVERIFY(date != lines.cend());
    QVERIFY(QDateTime::fromString(QString::fromLatin1(date->mid(13)), Qt::ISODate).isValid());
}

void TestFileOperations::trashNameClashGetsUniqueName()
{
    const QString first = make(QStringLiteral("one/same.png"));
    const QString second = make(QStringLiteral("two/same.png"));
    ScriptedPrompter prompter;
    FileOperations operations;
    QCOMPARE(operations.moveToTrash({first}), FileOperations::Outcome::Done);
    QCOMPARE(operations.moveToTrash({second}), FileOperations::Outcome::Done);

    QCOMPARE(QDir(trashDir() + QStringLiteral("/files")).entryList(QDir::Files).size(), 2);
    QCOMPARE(recordedPaths(), (QStringList{first, second}));
}

void TestFileOperations::trashWithoutDataDirectoryStaysOutOfWorkingDirectory()
{
    QVERIFY(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                .removeRecursively());
    QTemporaryDir workingDir;
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(workingDir.path());
    ScriptedPrompter prompter;
    const FileOperations::Outcome outcome = FileOperations().moveToTrash({path("a.png")});
    QDir::setCurrent(oldCurrent);

    QCOMPARE(outcome, FileOperations::Outcome::Done);
    QVERIFY(QFileInfo::exists(trashDir() + QStringLiteral("/files/a.png")));
    QVERIFY(QDir(workingDir.path()).isEmpty());
}

void TestFileOperations::remove_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("gone");
    QTest::addColumn<QStringList>("kept");

    const QStringList both{"a.png", "album"};
    const QStringList target{"album/sub/y.png"};
    QTest::newRow("declined removes nothing")
        << false << both << QStringList() << QStringList{"a.png", "album/sub/y.png"};
    QTest::newRow("accepted removes file and folder")
        << true << both << both << QStringList{"single/one.png"};
    QTest::newRow("link to a folder goes as a link")
        << true << QStringList{"albumlink"} << QStringList{"albumlink"} << target;
    QTest::newRow("trailing slash still removes only the link")
        << true << QStringList{"albumlink/"} << QStringList{"albumlink"} << target;
    QTest::newRow("link inside a removed folder is not followed")
        << true << QStringList{"holder"} << QStringList{"holder"} << target;
    QTest::newRow("link to nothing goes")
        << true << QStringList{"dangling"} << QStringList{"dangling"} << QStringList{"a.png"};
    QTest::newRow("path inside a given folder is taken along")
        << true << QStringList{"album/x.png", "album"} << QStringList{"album"}
        << QStringList{"a.png"};
}

void TestFileOperations::remove()
{
    QFETCH(bool, accept);
    QFETCH(QStringList, given);
    QFETCH(QStringList, gone);
    QFETCH(QStringList, kept);

    QStringList paths;
    for (const QString& name : given)
        paths << path(name);
    ScriptedPrompter prompter;
    prompter.answer(accept ? QMessageBox::Yes : QMessageBox::No);
    const FileOperations::Outcome outcome = FileOperations().remove(paths);

    QCOMPARE(prompter.asked().size(), 1);
    QCOMPARE(prompter.asked().first().icon, QMessageBox::Question);
    QCOMPARE(outcome, accept ? FileOperations::Outcome::Done : FileOperations::Outcome::Declined);
    for (const QString& name : gone) {
        const QFileInfo entry(path(name));
        QVERIFY2(!entry.exists() && !entry.isSymLink(), qPrintable(name));
    }
    for (const QString& name : kept)
        QVERIFY2(QFileInfo::exists(path(name)), qPrintable(name));
}

void TestFileOperations::failuresAreReportedAndTheRestIsDone_data()
{
    QTest::addColumn<bool>("toTrash");
    QTest::addColumn<QString>("failing");

    QTest::newRow("missing path, delete") << false << "missing.png";
    QTest::newRow("missing path, trash") << true << "missing.png";
    QTest::newRow("link to nothing cannot be trashed") << true << "dangling";
}

void TestFileOperations::failuresAreReportedAndTheRestIsDone()
{
    QFETCH(bool, toTrash);
    QFETCH(QString, failing);

    const QStringList paths{path(failing), path(QStringLiteral("a.png"))};
    ScriptedPrompter prompter;
    prompter.setFallback(QMessageBox::Yes);
    FileOperations operations;
    const FileOperations::Outcome outcome =
        toTrash ? operations.moveToTrash(paths) : operations.remove(paths);

    QCOMPARE(outcome, FileOperations::Outcome::Failed);
    QVERIFY(!QFileInfo::exists(paths.last()));
    QCOMPARE(prompter.asked().last().icon, QMessageBox::Warning);
    QVERIFY(prompter.asked().last().text.contains(paths.first()));
    QVERIFY(!prompter.asked().last().text.contains(paths.last()));
    QCOMPARE(operations.failures().size(), 1);
}

void TestFileOperations::confirmationText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("folder counts items at every depth") << "album" << "album (folder with 3 items)";
    QTest::newRow("empty folder") << "empty" << "empty (empty folder)";
    QTest::newRow("folder with one item") << "single" << "single (folder with 1 item)";
    QTest::newRow("link names its target") << "albumlink" << "albumlink (link to ";
}

void TestFileOperations::confirmationText()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const QString text = FileOperations::confirmationText({path(name)});
    QVERIFY2(text.contains(path(expected)), qPrintable(text));
}

void TestFileOperations::commandLine_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("fileStays");

    QTest::newRow("trash") << QStringList{"--trash"} << 0 << false;
    QTest::newRow("both options refused") << QStringList{"--remove", "--trash"} << 2 << true;
}

void TestFileOperations::commandLine()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(bool, fileStays);

    ScriptedPrompter prompter;
    const QStringList arguments = QStringList{"lumo-fops"} + options + QStringList{path("a.png")};
    QCOMPARE(FileOperations::run(arguments), exitCode);
    QCOMPARE(QFileInfo::exists(path("a.png")), fileStays);
}

LUMO_TEST_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
