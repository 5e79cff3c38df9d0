#include "support/lumotest.h"

#include "view/directoryproxymodel.h"
#include "view/fileentries.h"
#include "view/sharedfilesystemmodel.h"

#include <QAbstractItemModelTester>
#include <QFileSystemModel>

#include <memory>

#include <unistd.h>

// The image files of one directory, over the shared file-system model, as it changes on disk.
class TestDirectoryProxyModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsTheImagesOfTheDirectory_data();
    void listsTheImagesOfTheDirectory();
    void currentFileKnownBeforeTheDirectoryIsRead_data();
    void currentFileKnownBeforeTheDirectoryIsRead();
    void subdirectoryMadeAfterItsParentWasRead_data();
    void subdirectoryMadeAfterItsParentWasRead();
    void followsChangesOnDisk_data();
    void followsChangesOnDisk();
    void pointingAtADirectory_data();
    void pointingAtADirectory();
    void badDirectory_data();
    void badDirectory();

private:
    // A model over dir, checked by the item-model tester from check() on.
    struct Checked
    {
        Checked(const QString& dir, const QString& current, bool checkNow = true)
            : model(sharedFileSystemModel(), dir)
        {
            if (checkNow)
                check();
            if (!current.isEmpty())
                model.setCurrentFile(dir + QLatin1Char('/') + current);
        }
        void check()
        {
            tester = std::make_unique<QAbstractItemModelTester>(
                &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        }
        DirectoryProxyModel model;
        std::unique_ptr<QAbstractItemModelTester> tester;
    };

    static QStringList names(const QAbstractItemModel& model)
    {
        QStringList result;
        for (int row = 0; row < model.rowCount(); ++row)
            result << model.index(row, 0).data().toString();
        return result;
    }
    QTemporaryDir m_elsewhere;
};

void TestDirectoryProxyModel::initTestCase()
{
    // Another user of the shared model looks elsewhere, so the model never sorts our folders.
    sharedFileSystemModel()->setRootPath(m_elsewhere.path());
}

void TestDirectoryProxyModel::listsTheImagesOfTheDirectory_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<int>("row");

    QTest::newRow("two subdirectories and three images")
        << QStringList{"d1/", "z2/", "c.png", "a.png", "b.png"} << "b.png"
        << QStringList{"a.png", "b.png", "c.png"} << 1;
    QTest::newRow("text and hidden files left out, case ignored in the order")
        << QStringList{"notes.txt", ".h.png", "b.png", "C.png", "A.png"} << "C.png"
        << QStringList{"A.png", "b.png", "C.png"} << 2;
    QTest::newRow("current file without an image suffix listed, other such files not")
        << QStringList{"photo", "notes", "a.png"} << "photo" << QStringList{"a.png", "photo"} << 1;
    QTest::newRow("no current file, only subdirectories")
        << QStringList{"d/", "e/"} << QString() << QStringList{} << -1;
}

void TestDirectoryProxyModel::listsTheImagesOfTheDirectory()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, current);
    QFETCH(QStringList, listed);
    QFETCH(int, row);

    QTemporaryDir dir;
    makeEntries(dir.path(), entries + QStringList{"zz.png"}); // proves the folder was read
    QSignalSpy rootChanges(sharedFileSystemModel(), &QFileSystemModel::rootPathChanged);
    Checked checked(dir.path(), current);
    const DirectoryProxyModel& model = checked.model;
    QTRY_COMPARE(names(model), listed + QStringList{"zz.png"});
    QCOMPARE(model.currentRow(), row);
    // Other views of the shared model never see its root move.
    QCOMPARE(sharedFileSystemModel()->rootPath(), m_elsewhere.path());
    QCOMPARE(rootChanges.count(), 0);
    for (int i = 0; i < listed.size(); ++i) {
        QCOMPARE(model.index(i, 0).data(QFileSystemModel::FilePathRole).toString(),
                 dir.filePath(listed.at(i)));
    }
    QVERIFY(!model.index(-1, 0).isValid());
    QVERIFY(!model.index(model.rowCount(), 0).isValid());
}

void TestDirectoryProxyModel::currentFileKnownBeforeTheDirectoryIsRead_data()
{
    QTest::addColumn<bool>("readBefore");
    QTest::addColumn<int>("moreFiles");
    QTest::newRow("folder not read yet") << false << 0;
    // Taking in and sorting a big folder the source already has would hold up the picture too.
    QTest::newRow("folder already read for another list") << true << 0;
    QTest::newRow("big folder already read, taken in over several turns") << true << 5000;
}

