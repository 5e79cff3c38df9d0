#include "support/lumotest.h"

#include "document/filecursor.h"
#include "settings/settings.h"

#include <QStandardItemModel>

#include <functional>
#include <map>

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

// A cursor over a list whose reads are recorded by file name; names in `unreadable` fail. Reads
// end at once unless deferred; the slideshow's timer steps at once.
struct CursorFixture
{
    explicit CursorFixture(const QStringList& names, int row, int slideDelay = 5)
        : cursor(slideDelay)
    {
        cursor.setModel(makeList(names, &cursor));
        cursor.setCurrentRow(row);
        QObject::connect(&cursor, &FileCursor::moved, &cursor, [this] {
            const QString name = cursor.fileName();
            read << name;
            if (!deferred)
                cursor.readFinished(!unreadable.contains(name));
        });
        QObject::connect(&cursor, &FileCursor::slideDue, &cursor, &FileCursor::tick);
    }

    // How often each end and direction was announced: first, next, previous, end.
    QVector<int> announced() const
    {
        return {atFirst.count(), hasNext.count(), hasPrevious.count(), atEnd.count()};
    }

    FileCursor cursor;
    QSignalSpy atFirst{&cursor, &FileCursor::atTheFirst};
    QSignalSpy hasNext{&cursor, &FileCursor::hasNext};
    QSignalSpy hasPrevious{&cursor, &FileCursor::hasPrevious};
    QSignalSpy atEnd{&cursor, &FileCursor::atTheEnd};
    QSignalSpy started{&cursor, &FileCursor::slideshowStarted};
    QSignalSpy stopped{&cursor, &FileCursor::slideshowStopped};
    QStringList read;
    QStringList unreadable;
    bool deferred = false;
};

void makeMove(FileCursor& cursor, const QString& name)
{
    const std::map<QString, std::function<void()>> moves{
        {"previous", [&cursor] { cursor.previous(); }}, {"next", [&cursor] { cursor.next(); }},
        {"first", [&cursor] { cursor.first(); }},       {"last", [&cursor] { cursor.last(); }},
        {"row 0", [&cursor] { cursor.moveTo(0); }},     {"row 1", [&cursor] { cursor.moveTo(1); }},
        {"row 2", [&cursor] { cursor.moveTo(2); }},     {"tick", [&cursor] { cursor.tick(); }}};
    moves.at(name)();
}

} // namespace

