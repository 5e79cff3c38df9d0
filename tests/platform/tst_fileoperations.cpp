#include "support/lumotest.h"
#include "support/scriptedprompter.h"

#include "platform/fileoperations.h"
#include "platform/fileproperties.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QImageWriter>
#include <QStandardPaths>

#include <sys/stat.h>

using Outcome = FileOperations::Outcome;
using Field = FileProperties::Field;

// The two file tools: deleting and trashing (what goes, what stays, the trash record), and the
// texts the properties tool shows.
class TestFileOperations : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void trash_data();
    void trash();
    void remove_data();
    void remove();
    void failuresAreReportedAndTheRestIsDone_data();
    void failuresAreReportedAndTheRestIsDone();
    void confirmationText();
    void commandLine();
    void properties_data();
    void properties();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString make(const QString& name, const QByteArray& data = QByteArray()) const;
    static QString trashDir();

    std::unique_ptr<QTemporaryDir> m_dir;
};

QString TestFileOperations::make(const QString& name, const QByteArray& data) const
{
    QDir().mkpath(QFileInfo(path(name)).absolutePath());
    QFile file(path(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(data);
    return path(name);
}

QString TestFileOperations::trashDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash";
}

// a.png, album/{x.png, sub/y.png}, albumlink -> album, dangling -> nowhere, holder/link -> album,
// empty/, single/one.png; for the properties p.png (7 x 3), r.jpg (turned), broken.png, pipe,
// link.png -> p.png
void TestFileOperations::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir(trashDir()).removeRecursively();
    for (const char* name : {"a.png", "album/x.png", "album/sub/y.png", "single/one.png"})
        make(QString::fromLatin1(name));
    QVERIFY(QDir().mkpath(path("empty")) && QDir().mkpath(path("holder")));
    QVERIFY(QFile::link(path("album"), path("albumlink")));
    QVERIFY(QFile::link(path("nowhere"), path("dangling")));
    QVERIFY(QFile::link(path("album"), path("holder/link")));

    QImage image(7, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(path("p.png")));
    QImageWriter rotated(path("r.jpg"));
    rotated.setTransformation(QImageIOHandler::TransformationRotate90);
    QVERIFY(rotated.write(image));
    make("broken.png", QByteArray(64, 'x'));
    QCOMPARE(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
    QVERIFY(QFile::link(path("p.png"), path("link.png")));
}

void TestFileOperations::trash_data()
{
    QTest::addColumn<QStringList>("names");   // trashed one after the other
    QTest::addColumn<QByteArray>("recorded"); // a Path= line as written; empty: not checked
    QTest::addColumn<bool>("withoutDataDir");

    QTest::newRow("Path= encoded: blank, percent and umlaut")
        << QStringList{QString::fromUtf8("a b%ü.png")} << QByteArray("a%20b%25%C3%BC.png")
        << false;
    QTest::newRow("folder goes whole") << QStringList{"album"} << QByteArray() << false;
    QTest::newRow("link to a folder goes as a link, the folder stays")
        << QStringList{"albumlink"} << QByteArray() << false;
    QTest::newRow("name clash gets a unique name")
        << QStringList{"one/same.png", "two/same.png"} << QByteArray() << false;
    // The trash is made under the home, never relative to the working directory.
    QTest::newRow("trash with XDG_DATA_HOME missing")
        << QStringList{"a.png"} << QByteArray() << true;
}

void TestFileOperations::trash()
{
    QFETCH(QStringList, names);
    QFETCH(QByteArray, recorded);
    QFETCH(bool, withoutDataDir);
    if (withoutDataDir)
        QVERIFY(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                    .removeRecursively());
    QStringList paths;
    for (const QString& name : names)
        paths << (QFileInfo::exists(path(name)) ? path(name) : make(name));

    QTemporaryDir workingDir;
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(workingDir.path());
    ScriptedPrompter prompter;
    FileOperations operations;
    for (const QString& file : paths)
        QCOMPARE(operations.moveToTrash({file}), Outcome::Done);
    QDir::setCurrent(oldCurrent);
    QVERIFY(prompter.asked().isEmpty());
    QVERIFY(QDir(workingDir.path()).isEmpty());

    for (const QString& file : paths)
        QVERIFY(!QFileInfo(file).exists() && !QFileInfo(file).isSymLink());
    QCOMPARE(QFileInfo::exists(path("album/sub/y.png")), !names.contains("album"));
    const QFileInfoList trashed = QDir(trashDir() + "/files").entryInfoList(
        QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    QCOMPARE(trashed.size(), names.size());
    QCOMPARE(trashed.first().isSymLink(), names.first() == "albumlink");

    // Each record starts right, names its own original and has a valid date.
    QStringList recordedPaths;
    QDirIterator it(trashDir() + "/info", QDir::Files);
    while (it.hasNext()) {
        QFile record(it.next());
        QVERIFY(record.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = record.readAll().split('\n');
        QCOMPARE(lines.value(0), QByteArray("[Trash Info]"));
        for (const QByteArray& line : lines) {
            if (line.startsWith("Path="))
                recordedPaths << QFile::decodeName(QByteArray::fromPercentEncoding(line.mid(5)));
            if (line.startsWith("DeletionDate="))
                QVERIFY(QDateTime::fromString(line.mid(13), Qt::ISODate).isValid());
        }
        const QByteArray dir = QFile::encodeName(m_dir->path()).toPercentEncoding("/");
        QVERIFY(recorded.isEmpty() || lines.contains("Path=" + dir + '/' + recorded));
    }
    recordedPaths.sort();
    QCOMPARE(recordedPaths, paths);
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
    QCOMPARE(FileOperations().remove(paths), accept ? Outcome::Done : Outcome::Declined);
    QCOMPARE(prompter.asked().size(), 1);
    for (const QString& name : gone)
        QVERIFY2(!QFileInfo(path(name)).exists() && !QFileInfo(path(name)).isSymLink(),
                 qPrintable(name));
    for (const QString& name : kept)
        QVERIFY2(QFileInfo::exists(path(name)), qPrintable(name));
}

void TestFileOperations::failuresAreReportedAndTheRestIsDone_data()
{
    QTest::addColumn<bool>("toTrash");
    QTest::addColumn<QString>("failing");
    QTest::newRow("missing path, delete") << false << "missing.png";
    QTest::newRow("link to nothing cannot be trashed") << true << "dangling";
}

void TestFileOperations::failuresAreReportedAndTheRestIsDone()
{
    QFETCH(bool, toTrash);
    QFETCH(QString, failing);
    const QStringList paths{path(failing), path("a.png")};
    ScriptedPrompter prompter;
    prompter.setFallback(QMessageBox::Yes);
    FileOperations operations;
    QCOMPARE(toTrash ? operations.moveToTrash(paths) : operations.remove(paths), Outcome::Failed);
    QVERIFY(!QFileInfo::exists(paths.last()));
    QCOMPARE(prompter.asked().last().icon, QMessageBox::Warning);
    QVERIFY(prompter.asked().last().text.contains(paths.first()));
    QVERIFY(!prompter.asked().last().text.contains(paths.last()));
    QCOMPARE(operations.failures().size(), 1);
}

void TestFileOperations::confirmationText()
{
    const QString text = FileOperations::confirmationText(
        {path("album"), path("empty"), path("single"), path("albumlink")});
    // Items at every depth; "1 item", not "1 items".
    for (const char* part : {"album (folder with 3 items)", "empty (empty folder)",
                             "single (folder with 1 item)", "albumlink (link to "})
        QVERIFY2(text.contains(path(part)), qPrintable(text));
}

void TestFileOperations::commandLine()
{
    ScriptedPrompter prompter;
    QCOMPARE(FileOperations::run({"lumo-fops", "--remove", "--trash", path("a.png")}), 2);
    QVERIFY(QFileInfo::exists(path("a.png")));
    QCOMPARE(FileOperations::run({"lumo-fops", "--trash", path("a.png")}), 0);
    QVERIFY(!QFileInfo::exists(path("a.png")));
    QVERIFY(QFileInfo::exists(trashDir() + "/files/a.png"));
}

void TestFileOperations::properties_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type"); // empty: not checked
    QTest::addColumn<QString>("dimensions");
    QTest::addColumn<QString>("contents");
    QTest::addColumn<QString>("linkTarget");

    const QString sevenByThree = QString::fromUtf8("7 × 3 pixels");
    QTest::newRow("JPEG turned by its orientation shows its upright size")
        << "r.jpg" << "JPEG image" << QString::fromUtf8("3 × 7 pixels") << "" << "";
    QTest::newRow("broken image is said to be unreadable")
        << "broken.png" << "PNG image" << "Cannot be read" << "" << "";
    QTest::newRow("folder counts its entries, hidden ones too")
        << "single" << "folder" << "" << "2 items" << "";
    QTest::newRow("pipe is described without being opened") << "pipe" << "" << "" << "" << "";
    QTest::newRow("link to nothing names its target")
        << "dangling" << "Link to a missing file" << "" << "" << "nowhere";
    QTest::newRow("link to a PNG describes the picture, measured from its header")
        << "link.png" << "PNG image" << sevenByThree << "" << "p.png";
}

void TestFileOperations::properties()
{
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(QString, dimensions);
    QFETCH(QString, contents);
    QFETCH(QString, linkTarget);
    make("single/.hidden");
    const FileProperties properties(path(name));
    QVERIFY(properties.exists());
    QCOMPARE(properties.text(Field::Name), name);
    if (!type.isEmpty())
        QCOMPARE(properties.text(Field::Type), type);
    QCOMPARE(properties.text(Field::Dimensions), dimensions);
    QCOMPARE(properties.text(Field::Contents), contents);
    QCOMPARE(QFileInfo(properties.text(Field::LinkTarget)).fileName(), linkTarget);
    if (name == "broken.png")
        QCOMPARE(properties.text(Field::Size), QStringLiteral("64 bytes"));
    const FileProperties missing(path("missing.png"));
    QVERIFY(!missing.exists() && missing.fields().isEmpty());
}

LUMO_TEST_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
