#include "support/lumotest.h"

#include "browser/imagefilefiltermodel.h"
#include "view/fileentries.h"
#include "view/sharedfilesystemmodel.h"

#include <QFileSystemModel>

#include <algorithm>

namespace {

QStringList namesUnder(const QAbstractItemModel& model, const QModelIndex& parent)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(parent); ++row)
        result << model.index(row, 0, parent).data().toString();
    return result;
}

} // namespace

// The file browser's choice of entries from the shared model, which lists every file.
class TestImageFileFilterModel : public QObject
{
    Q_OBJECT

private slots:
    void listsImagesAndDirectories_data();
    void listsImagesAndDirectories();
    void bigFolderInOrderAtEveryPaint();
};

void TestImageFileFilterModel::listsImagesAndDirectories_data()
{
    lumotest::addRows(QStringLiteral("filterentries.txt"));
}

void TestImageFileFilterModel::listsImagesAndDirectories()
{
    QFETCH(QString, entries);
    QFETCH(QString, listed);

    QTemporaryDir dir;
    makeEntries(dir.path(), entries.split(' '));
    QFileSystemModel* source = sharedFileSystemModel();
    ImageFileFilterModel model(source);
    // The source sorts as files arrive, which moves the rows of plain indexes.
    const QPersistentModelIndex root = model.mapFromSource(source->setRootPath(dir.path()));
    const auto names = [&] {
        QStringList result = namesUnder(model, root);
        result.sort();
        return result;
    };
    QTRY_COMPARE(names(), listed.split(' '));
}

// The source adds arriving files at the end and sorts them later; a view must never see them
// out of order, whenever it paints.
void TestImageFileFilterModel::bigFolderInOrderAtEveryPaint()
{
    QTemporaryDir dir;
    for (int i = 0; i < 600; ++i) {
        QFile file(dir.filePath(QStringLiteral("n%1.png").arg(i * 7919 % 1000)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QFileSystemModel* source = sharedFileSystemModel();
    ImageFileFilterModel model(source);
    const QPersistentModelIndex root = model.mapFromSource(source->setRootPath(dir.path()));
    const auto names = [&] { return namesUnder(model, root); };
    QList<QStringList> shown;
    connect(&model, &QAbstractItemModel::rowsInserted, this, [&] { shown << names(); });
    connect(&model, &QAbstractItemModel::layoutChanged, this, [&] { shown << names(); });
    QTRY_COMPARE(names().size(), 600);
    source->sort(0); // whatever still waits for the source's timer
    const QStringList sorted = names();
    QCOMPARE(sorted, namesUnder(*source, source->index(dir.path())));
    QVERIFY(!shown.isEmpty());
    for (const QStringList& seen : shown) {
        QStringList expected = sorted;
        expected.erase(std::remove_if(expected.begin(), expected.end(),
                                      [&](const QString& name) { return !seen.contains(name); }),
                       expected.end());
        QCOMPARE(seen, expected);
    }
}

LUMO_TEST_MAIN(TestImageFileFilterModel)
#include "tst_imagefilefiltermodel.moc"