void TestDirectoryProxyModel::currentFileKnownBeforeTheDirectoryIsRead()
{
    QFETCH(bool, readBefore);
    QFETCH(int, moreFiles);
    // A picture view asks for its row right after opening, before the listing arrives.
    QTemporaryDir dir;
    makeEntries(dir.path(), {"a.png", "b.png", "c.png"});
    QStringList listed{"a.png", "b.png"};
    // Hard links: creating thousands of files takes seconds on some disks.
    const QByteArray original = QFile::encodeName(dir.filePath(QStringLiteral("b.png")));
    for (int i = 0; i < moreFiles; ++i) {
        const QString name = QStringLiteral("b%1.png").arg(i, 5, 10, QLatin1Char('0'));
        QCOMPARE(::link(original.constData(), QFile::encodeName(dir.filePath(name)).constData()), 0);
        listed << name;
    }
    listed << QStringLiteral("c.png");
    if (readBefore) {
        Checked other(dir.path(), QStringLiteral("a.png"));
        QTRY_COMPARE(other.model.rowCount(), listed.size());
    }
    Checked checked(dir.path(), QStringLiteral("c.png"), false);
    DirectoryProxyModel& model = checked.model;
    checked.check();
    QCOMPARE(model.currentRow(), 0);
    QCOMPARE(names(model), QStringList{"c.png"});

    QSignalSpy moved(&model, &DirectoryProxyModel::currentFileIndexChanged);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QTRY_COMPARE(model.rowCount(), listed.size());
    QCOMPARE(names(model), listed);
    QCOMPARE(model.currentRow(), listed.size() - 1);
    QCOMPARE(moved.last().at(0).toInt(), listed.size() - 1);
    QCOMPARE(resets.count(), 0);
}

void TestDirectoryProxyModel::subdirectoryMadeAfterItsParentWasRead_data()
{
    QTest::addColumn<bool>("parentIsRoot");
    QTest::addColumn<bool>("parentListsItFirst");
    QTest::addColumn<bool>("deletedAfterwards");

    // A listing of the parent taken just before the folder was made may still be on its way.
    QTest::newRow("parent in another picture's list, opened at once") << false << false << false;
    QTest::newRow("parent in another picture's list, opened once it shows the folder")
        << false << true << false;
    QTest::newRow("parent shown in the browser, opened at once") << true << false << false;
    QTest::newRow("folder deleted afterwards: nothing listed") << false << false << true;
}

void TestDirectoryProxyModel::subdirectoryMadeAfterItsParentWasRead()
{
    QFETCH(bool, parentIsRoot);
    QFETCH(bool, parentListsItFirst);
    QFETCH(bool, deletedAfterwards);

    QTemporaryDir parent;
    makeEntries(parent.path(), {"p.png"});
    QFileSystemModel* fs = sharedFileSystemModel();
    std::unique_ptr<Checked> parentList;
    if (parentIsRoot) {
        fs->setRootPath(parent.path());
    } else {
        parentList = std::make_unique<Checked>(parent.path(), QStringLiteral("p.png"));
        QTRY_COMPARE(parentList->model.rowCount(), 1);
    }
    const QModelIndex parentIndex = fs->index(parent.path());
    QTRY_COMPARE(fs->rowCount(parentIndex), 1);

    const QString sub = parent.filePath(QStringLiteral("sub"));
    makeEntries(parent.path(), {"sub/", "sub/a.png", "sub/b.png", "sub/c.png"});
    if (parentListsItFirst)
        QTRY_COMPARE(fs->rowCount(parentIndex), 2);
    Checked checked(sub, QStringLiteral("b.png"));
    QTRY_COMPARE(names(checked.model), (QStringList{"a.png", "b.png", "c.png"}));
    QCOMPARE(checked.model.currentRow(), 1);

    if (deletedAfterwards) {
        QVERIFY(QDir(sub).removeRecursively());
        QTRY_COMPARE(checked.model.rowCount(), 0);
        QCOMPARE(checked.model.currentRow(), -1);
        QTRY_COMPARE(fs->rowCount(parentIndex), 1);
        QCOMPARE(checked.model.rowCount(), 0);
    }
    fs->setRootPath(m_elsewhere.path());
}

void TestDirectoryProxyModel::followsChangesOnDisk_data()
{
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("announced");
    QTest::addColumn<bool>("browserPassedBy");

    // Each starts with a.png, b.png (current), c.png and a text file.
    QTest::newRow("file before the current one deleted")
        << QStringList{"a.png"} << QStringList{} << QStringList{"b.png", "c.png"} << 0 << true
        << false;
    QTest::newRow("file after the current one deleted")
        << QStringList{"c.png"} << QStringList{} << QStringList{"a.png", "b.png"} << 1 << false
        << false;
    QTest::newRow("current file deleted")
        << QStringList{"b.png"} << QStringList{} << QStringList{"a.png", "c.png"} << -1 << true
        << false;
    QTest::newRow("files added before and after the current one")
        << QStringList{} << QStringList{"a2.png", "a1.png", "d.png"}
        << QStringList{"a.png", "a1.png", "a2.png", "b.png", "c.png", "d.png"} << 3 << true
        << false;
    QTest::newRow("subdirectory and text file added, not listed")
        << QStringList{} << QStringList{"aa/", "new.txt", "d.png"}
        << QStringList{"a.png", "b.png", "c.png", "d.png"} << 1 << false << false;
    QTest::newRow("one deleted, one added")
        << QStringList{"a.png"} << QStringList{"0.png"}
        << QStringList{"0.png", "b.png", "c.png"} << 1 << true << false;
    // The source stops watching a folder its root leaves.
    QTest::newRow("one deleted, one added after the browser showed the folder and moved on")
        << QStringList{"a.png"} << QStringList{"0.png"}
        << QStringList{"0.png", "b.png", "c.png"} << 1 << true << true;
}

