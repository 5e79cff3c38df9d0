#include "support/lumotest.h"
#include "support/scriptedprompter.h"

#include "platform/fileproperties.h"
#include "platformwidgets/fileoperations.h"

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

    QString path(const QString& name) const { return m_dir->filePath(name); }
    // Also true of a link that leads nowhere.
    static bool stays(const QString& f) { return QFileInfo::exists(f) || QFileInfo(f).isSymLink(); }
    QString make(const QString& name, const QByteArray& data = QByteArray()) const
    {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile file(path(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(data);
        return path(name);
    }
    static QString trashDir()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash";
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    // a.png, album/{x.png, sub/y.png}, albumlink -> album, dangling -> nowhere,
    // holder/link -> album, empty/, single/one.png; for the properties p.png (7 x 3), r.jpg
    // (turned), broken.png, pipe, link.png -> p.png
    void init()
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

    void trash_data()
    {
        QTest::addColumn<QStringList>("names");   // trashed one after the other
        QTest::addColumn<QByteArray>("recorded"); // a Path= line as written; empty: not checked
        QTest::addColumn<bool>("withoutDataDir");

        using L = QStringList;
        const QByteArray any;
        QTest::newRow("Path= encoded: blank, percent and umlaut")
            << L{QString::fromUtf8("a b%ü.png")} << QByteArray("a%20b%25%C3%BC.png") << false;
        QTest::newRow("folder goes whole") << L{"album"} << any << false;
        QTest::newRow("link to a folder goes as a link, the folder stays")
            << L{"albumlink"} << any << false;
        QTest::newRow("name clash gets a unique name")
            << L{"one/same.png", "two/same.png"} << any << false;
        // The trash is made under the home, never relative to the working directory.
        QTest::newRow("trash with XDG_DATA_HOME missing") << L{"a.png"} << any << true;
    }

    void trash()
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
            QVERIFY(!stays(file));
        QCOMPARE(QFileInfo::exists(path("album/sub/y.png")), !names.contains("album"));
        const QFileInfoList trashed = QDir(trashDir() + "/files").entryInfoList(
            QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        QCOMPARE(trashed.size(), names.size());
        QCOMPARE(trashed.first().isSymLink(), names.first() == "albumlink");

        // Each record starts right, names its own original and has a valid date.
        QStringList inRecords;
        QDirIterator it(trashDir() + "/info", QDir::Files);
        while (it.hasNext()) {
            QFile record(it.next());
            QVERIFY(record.open(QIODevice::ReadOnly));
            const QList<QByteArray> lines = record.readAll().split('\n');
            QCOMPARE(lines.value(0), QByteArray("[Trash Info]"));
            for (const QByteArray& line : lines) {
                if (line.startsWith("Path="))
                    inRecords << QFile::decodeName(QByteArray::fromPercentEncoding(line.mid(5)));
                if (line.startsWith("DeletionDate="))
                    QVERIFY(QDateTime::fromString(line.mid(13), Qt::ISODate).isValid());
            }
            const QByteArray dir = QFile::encodeName(m_dir->path()).toPercentEncoding("/");
            QVERIFY(recorded.isEmpty() || lines.contains("Path=" + dir + '/' + recorded));
        }
        inRecords.sort();
        QCOMPARE(inRecords, paths);
    }

    void remove_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QStringList>("gone");
        QTest::addColumn<QStringList>("kept");

        using L = QStringList;
        const L both{"a.png", "album"};
        const L target{"album/sub/y.png"};
        QTest::newRow("declined removes nothing") << false << both << L() << L{"a.png", target[0]};
        QTest::newRow("accepted removes file and folder")
            << true << both << both << L{"single/one.png"};
        QTest::newRow("trailing slash still removes only the link")
            << true << L{"albumlink/"} << L{"albumlink"} << target;
        QTest::newRow("link inside a removed folder is not followed")
            << true << L{"holder"} << L{"holder"} << target;
        QTest::newRow("dangling link goes") << true << L{"dangling"} << L{"dangling"} << L{"a.png"};
        QTest::newRow("path inside a given folder is taken along")
            << true << L{"album/x.png", "album"} << L{"album"} << L{"a.png"};
    }

    void remove()
    {
        QFETCH(bool, accept);
        QFETCH(QStringList, given);
        QFETCH(QStringList, gone);
        QFETCH(QStringList, kept);
        for (QString& name : given)
            name = path(name);
        ScriptedPrompter prompter;
        prompter.answer(accept ? QMessageBox::Yes : QMessageBox::No);
        QCOMPARE(FileOperations().remove(given), accept ? Outcome::Done : Outcome::Declined);
        QCOMPARE(prompter.asked().size(), 1);
        for (const QString& name : gone)
            QVERIFY2(!stays(path(name)), qPrintable(name));
        for (const QString& name : kept)
            QVERIFY2(QFileInfo::exists(path(name)), qPrintable(name));
    }

    void failuresAreReportedAndTheRestIsDone_data()
    {
        QTest::addColumn<bool>("toTrash");
        QTest::addColumn<QString>("failing");
        QTest::newRow("missing path, delete") << false << "missing.png";
        QTest::newRow("link to nothing cannot be trashed") << true << "dangling";
    }

    void failuresAreReportedAndTheRestIsDone()
    {
        QFETCH(bool, toTrash);
        QFETCH(QString, failing);
        const QStringList paths{path(failing), path("a.png")};
        ScriptedPrompter prompter;
        prompter.setFallback(QMessageBox::Yes);
        FileOperations operations;
        QCOMPARE(toTrash ? operations.moveToTrash(paths) : operations.remove(paths),
                 Outcome::Failed);
        QVERIFY(!QFileInfo::exists(paths.last()));
        const ScriptedPrompter::Question warning = prompter.asked().last();
        QCOMPARE(warning.icon, QMessageBox::Warning);
        QVERIFY(warning.text.contains(paths.first()) && !warning.text.contains(paths.last()));
    }

    // Qt reads a leading ':' as its resource prefix; given relative, such names are files here.
    void colonNamesAreFiles()
    {
        make("./:a.png"); // the sandbox's own filePath() would refuse ":a.png"
        const QString oldCurrent = QDir::currentPath();
        QDir::setCurrent(m_dir->path());
        const FileProperties shown(":a.png");
        ScriptedPrompter prompter;
        prompter.answer(QMessageBox::Yes);
        const Outcome outcome = FileOperations().remove({":a.png"});
        QDir::setCurrent(oldCurrent);
        QVERIFY(shown.exists());
        QCOMPARE(outcome, Outcome::Done);
        QVERIFY(!stays(path("./:a.png")));
    }

    void confirmationText()
    {
        const QString text = FileOperations::confirmationText(
            {path("album"), path("empty"), path("single"), path("albumlink")});
        // Items at every depth; "1 item", not "1 items".
        for (const char* part : {"album (folder with 3 items)", "empty (empty folder)",
                                 "single (folder with 1 item)", "albumlink (link to "})
            QVERIFY2(text.contains(path(part)), qPrintable(text));
    }

    void commandLine()
    {
        ScriptedPrompter prompter;
        QCOMPARE(FileOperations::run({"lumo-fops", "--remove", "--trash", path("a.png")}), 2);
        QVERIFY(QFileInfo::exists(path("a.png")));
        QCOMPARE(FileOperations::run({"lumo-fops", "--trash", path("a.png")}), 0);
        QVERIFY(!QFileInfo::exists(path("a.png")));
        QVERIFY(QFileInfo::exists(trashDir() + "/files/a.png"));
    }

    void properties_data()
    {
        QTest::addColumn<QString>("name");
        // Type ("?": not checked), dimensions, contents and the link target's name.
        QTest::addColumn<QStringList>("texts");
        using L = QStringList;
        QTest::newRow("JPEG turned by its orientation shows its upright size")
            << "r.jpg" << L{"JPEG image", QString::fromUtf8("3 × 7 pixels"), "", ""};
        QTest::newRow("broken image is said to be unreadable")
            << "broken.png" << L{"PNG image", "Cannot be read", "", ""};
        QTest::newRow("folder counts its entries, hidden ones too")
            << "single" << L{"folder", "", "2 items", ""};
        QTest::newRow("pipe is described without being opened") << "pipe" << L{"?", "", "", ""};
        QTest::newRow("link to nothing names its target")
            << "dangling" << L{"Link to a missing file", "", "", "nowhere"};
        QTest::newRow("link to a PNG describes the picture, measured from its header")
            << "link.png" << L{"PNG image", QString::fromUtf8("7 × 3 pixels"), "", "p.png"};
    }

    void properties()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, texts);
        make("single/.hidden");
        const FileProperties shown(path(name));
        QVERIFY(shown.exists());
        QCOMPARE(shown.text(Field::Name), name);
        QCOMPARE((QStringList{texts[0] == "?" ? "?" : shown.text(Field::Type),
                              shown.text(Field::Dimensions), shown.text(Field::Contents),
                              QFileInfo(shown.text(Field::LinkTarget)).fileName()}),
                 texts);
        if (name == "broken.png")
            QCOMPARE(shown.text(Field::Size), QStringLiteral("64 bytes"));
        const FileProperties missing(path("missing.png"));
        QVERIFY(!missing.exists() && missing.fields().isEmpty());
    }
};

LUMO_TEST_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
