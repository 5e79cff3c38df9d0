#include "support/lumotest.h"

#include "document/filecursor.h"
#include "settings/settings.h"

#include <QStandardItemModel>

namespace {

const QStringList threeNames{"a.png", "b.png", "c.png"};
const int filePathRole = Qt::UserRole + 1;

// A list as the directory model gives it: the name shown and the full path in the path role.
QStandardItemModel* makeList(const QStringList& names, QObject* parent)
{
    auto* model = new QStandardItemModel(parent);
    for (const QString& name : names) {
        auto* item = new QStandardItem(name);
        item->setData(QStringLiteral("/pictures/") + name, filePathRole);
        model->appendRow(item);
    }
    return model;
}

// A cursor over a list, standing at row.
struct CursorFixture
{
    explicit CursorFixture(const QStringList& names, int row) : cursor(1000)
    {
        cursor.setModel(makeList(names, &cursor));
        cursor.setCurrentRow(row);
    }
    FileCursor cursor;
};

} // namespace

// The cursor's own rules; its moves, with what they read and announce, are the open picture's
// test.
class TestFileCursor : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Settings::instance()->imagesCentralWidget()->setSlideLoop(false); }

    // A move on an empty list leaves the row, reads nothing and says nothing.
    void movesOnAnEmptyList()
    {
        CursorFixture fixture({}, 1);
        fixture.cursor.startSlideshow();
        QSignalSpy ends(&fixture.cursor, &FileCursor::atTheEnd);
        FileCursor& cursor = fixture.cursor;
        QCOMPARE((QVector<bool>{cursor.previous(), cursor.next(), cursor.first(), cursor.last(),
                                cursor.moveTo(2), cursor.tick()}),
                 QVector<bool>(6, false));
        QCOMPARE((QVariantList{cursor.currentRow(), ends.count()}), (QVariantList{1, 0}));
        QVERIFY(fixture.cursor.slideshowRunning());
    }

    void slideStep_data() { lumotest::addRows(QStringLiteral("filecursor-slidestep.txt")); }
    void slideStep()
    {
        QFETCH(int, row);
        QFETCH(int, count);
        QFETCH(bool, loop);
        QFETCH(int, next);
        QFETCH(bool, goesOn);
        const FileCursor::SlideStep step = FileCursor::slideStep(row, count, loop);
        QCOMPARE((QVariantList{step.row, step.goesOn}), (QVariantList{next, goesOn}));
    }

    // What is read ahead: a looping show at the end reads the first picture before it is due.
    void aheadRow_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("slideshow");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<int>("ahead");
        QTest::newRow("browsing: the next") << 1 << false << false << 2;
        QTest::newRow("browsing at the end: none") << 2 << false << true << -1;
        QTest::newRow("show at the end: none") << 2 << true << false << -1;
        QTest::newRow("looping show at the end: the first") << 2 << true << true << 0;
    }
    void aheadRow()
    {
        QFETCH(int, start);
        QFETCH(bool, slideshow);
        QFETCH(bool, loop);
        QFETCH(int, ahead);
        Settings::instance()->imagesCentralWidget()->setSlideLoop(loop);
        CursorFixture fixture(threeNames, start);
        if (slideshow)
            fixture.cursor.startSlideshow();
        QCOMPARE(fixture.cursor.aheadRow(), ahead);
    }

    // Only the list in use tells that its rows changed.
    void listChanges_data()
    {
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<int>("changes");
        QTest::newRow("list in use") << false << 4;
        QTest::newRow("list replaced") << true << 0;
    }
    void listChanges()
    {
        QFETCH(bool, replaced);
        QFETCH(int, changes);
        CursorFixture fixture(threeNames, 0);
        auto* model = qobject_cast<QStandardItemModel*>(fixture.cursor.model());
        if (replaced)
            fixture.cursor.setModel(makeList(threeNames, &fixture.cursor));
        QSignalSpy changed(&fixture.cursor, &FileCursor::listChanged);
        model->appendRow(new QStandardItem(QStringLiteral("d.png")));
        model->removeRow(0);
        model->sort(0, Qt::DescendingOrder);
        model->clear();
        QCOMPARE(changed.count(), changes);
    }
};

LUMO_TEST_MAIN(TestFileCursor)
#include "tst_filecursor.moc"
