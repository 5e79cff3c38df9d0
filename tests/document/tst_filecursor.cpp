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

// A cursor over a list whose reads are recorded by file name; names in `unreadable` fail.
struct CursorFixture
{
    explicit CursorFixture(const QStringList& names, int row, int slideDelay = 5)
        : cursor(slideDelay)
    {
        cursor.setModel(makeList(names, &cursor));
        cursor.setCurrentRow(row);
        cursor.setMoveGuard([this] {
            ++guardAsked;
            return allowed;
        });
        cursor.setReader([this](const QString& path) {
            const QString name = path.section(QLatin1Char('/'), -1);
            read << name;
            cursor.readFinished(!unreadable.contains(name));
        });
    }

    // How often each end and direction was announced: first, next, previous, end.
    QList<int> announced() const
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
    bool allowed = true;
    int guardAsked = 0;
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

    void moves_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("move");
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<int>>("announced"); // first, next, previous, end
        QTest::newRow("next in the middle")
            << threeNames << 0 << "next" << 1 << QList<int>{0, 0, 0, 0};
        QTest::newRow("next onto the last")
            << threeNames << 1 << "next" << 2 << QList<int>{0, 0, 0, 1};
        QTest::newRow("next on the last reads it again")
            << threeNames << 2 << "next" << 2 << QList<int>{0, 0, 0, 1};
        QTest::newRow("previous onto the first")
            << threeNames << 1 << "previous" << 0 << QList<int>{1, 0, 0, 0};
        QTest::newRow("previous on the first reads it again")
            << threeNames << 0 << "previous" << 0 << QList<int>{1, 0, 0, 0};
        QTest::newRow("first from the end")
            << threeNames << 2 << "first" << 0 << QList<int>{1, 0, 0, 0};
        QTest::newRow("last from the start")
            << threeNames << 0 << "last" << 2 << QList<int>{0, 0, 0, 1};
        QTest::newRow("chosen middle row goes both ways")
            << threeNames << 0 << "row 1" << 1 << QList<int>{0, 1, 1, 0};
    }
    void moves()
    {
        QFETCH(QStringList, names);
        QFETCH(int, start);
        QFETCH(QString, move);
        QFETCH(int, row);
        QFETCH(QList<int>, announced);
        CursorFixture fixture(names, start);
        makeMove(fixture.cursor, move);
        QCOMPARE(fixture.cursor.currentRow(), row);
        QCOMPARE(fixture.read, QStringList{names.at(row)});
        QCOMPARE(fixture.announced(), announced);
        QCOMPARE(fixture.guardAsked, 1);
    }

    // A refused move, or one on an empty list, leaves the row, reads nothing and says nothing.
    void refusedMoves_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("move");
        QTest::addColumn<int>("guardAsked");
        for (const char* name : {"previous", "next", "first", "last", "row 2", "tick"}) {
            QTest::addRow("%s refused", name) << threeNames << name << 1;
            QTest::addRow("%s on an empty list asks nobody", name) << QStringList{} << name << 0;
        }
    }
    void refusedMoves()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, move);
        QFETCH(int, guardAsked);
        CursorFixture fixture(names, 1);
        fixture.allowed = false;
        fixture.cursor.startSlideshow();
        makeMove(fixture.cursor, move);
        QCOMPARE(fixture.cursor.currentRow(), 1);
        QCOMPARE(fixture.read, QStringList{});
        QCOMPARE(fixture.announced(), (QList<int>{0, 0, 0, 0}));
        QCOMPARE(fixture.guardAsked, guardAsked);
        QVERIFY(fixture.cursor.slideshowRunning());
    }

    // Stepping by hand keeps a slideshow going; first and last end it once they have read. Reads
    // end later than the move, and a newer move takes the place of an older one still being read.
    void movesDuringSlideshow_data()
    {
        QTest::addColumn<QStringList>("moves");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("running");
        QTest::newRow("next keeps it") << QStringList{"next"} << true << true;
        QTest::newRow("chosen row keeps it") << QStringList{"row 1"} << true << true;
        QTest::newRow("next onto an unreadable file keeps it")
            << QStringList{"next"} << false << true;
        QTest::newRow("first ends it") << QStringList{"first"} << true << false;
        QTest::newRow("last ends it") << QStringList{"last"} << true << false;
        QTest::newRow("first onto an unreadable file keeps it")
            << QStringList{"first"} << false << true;
        QTest::newRow("first overtaken by next") << QStringList{"first", "next"} << true << true;
        QTest::newRow("tick onto an unreadable file ends it")
            << QStringList{"tick"} << false << false;
    }
    void movesDuringSlideshow()
    {
        QFETCH(QStringList, moves);
        QFETCH(bool, readable);
        QFETCH(bool, running);
        CursorFixture fixture(threeNames, 0);
        QStringList pending;
        fixture.cursor.setReader([&pending](const QString& path) { pending << path; });
        fixture.cursor.startSlideshow();
        for (const QString& move : moves)
            makeMove(fixture.cursor, move);
        QVERIFY(fixture.cursor.slideshowRunning());
        QCOMPARE(pending.size(), moves.size());
        fixture.cursor.readFinished(readable);
        QCOMPARE(fixture.cursor.slideshowRunning(), running);
        QCOMPARE(fixture.stopped.count(), running ? 0 : 1);
    }

    // Where one step lands when the row is off the list or the list is short; tick() below
    // drives the ordinary steps.
    void slideStep_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<int>("next");
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("past a shrunk list, loop: the first") << 5 << 3 << true << 0 << true;
        QTest::newRow("file gone, loop: the first") << -1 << 3 << true << 0 << true;
        QTest::newRow("file gone, no loop: the first") << -1 << 3 << false << 0 << true;
        QTest::newRow("two pictures, loop: back and forth") << 1 << 2 << true << 0 << true;
        QTest::newRow("one picture, no loop: ends") << 0 << 1 << false << 0 << false;
        QTest::newRow("one picture, loop: ends too") << 0 << 1 << true << 0 << false;
        QTest::newRow("empty list, no loop") << 0 << 0 << false << -1 << false;
        QTest::newRow("empty list, loop") << 0 << 0 << true << -1 << false;
    }
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

    void tick_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("unreadable");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("running");
        QTest::addColumn<int>("stopped");
        QTest::addColumn<int>("atEnd");
        const QStringList one{"a.png"};
        QTest::newRow("in the middle moves on")
            << threeNames << false << 0 << QString() << 1 << true << 0 << 0;
        QTest::newRow("onto the last shows it and stops")
            << threeNames << false << 1 << QString() << 2 << false << 1 << 1;
        QTest::newRow("on the last shows it again and stops")
            << threeNames << false << 2 << QString() << 2 << false << 1 << 1;
        QTest::newRow("unreadable file stops it")
            << threeNames << false << 0 << "b.png" << 1 << false << 1 << 0;
        QTest::newRow("unreadable last file stops it at the end")
            << threeNames << false << 1 << "c.png" << 2 << false << 2 << 1;
        QTest::newRow("loop: onto the last goes on")
            << threeNames << true << 1 << QString() << 2 << true << 0 << 0;
        QTest::newRow("loop: on the last goes round to the first")
            << threeNames << true << 2 << QString() << 0 << true << 0 << 0;
        QTest::newRow("loop: an unreadable file still stops it")
            << threeNames << true << 2 << "a.png" << 0 << false << 1 << 0;
        QTest::newRow("loop: one picture shows it once more and stops")
            << one << true << 0 << QString() << 0 << false << 1 << 1;
    }
    void tick()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, loop);
        QFETCH(int, start);
        QFETCH(QString, unreadable);
        QFETCH(int, row);
        QFETCH(bool, running);
        QFETCH(int, stopped);
        QFETCH(int, atEnd);
        Settings::instance()->imagesCentralWidget()->setSlideLoop(loop);
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
