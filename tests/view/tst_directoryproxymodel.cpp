#include "support/lumotest.h"

#include "view/directoryproxymodel.h"
#include "view/sharedfilesystemmodel.h"

#include <QAbstractItemModelTester>
#include <QFileSystemModel>
#include <QImage>

#include <memory>

// The image files of one directory, over the shared file-system model, as it changes on disk.
class TestDirectoryProxyModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsTheImagesOfTheDirectory_data();
    void listsTheImagesOfTheDirectory();
    void currentFileKnownBeforeTheDirectoryIsRead();
    void followsChangesOnDisk_data();
    void followsChangesOnDisk();
    void pointingAtADirectory_data();
    void pointingAtADirectory();
    void leavesTheSourceRootAlone_data();
    void leavesTheSourceRootAlone();
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

    static void make(const QString& dir, const QStringList& entries);
    static QStringList names(const QAbstractItemModel& model);
    QTemporaryDir m_elsewhere;
};

void TestDirectoryProxyModel::initTestCase()
{
    // Another user of the shared model looks elsewhere, so it never sorts our directories.
    QVERIFY(m_elsewhere.isValid());
    sharedFileSystemModel()->setRootPath(m_elsewhere.path());
}

// "name/" is a directory, "*.png" a real image, anything else an empty file.
void TestDirectoryProxyModel::make(const QString& dir, const QStringList& entries)
{
    for (const QString& entry : entries) {
        const QString path = dir + QLatin1Char('/') + entry;
        if (entry.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir().mkpath(path));
        } else if (entry.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
            QImage image(4, 4, QImage::Format_RGB32);
            image.fill(Qt::green);
            QVERIFY(image.save(path, "png"));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
}

QStringList TestDirectoryProxyModel::names(const QAbstractItemModel& model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result << model.index(row, 0).data().toString();
    return result;
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
    QTest::newRow("text and hidden files left out")
        << QStringList{"notes.txt", ".h.png", "a.png"} << "a.png" << QStringList{"a.png"} << 0;
    QTest::newRow("case ignored in the order")
        << QStringList{"b.png", "C.png", "A.png"} << "C.png"
        << QStringList{"A.png", "b.png", "C.png"} << 2;
    QTest::newRow("no current file") << QStringList{"a.png"} << QString() << QStringList{"a.png"}
                                     << -1;
    QTest::newRow("only subdirectories") << QStringList{"d/", "e/"} << QString() << QStringList{}
                                         << -1;
}

void TestDirectoryProxyModel::listsTheImagesOfTheDirectory()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, current);
    QFETCH(QStringList, listed);
    QFETCH(int, row);

    QTemporaryDir dir;
    make(dir.path(), entries);
    make(dir.path(), {"zz.png"}); // read as well, so the directory is known to be read
    Checked checked(dir.path(), current);
    DirectoryProxyModel& model = checked.model;
    QTRY_COMPARE(names(model), listed + QStringList{"zz.png"});
    QCOMPARE(model.currentRow(), row);

    for (int i = 0; i < listed.size(); ++i) {
        QCOMPARE(model.index(i, 0).data(QFileSystemModel::FilePathRole).toString(),
                 dir.filePath(listed.at(i)));
    }
    QVERIFY(!model.index(-1, 0).isValid());
    QVERIFY(!model.index(model.rowCount(), 0).isValid());
    QVERIFY(!model.index(0, 1).isValid());
}

void TestDirectoryProxyModel::currentFileKnownBeforeTheDirectoryIsRead()
{
    // A picture view asks for its row right after opening, long before the listing arrives.
    QTemporaryDir dir;
    make(dir.path(), {"a.png", "b.png", "c.png"});
    Checked checked(dir.path(), QStringLiteral("c.png"));
    DirectoryProxyModel& model = checked.model;
    QCOMPARE(model.currentRow(), 0);
    QCOMPARE(model.index(0, 0).data(QFileSystemModel::FilePathRole).toString(),
             dir.filePath(QStringLiteral("c.png")));

    QSignalSpy moved(&model, &DirectoryProxyModel::currentFileIndexChanged);
    QTRY_COMPARE(model.rowCount(), 3);
    QCOMPARE(model.currentRow(), 2);
    QCOMPARE(moved.last().at(0).toInt(), 2);
}

