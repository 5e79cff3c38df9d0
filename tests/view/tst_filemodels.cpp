#include "support/lumotest.h"

#include "view/fileentries.h"
#include "view/filelistmodel.h"
#include "view/newfilemodel.h"

#include <QFileSystemModel>
#include <QIcon>

// The two list models that stand in for a directory.
class TestFileModels : public QObject
{
    Q_OBJECT

private slots:
    void fileListRow_data();
    void fileListRow();
    void newFileRow();
};

void TestFileModels::fileListRow_data()
{
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("existing file") << "a.png" << "a.png" << "a.png";
    QTest::newRow("deleted file gives nothing") << "gone.png" << QString() << QString();
    QTest::newRow("link: own name, target's path") << "link.png" << "link.png" << "a.png";
    QTest::newRow("dot-dot resolved") << "sub/../a.png" << "a.png" << "a.png";
}

void TestFileModels::fileListRow()
{
    QFETCH(QString, listed);
    QFETCH(QString, name);
    QFETCH(QString, path);

    QTemporaryDir dir;
    makeEntries(dir.path(), {"a.png", "gone.png", "sub/"});
    QVERIFY(QFile::link(dir.filePath("a.png"), dir.filePath("link.png")));
    QVERIFY(QFile::remove(dir.filePath("gone.png")));
    const QString canonicalDir = QFileInfo(dir.path()).canonicalFilePath();

    FileListModel model({dir.filePath("b.png"), dir.filePath(listed)});
    QCOMPARE(model.rowCount(), 2);
    const QModelIndex index = model.index(1, 0);
    QCOMPARE(index.data(Qt::DisplayRole).toString(), name);
    QCOMPARE(index.data(QFileSystemModel::FilePathRole).toString(),
             path.isEmpty() ? QString() : canonicalDir + QLatin1Char('/') + path);
    QVERIFY(!index.data(Qt::ToolTipRole).isValid());
    QCOMPARE(model.rowCount(index), 0); // a list, not a tree
}

void TestFileModels::newFileRow()
{
    NewFileModel model;
    QCOMPARE(model.rowCount(), 1);
    const QModelIndex index = model.index(0, 0);
    QCOMPARE(model.rowCount(index), 0);
    QVERIFY(!index.data(Qt::DisplayRole).isValid());
    QVERIFY(!index.data(QFileSystemModel::FilePathRole).isValid());
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(256, 256)});
    QImage white(256, 256, QImage::Format_RGB32);
    white.fill(Qt::white);
    QCOMPARE(icon.pixmap(256, 256).toImage().convertToFormat(QImage::Format_RGB32), white);
}

LUMO_TEST_MAIN(TestFileModels)
#include "tst_filemodels.moc"
