#include "support/lumotest.h"

#include "document/filelistmodel.h"
#include "view/directoryproxymodel.h"
#include "view/fileentries.h"
#include "view/sharedfilesystemmodel.h"

#include <QAbstractItemModelTester>
#include <QFileSystemModel>

#include <memory>

#include <unistd.h>

namespace {

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

QStringList names(const QAbstractItemModel& model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result << model.index(row, 0).data().toString();
    return result;
}

} // namespace

// The image files of one directory over the shared file-system model as it changes on disk,
// and the list model that stands in for a directory.
class TestDirectoryProxyModel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_elsewhere;

private slots:
    void initTestCase()
    {
        // Another user of the shared model looks elsewhere, so the model never sorts our folders.
        sharedFileSystemModel()->setRootPath(m_elsewhere.path());
    }
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void listsTheImagesOfTheDirectory_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("subdirectories, text and hidden files left out, case ignored in the order")
            << QStringList{"d1/", "z2/", "notes.txt", ".h.png", "b.png", "C.png", "A.png"}
            << "b.png" << QStringList{"A.png", "b.png", "C.png"};
        QTest::newRow("current file without an image suffix listed, other such files not")
            << QStringList{"photo", "notes", "a.png"} << "photo" << QStringList{"a.png", "photo"};
    }
    void listsTheImagesOfTheDirectory()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, current);
        QFETCH(QStringList, listed);
        const int row = listed.indexOf(current);
        QTemporaryDir dir;
        makeEntries(dir.path(), entries + QStringList{"zz.png"}); // proves the folder was read
        QSignalSpy rootChanges(sharedFileSystemModel(), &QFileSystemModel::rootPathChanged);
        Checked checked(dir.path(), current);
        QTRY_COMPARE(names(checked.model), listed + QStringList{"zz.png"});
        QCOMPARE(checked.model.currentRow(), row);
        QCOMPARE(checked.model.index(row, 0).data(QFileSystemModel::FilePathRole).toString(),
                 dir.filePath(current));
        // Other views of the shared model never see its root move.
        QCOMPARE(sharedFileSystemModel()->rootPath(), m_elsewhere.path());
        QCOMPARE(rootChanges.count(), 0);
    }

    // A picture opened in a big folder is shown before the folder is taken in.
    void listsNothingMoreWhileHeld()
    {
        QTemporaryDir held;
        QTemporaryDir other;
        makeEntries(held.path(), {"a.png", "b.png", "c.png"});
        makeEntries(other.path(), {"x.png", "y.png"});
        DirectoryProxyModel model(sharedFileSystemModel(), held.path());
        model.setListingHeld(true);
        model.setCurrentFile(held.filePath(QStringLiteral("b.png")));
        model.fetchMore(QModelIndex()); // as a view asks
        // The source reads folders in turn: once a later one is in, the held one would be too.
        Checked unheld(other.path(), QStringLiteral("x.png"));
        QTRY_COMPARE(unheld.model.rowCount(), 2);
        QCOMPARE(names(model), QStringList{"b.png"});
        model.setListingHeld(false);
        QTRY_COMPARE(names(model), (QStringList{"a.png", "b.png", "c.png"}));
        QCOMPARE(model.currentRow(), 1);
    }

    void browserOrderInAnyLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("addedLater");
        // C compares case-blind but its sort keys are the names' bytes.
        QTest::newRow("C, files added around the current one") << "C" << true;
        QTest::newRow("UTF-8") << "en_US.UTF-8" << false;
    }
    void browserOrderInAnyLocale()
    {
        QFETCH(QString, locale);
        QFETCH(bool, addedLater);
        QLocale::setDefault(QLocale(locale));
        QTemporaryDir dir;
        const QStringList first{"b.png", "_x.png", "Zed.png", "a10.png", "c.png"};
        const QStringList later{"B2.png", "a9.png", "A.png", "d1.png", "Y.png"};
        makeEntries(dir.path(), addedLater ? first : first + later);
        Checked checked(dir.path(), QStringLiteral("c.png"));
        QTRY_COMPARE(checked.model.rowCount(), addedLater ? first.size() : first.size() * 2);
        if (addedLater)
            makeEntries(dir.path(), later);
        QFileSystemModel browser;
        const QModelIndex root = browser.setRootPath(dir.path());
        const auto browserNames = [&] {
            QStringList result;
            for (int row = 0; row < browser.rowCount(root); ++row)
                result << browser.index(row, 0, root).data().toString();
            return result;
        };
        QTRY_COMPARE(browserNames().size(), first.size() * 2);
        QTRY_COMPARE(names(checked.model), browserNames());
        QCOMPARE(checked.model.currentRow(), browserNames().indexOf(QStringLiteral("c.png")));
    }

    void currentFileKnownBeforeTheDirectoryIsRead_data()
    {
        QTest::addColumn<bool>("readBefore");
        QTest::addColumn<int>("moreFiles");
        QTest::newRow("folder not read yet") << false << 0;
        // Taking in and sorting a big folder the source already has would hold up the picture.
        QTest::newRow("folder already read for another list") << true << 0;
        QTest::newRow("big folder already read, taken in over several turns") << true << 5000;
    }
    void currentFileKnownBeforeTheDirectoryIsRead()
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
            QCOMPARE(
                ::link(original.constData(), QFile::encodeName(dir.filePath(name)).constData()), 0);
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

    void subdirectoryMadeAfterItsParentWasRead_data()
    {
        QTest::addColumn<bool>("parentIsRoot");
        QTest::addColumn<bool>("deletedAfterwards");
        // A listing of the parent taken just before the folder was made may still be on its way.
        QTest::newRow("parent in another picture's list") << false << false;
        QTest::newRow("parent shown in the browser") << true << false;
        QTest::newRow("folder deleted afterwards: nothing listed") << false << true;
    }
    void subdirectoryMadeAfterItsParentWasRead()
    {
        QFETCH(bool, parentIsRoot);
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

    void followsChangesOnDisk_data()
    {
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<bool>("announced"); // the current row moved
        QTest::addColumn<bool>("browserPassedBy");
        // Each starts with a.png, b.png (current), c.png and a text file.
        QTest::newRow("file before the current one deleted")
            << QStringList{"a.png"} << QStringList{} << true << false;
        QTest::newRow("file after the current one deleted")
            << QStringList{"c.png"} << QStringList{} << false << false;
        QTest::newRow("current file deleted")
            << QStringList{"b.png"} << QStringList{} << true << false;
        QTest::newRow("files added around the current one, subdirectory and text file not listed")
            << QStringList{} << QStringList{"a2.png", "a1.png", "d.png", "aa/", "new.txt"} << true
            << false;
        // The source stops watching a folder its root leaves.
        QTest::newRow("one deleted, one added after the browser showed the folder and moved on")
            << QStringList{"a.png"} << QStringList{"0.png"} << true << true;
    }
    void followsChangesOnDisk()
    {
        QFETCH(QStringList, removed);
        QFETCH(QStringList, added);
        QFETCH(bool, announced);
        QFETCH(bool, browserPassedBy);
        QTemporaryDir dir;
        QStringList listed{"a.png", "b.png", "c.png"};
        makeEntries(dir.path(), listed + QStringList{"notes.txt"});
        Checked checked(dir.path(), QStringLiteral("b.png"), false);
        DirectoryProxyModel& model = checked.model;
        QTRY_COMPARE(names(model), listed);
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
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        for (const QString& name : removed)
            QVERIFY(QFile::remove(dir.filePath(name)) && listed.removeOne(name));
        makeEntries(dir.path(), added);
        listed += added.filter(QStringLiteral(".png"));
        listed.sort();
        QTRY_COMPARE(names(model), listed);
        const int row = listed.indexOf(QStringLiteral("b.png"));
        QCOMPARE(model.currentRow(), row);
        QCOMPARE(!moved.isEmpty(), announced);
        if (announced)
            QCOMPARE(moved.last().at(0).toInt(), row);
        // Thumbnails of the rows that stay must survive: changes come as rows, never a reset.
        QCOMPARE(resets.count(), 0);
    }

    void pointingAtADirectory_data()
    {
        QTest::addColumn<bool>("sameDirectory");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<QVariantList>>("announced");
        // Naming the file sets its row quietly; rows that move as the listing arrives are
        // announced. Only another directory resets the model.
        QTest::newRow("same directory, other file: rows kept")
            << true << "c.png" << 2 << QList<QVariantList>{};
        QTest::newRow("other directory") << false << "y.png" << 1 << QList<QVariantList>{{1}};
        QTest::newRow("other directory, no file: old file lost")
            << false << QString() << -1 << QList<QVariantList>{{-1}};
    }
    void pointingAtADirectory()
    {
        QFETCH(bool, sameDirectory);
        QFETCH(QString, file);
        QFETCH(int, row);
        QFETCH(QList<QVariantList>, announced);
        QTemporaryDir first;
        QTemporaryDir second;
        makeEntries(first.path(), {"a.png", "b.png", "c.png"});
        makeEntries(second.path(), {"x.png", "y.png"});
        Checked checked(first.path(), QStringLiteral("a.png"));
        DirectoryProxyModel& model = checked.model;
        QTRY_COMPARE(model.rowCount(), 3);

        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy moved(&model, &DirectoryProxyModel::currentFileIndexChanged);
        const QString dir = sameDirectory ? first.path() : second.path();
        model.setDirectoryFile(dir, file.isEmpty() ? QString() : dir + QLatin1Char('/') + file);
        QCOMPARE(resets.count(), sameDirectory ? 0 : 1);
        QTRY_COMPARE(model.rowCount(), sameDirectory ? 3 : 2);
        QCOMPARE(model.currentRow(), row);
        QCOMPARE(QList<QVariantList>(moved), announced);
    }

    void badDirectory_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::newRow("empty path") << QString();
        QTest::newRow("a file, not a directory") << "a.png";
    }
    void badDirectory()
    {
        QFETCH(QString, directory);
        QTemporaryDir dir;
        makeEntries(dir.path(), {"a.png"});
        Checked checked(directory.isEmpty() ? QString() : dir.filePath(directory),
                        QStringLiteral("a.png"));
        QCOMPARE(qMakePair(checked.model.rowCount(), checked.model.currentRow()), qMakePair(0, -1));
    }

    void fileListRow_data()
    {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<bool>("exists");
        // An existing row shows its own name and the path of a.png.
        QTest::newRow("deleted file gives nothing") << "gone.png" << false;
        QTest::newRow("link: own name, target's path") << "link.png" << true;
    }
    void fileListRow()
    {
        QFETCH(QString, listed);
        QFETCH(bool, exists);
        QTemporaryDir dir;
        makeEntries(dir.path(), {"a.png", "gone.png"});
        QVERIFY(QFile::link(dir.filePath("a.png"), dir.filePath("link.png")));
        QVERIFY(QFile::remove(dir.filePath("gone.png")));
        const QString canonicalDir = QFileInfo(dir.path()).canonicalFilePath();

        FileListModel model({dir.filePath("b.png"), dir.filePath(listed)});
        QCOMPARE(model.rowCount(), 2);
        const QModelIndex index = model.index(1, 0);
        QCOMPARE(index.data(Qt::DisplayRole).toString(),
                 exists ? QFileInfo(listed).fileName() : QString());
        QCOMPARE(index.data(QFileSystemModel::FilePathRole).toString(),
                 exists ? canonicalDir + QStringLiteral("/a.png") : QString());
        QCOMPARE(model.rowCount(index), 0); // a list, not a tree
    }

};

LUMO_TEST_MAIN(TestDirectoryProxyModel)
#include "tst_directoryproxymodel.moc"
