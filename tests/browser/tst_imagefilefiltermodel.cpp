#include "support/lumotest.h"

#include "browser/imagefilefiltermodel.h"
#include "view/fileentries.h"
#include "view/sharedfilesystemmodel.h"

#include <QFileSystemModel>

// The file browser's choice of entries from the shared model, which lists every file.
class TestImageFileFilterModel : public QObject
{
    Q_OBJECT

private slots:
    void listsImagesAndDirectories_data();
    void listsImagesAndDirectories();
};

void TestImageFileFilterModel::listsImagesAndDirectories_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("images and a subdirectory, not the text file")
        << QStringList{"a.png", "B.JPG", "notes.txt", "sub/"}
        << QStringList{"B.JPG", "a.png", "sub"};
    QTest::newRow("suffixes in mixed case, rarer formats")
        << QStringList{"c.Jpg", "d.pNg", "e.ppm", "f.XBM"}
        << QStringList{"c.Jpg", "d.pNg", "e.ppm", "f.XBM"};
    QTest::newRow("hidden entries left out")
        << QStringList{".hidden.png", ".hiddendir/", "shown.png"} << QStringList{"shown.png"};
    QTest::newRow("directory named like an image kept, file without suffix not")
        << QStringList{"album.png/", "png", "text/"} << QStringList{"album.png", "text"};
}

void TestImageFileFilterModel::listsImagesAndDirectories()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, listed);

    QTemporaryDir dir;
    makeEntries(dir.path(), entries);
    QFileSystemModel* source = sharedFileSystemModel();
    ImageFileFilterModel model(source);
    // The source sorts as files arrive, which moves the rows of plain indexes.
    const QPersistentModelIndex root = model.mapFromSource(source->setRootPath(dir.path()));
    const auto names = [&] {
        QStringList result;
        for (int row = 0; row < model.rowCount(root); ++row)
            result << model.index(row, 0, root).data().toString();
        result.sort();
        return result;
    };
    QTRY_COMPARE(names(), listed);
}

LUMO_TEST_MAIN(TestImageFileFilterModel)
#include "tst_imagefilefiltermodel.moc"