void TestDirectoryProxyModel::followsChangesOnDisk_data()
{
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("announced");

    // Each starts with a.png, b.png (current), c.png and a text file.
    QTest::newRow("file before the current one deleted")
        << QStringList{"a.png"} << QStringList{} << QStringList{"b.png", "c.png"} << 0 << true;
    QTest::newRow("file after the current one deleted")
        << QStringList{"c.png"} << QStringList{} << QStringList{"a.png", "b.png"} << 1 << false;
    QTest::newRow("current file deleted")
        << QStringList{"b.png"} << QStringList{} << QStringList{"a.png", "c.png"} << -1 << true;
    QTest::newRow("files added before and after the current one")
        << QStringList{} << QStringList{"a2.png", "a1.png", "d.png"}
        << QStringList{"a.png", "a1.png", "a2.png", "b.png", "c.png", "d.png"} << 3 << true;
    QTest::newRow("subdirectory and text file added, not listed")
        << QStringList{} << QStringList{"aa/", "new.txt", "d.png"}
        << QStringList{"a.png", "b.png", "c.png", "d.png"} << 1 << false;
    QTest::newRow("one deleted, one added")
        << QStringList{"a.png"} << QStringList{"0.png"} << QStringList{"0.png", "b.png", "c.png"}
        << 1 << true;
}

void TestDirectoryProxyModel::followsChangesOnDisk()
{
    QFETCH(QStringList, removed);
    QFETCH(QStringList, added);
    QFETCH(QStringList, listed);
    QFETCH(int, row);
    QFETCH(bool, announced);

    QTemporaryDir dir;
    make(dir.path(), {"a.png", "b.png", "c.png", "notes.txt"});
    Checked checked(dir.path(), QStringLiteral("b.png"), false);
    DirectoryProxyModel& model = checked.model;
    QTRY_COMPARE(names(model), (QStringList{"a.png", "b.png", "c.png"}));
    // The directory must be read and watched without a view asking for more: the checker
    // (like a list view) fetches more itself, so it joins only now.
    QTRY_VERIFY(!model.canFetchMore(QModelIndex()));
    checked.check();

    QSignalSpy moved(&model, &DirectoryProxyModel::currentFileIndexChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removedRows(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    for (const QString& name : removed)
        QVERIFY(QFile::remove(dir.filePath(name)));
    make(dir.path(), added);

    QTRY_COMPARE(names(model), listed);
    QCOMPARE(model.currentRow(), row);
    QCOMPARE(!moved.isEmpty(), announced);
    if (announced)
        QCOMPARE(moved.last().at(0).toInt(), row);
    // Thumbnails of the rows that stay must survive: changes come as rows, never a reset.
    QCOMPARE(resets.count(), 0);
    QCOMPARE(inserted.isEmpty(), !listed.contains(QStringLiteral("d.png"))
                                     && !listed.contains(QStringLiteral("0.png")));
    QCOMPARE(removedRows.isEmpty(), removed.isEmpty());
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
    make(first.path(), {"a.png", "b.png", "c.png"});
    make(second.path(), {"x.png", "y.png"});
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
    QCOMPARE(model.directoryPath(), dir);
    QList<int> rows;
    for (const QList<QVariant>& arguments : moved)
        rows << arguments.at(0).toInt();
    QCOMPARE(rows, announced);
}

void TestDirectoryProxyModel::leavesTheSourceRootAlone_data()
{
    QTest::addColumn<bool>("rootIsTheDirectory");
    QTest::newRow("root elsewhere") << false;
    QTest::newRow("root is the directory") << true;
}

void TestDirectoryProxyModel::leavesTheSourceRootAlone()
{
    QFETCH(bool, rootIsTheDirectory);

    QTemporaryDir dir;
    make(dir.path(), {"a.png", "b.png"});
    QFileSystemModel* source = sharedFileSystemModel();
    const QString root = rootIsTheDirectory ? dir.path() : m_elsewhere.path();
    source->setRootPath(root);
    QSignalSpy rootChanges(source, &QFileSystemModel::rootPathChanged);

    Checked checked(dir.path(), QStringLiteral("b.png"));
    QTRY_COMPARE(checked.model.rowCount(), 2);
    checked.model.setDirectoryFile(m_elsewhere.path());
    QCOMPARE(source->rootPath(), root);
    QCOMPARE(rootChanges.count(), 0);
    source->setRootPath(m_elsewhere.path());
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
    make(dir.path(), {"a.png"});
    const QString path = directory.isEmpty() ? QString() : dir.filePath(directory);
    Checked checked(path, QStringLiteral("a.png"));
    QCOMPARE(checked.model.rowCount(), 0);
    QCOMPARE(checked.model.currentRow(), -1);
    QVERIFY(!checked.model.mapToSource(checked.model.index(0, 0)).isValid());
}

LUMO_TEST_MAIN(TestDirectoryProxyModel)
#include "tst_directoryproxymodel.moc"