// Moving through a list of files without any widget: where each move lands, what it reads,
// which ends it announces, and the slideshow that moves on by itself.
class TestFileCursor : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Settings::instance()->imagesCentralWidget()->setSlideLoop(false); }

    void pathAndNameOfTheCurrentRow_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("middle row") << threeNames << 1 << "/pictures/b.png"
                                    << "b.png";
        QTest::newRow("row past the list") << threeNames << 3 << QString() << QString();
        QTest::newRow("file gone from the list") << threeNames << -1 << QString() << QString();
        QTest::newRow("empty list") << QStringList{} << 0 << QString() << QString();
    }
    void pathAndNameOfTheCurrentRow()
    {
        QFETCH(QStringList, names);
        QFETCH(int, row);
        QFETCH(QString, path);
        QFETCH(QString, name);
        CursorFixture fixture(names, row);
        QCOMPARE((QStringList{fixture.cursor.filePath(), fixture.cursor.fileName()}),
                 (QStringList{path, name}));
    }

    void moves_data() { lumotest::addRows(QStringLiteral("filecursor-moves.txt")); }
    void moves()
    {
        QFETCH(int, start);
        QFETCH(QString, move);
        QFETCH(int, row);
        QFETCH(QVector<int>, announced);
        CursorFixture fixture(threeNames, start);
        makeMove(fixture.cursor, move);
        QCOMPARE(fixture.cursor.currentRow(), row);
        QCOMPARE(fixture.read, QStringList{threeNames.at(row)});
        QCOMPARE(fixture.announced(), announced);
    }

    // A move on an empty list leaves the row, reads nothing and says nothing.
    void movesOnAnEmptyList_data()
    {
        QTest::addColumn<QString>("move");
        for (const char* name : {"previous", "next", "first", "last", "row 2", "tick"})
            QTest::newRow(name) << name;
    }
    void movesOnAnEmptyList()
    {
        QFETCH(QString, move);
        CursorFixture fixture({}, 1);
        fixture.cursor.startSlideshow();
        makeMove(fixture.cursor, move);
        QCOMPARE(fixture.cursor.currentRow(), 1);
        QCOMPARE(fixture.read, QStringList{});
        QCOMPARE(fixture.announced(), (QVector<int>{0, 0, 0, 0}));
        QVERIFY(fixture.cursor.slideshowRunning());
    }

    // Stepping by hand keeps a slideshow going; first and last end it once they have read. Reads
    // end later than the move, and a newer move takes the place of an older one still being read.
    void movesDuringSlideshow_data()
    {
        lumotest::addRows(QStringLiteral("filecursor-slideshowmoves.txt"));
    }
    void movesDuringSlideshow()
    {
        QFETCH(QString, moves);
        QFETCH(bool, readable);
        QFETCH(bool, running);
        const QStringList steps = moves.split(QStringLiteral(", "));
        CursorFixture fixture(threeNames, 0);
        fixture.deferred = true;
        fixture.cursor.startSlideshow();
        for (const QString& move : steps)
            makeMove(fixture.cursor, move);
        QVERIFY(fixture.cursor.slideshowRunning());
        QCOMPARE(fixture.read.size(), steps.size());
        fixture.cursor.readFinished(readable);
        QCOMPARE(fixture.cursor.slideshowRunning(), running);
        QCOMPARE(fixture.stopped.count(), running ? 0 : 1);
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

    void tick_data() { lumotest::addRows(QStringLiteral("filecursor-tick.txt")); }
    void tick()
    {
        QFETCH(QString, list);
        QFETCH(bool, loop);
        QFETCH(int, start);
        QFETCH(QString, unreadable);
        QFETCH(int, row);
        QFETCH(bool, running);
        QFETCH(int, stopped);
        QFETCH(int, atEnd);
        Settings::instance()->imagesCentralWidget()->setSlideLoop(loop);
        const QStringList names = list.split(QLatin1Char(' '));
        CursorFixture fixture(names, start);
        fixture.unreadable << unreadable;
        fixture.cursor.startSlideshow();
        fixture.cursor.tick();
        QCOMPARE(fixture.read, QStringList{names.at(row)});
        QCOMPARE((QVariantList{fixture.cursor.currentRow(), fixture.cursor.slideshowRunning(),
                               fixture.stopped.count(), fixture.atEnd.count()}),
                 (QVariantList{row, running, stopped, atEnd}));
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
        CursorFixture fixture(threeNames, start, 1000);
        if (slideshow)
            fixture.cursor.startSlideshow();
        QCOMPARE(fixture.cursor.aheadRow(), ahead);
    }

    void slideshowRunsToTheEndByItself()
    {
        CursorFixture fixture(threeNames, 0, 0);
        fixture.cursor.startSlideshow();
        QCOMPARE(fixture.started.count(), 1);
        QTRY_VERIFY(!fixture.cursor.slideshowRunning());
        QCOMPARE(fixture.read, (QStringList{"b.png", "c.png"}));
        QCOMPARE(fixture.atEnd.count(), 1);
    }

    // The stored choice is read at every step, so switching it on keeps a running show going.
    void loopingSlideshowGoesRoundByItself()
    {
        CursorFixture fixture(threeNames, 1, 0);
        fixture.cursor.startSlideshow();
        Settings::instance()->imagesCentralWidget()->setSlideLoop(true);
        QTRY_VERIFY(fixture.read.size() >= 4);
        fixture.cursor.stopSlideshow();
        QCOMPARE(fixture.read.mid(0, 4), (QStringList{"c.png", "a.png", "b.png", "c.png"}));
        QCOMPARE(fixture.atEnd.count(), 0);
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