void TestDirectoryProxyModel::followsChangesOnDisk()
{
    QFETCH(QStringList, removed);
    QFETCH(QStringList, added);
    QFETCH(QStringList, listed);
    QFETCH(int, row);
    QFETCH(bool, announced);
    QFETCH(bool, browserPassedBy);

    QTemporaryDir dir;
    makeEntries(dir.path(), {"a.png", "b.png", "c.png", "notes.txt"});
    Checked checked(dir.path(), QStringLiteral("b.png"), false);
    DirectoryProxyModel& model = checked.model;
    QTRY_COMPARE(names(model), (QStringList{"a.png", "b.png", "c.png"}));
    // The folder must be watched without a view asking for more: the checker (like a list
    // view) fetches more itself, so it joins only now.
    QTRY_VERIFY(!model.canFetchMore(QModelIndex()));
    if (browserPassedBy) {
        sharedFileSystemModel()->setRootPath(dir.path());
        sharedFileSystemModel()->setRootPath(m_elsewhere.path());
        QTRY_VERIFY(!model.canFetchMore(QModelIndex()));
    }
    checked.check();

    QSignalSpy moved(&model, &DirectoryProxyModel::currentFileIndexChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy gone(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    for (const QString& name : removed)
        QVERIFY(QFile::remove(dir.filePath(name)));
    makeEntries(dir.path(), added);

    QTRY_COMPARE(names(model), listed);
    QCOMPARE(model.currentRow(), row);
    QCOMPARE(!moved.isEmpty(), announced);
    if (announced)
        QCOMPARE(moved.last().at(0).toInt(), row);
    // Thumbnails of the rows that stay must survive: changes come as rows, never a reset.
    QCOMPARE(resets.count(), 0);
    QCOMPARE(inserted.isEmpty(), added.isEmpty());
    QCOMPARE(gone.isEmpty(), removed.isEmpty());
}

void TestDirectoryProxyModel::pointingAtADirectory_data()
{
    QTest::addColumn<bool>("sameDirectory");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("resets");
    QTest::addColumn<QList<int>>("announced");

    // Naming the file sets its row quietly; rows that move as the listing arrives are announced.
    QTest::newRow("same directory, other file: rows kept")
        << true << "c.png" << 2 << 0 << QList<int>{};
    QTest::newRow("other directory") << false << "y.png" << 1 << 1 << QList<int>{1};
    QTest::newRow("other directory, no file: old file lost")
        << false << QString() << -1 << 1 << QList<int>{-1};
}

void TestDirectoryProxyModel::pointingAtADirectory()
{
    QFETCH(bool, sameDirectory);
    QFETCH(QString, file);
    QFETCH(int, row);
    QFETCH(int, resets);
    QFETCH(QList<int>, announced);

    QTemporaryDir first;
    QTemporaryDir second;
    makeEntries(first.path(), {"a.png", "b.png", "c.png"});
    makeEntries(second.path(), {"x.png", "y.png"});
    Checked checked(first.path(), QStringLiteral("a.png"));
    DirectoryProxyModel& model = checked.model;
    QTRY_COMPARE(model.rowCount(), 3);

    QSignalSpy resetSpy(&model, &QAbstractItemModel::modelReset);
    QSignalSpy moved(&model, &DirectoryProxyModel::currentFileIndexChanged);
    const QString dir = sameDirectory ? first.path() : second.path();
    model.setDirectoryFile(dir, file.isEmpty() ? QString() : dir + QLatin1Char('/') + file);
    QCOMPARE(resetSpy.count(), resets);
    QTRY_COMPARE(model.rowCount(), sameDirectory ? 3 : 2);
    QCOMPARE(model.currentRow(), row);
    QList<int> rows;
    for (const QList<QVariant>& arguments : moved)
        rows << arguments.at(0).toInt();
    QCOMPARE(rows, announced);
}

void TestDirectoryProxyModel::badDirectory_data()
{
    QTest::addColumn<QString>("directory");
    QTest::newRow("missing directory") << "missing";
    QTest::newRow("empty path") << QString();
    QTest::newRow("a file, not a directory") << "a.png";
}

void TestDirectoryProxyModel::badDirectory()
{
    QFETCH(QString, directory);

    QTemporaryDir dir;
    makeEntries(dir.path(), {"a.png"});
    Checked checked(directory.isEmpty() ? QString() : dir.filePath(directory),
                    QStringLiteral("a.png"));
    QCOMPARE(checked.model.rowCount(), 0);
    QCOMPARE(checked.model.currentRow(), -1);
}

LUMO_TEST_MAIN(TestDirectoryProxyModel)
#include "tst_directoryproxymodel.moc"
