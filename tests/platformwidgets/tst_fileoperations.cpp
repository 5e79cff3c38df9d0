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

    void trash_data() { lumotest::addRows(QStringLiteral("fileoperations-trash.txt")); }

    void trash()
    {
        QFETCH(QString, names);
        QFETCH(QString, recorded);
        QFETCH(bool, withoutDataDir);
        if (withoutDataDir)
            QVERIFY(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                        .removeRecursively());
        QStringList paths;
        for (const QString& name : names.split(','))
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
        QCOMPARE(QFileInfo::exists(path("album/sub/y.png")), names != "album");
        const QFileInfoList trashed = QDir(trashDir() + "/files").entryInfoList(
            QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        QCOMPARE(trashed.size(), paths.size());
        QCOMPARE(trashed.first().isSymLink(), names == "albumlink");

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
            QVERIFY(recorded.isEmpty() || lines.contains("Path=" + dir + '/' + recorded.toUtf8()));
        }
        inRecords.sort();
        QCOMPARE(inRecords, paths);
    }

    void remove_data() { lumotest::addRows(QStringLiteral("fileoperations-remove.txt")); }

    void remove()
    {
        QFETCH(bool, accept);
        QFETCH(QString, given);
        QFETCH(QString, gone);
        QFETCH(QString, kept);
        QStringList paths;
        for (const QString& name : given.split(' '))
            paths << path(name);
        ScriptedPrompter prompter;
        prompter.answer(accept ? QMessageBox::Yes : QMessageBox::No);
        QCOMPARE(FileOperations().remove(paths), accept ? Outcome::Done : Outcome::Declined);
        QCOMPARE(prompter.asked().size(), 1);
        for (const QString& name : gone.split(' ', Qt::SkipEmptyParts))
            QVERIFY2(!stays(path(name)), qPrintable(name));
        for (const QString& name : kept.split(' '))
            QVERIFY2(QFileInfo::exists(path(name)), qPrintable(name));
    }

    void failuresAreReportedAndTheRestIsDone_data()
    {
        lumotest::addRows(QStringLiteral("fileoperations-failures.txt"));
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

    void properties_data() { lumotest::addRows(QStringLiteral("fileoperations-properties.txt")); }

    void properties()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        QFETCH(QString, dimensions);
        QFETCH(QString, contents);
        QFETCH(QString, target);
        make("single/.hidden");
        const FileProperties shown(path(name));
        QVERIFY(shown.exists());
        QCOMPARE(shown.text(Field::Name), name);
        QCOMPARE((QStringList{type == "?" ? "?" : shown.text(Field::Type),
                              shown.text(Field::Dimensions), shown.text(Field::Contents),
                              QFileInfo(shown.text(Field::LinkTarget)).fileName()}),
                 (QStringList{type, dimensions, contents, target}));
        if (name == "broken.png")
            QCOMPARE(shown.text(Field::Size), QStringLiteral("64 bytes"));
        const FileProperties missing(path("missing.png"));
        QVERIFY(!missing.exists() && missing.fields().isEmpty());
    }
};

LUMO_TEST_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
