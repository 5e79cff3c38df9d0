#include "support/lumotest.h"

#include "document/edithistory.h"

#include <QImage>

namespace {

// Pictures told apart by the red of their only pixel.
QImage picture(int number)
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(qRgb(number, 0, 0));
    return image;
}

int number(const QImage& image)
{
    return qRed(image.pixel(0, 0));
}

bool lastAnnounced(const QSignalSpy& spy)
{
    return !spy.isEmpty() && spy.last().at(0).toBool();
}

} // namespace

// The backups alone: what a depth keeps, where undo and redo lead, and when undoing every edit
// brings back the state the history began with.
class TestEditHistoryDocument : public QObject
{
    Q_OBJECT

private slots:
    void steps_data()
    {
        // Steps: e an edit kept, b an edit cancelled, u undo, r redo, i a picture handed in,
        // c the history emptied (a file read). Picture 0 is the one the history began with.
        QTest::addColumn<int>("storedDepth");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("undos");
        QTest::addColumn<int>("redos");
        QTest::addColumn<bool>("atStart");
        QTest::newRow("undo back to the start") << 10 << "ee uu" << 0 << 0 << 2 << true;
        QTest::newRow("259 keeps the newest three") << 259 << "eeeee uuu" << 2 << 0 << 3 << false;
        QTest::newRow("256 keeps nothing") << 256 << "e" << 1 << 0 << 0 << false;
        QTest::newRow("redo brings undone edits back") << 10 << "ee uu rr" << 2 << 2 << 0 << false;
        QTest::newRow("an edit after undo drops redo") << 10 << "ee u e" << 3 << 2 << 0 << false;
        QTest::newRow("cancelled edit leaves no backup") << 10 << "e b" << 1 << 1 << 0 << false;
        QTest::newRow("picture handed in never undoes to a saved state")
            << 10 << "i e u" << 0 << 0 << 1 << false;
        QTest::newRow("emptied history begins again") << 1 << "eee c e u" << 3 << 0 << 1 << true;
        QTest::newRow("nothing to undo or redo") << 10 << "u r" << 0 << 0 << 0 << true;
    }
    void steps()
    {
        QFETCH(int, storedDepth);
        QFETCH(QString, steps);
        QFETCH(int, shown);
        QFETCH(int, undos);
        QFETCH(int, redos);
        QFETCH(bool, atStart);
        EditHistory history;
        QSignalSpy undoAvailable(&history, &EditHistory::undoAvailableChanged);
        QSignalSpy redoAvailable(&history, &EditHistory::redoAvailableChanged);
        const int depth = EditHistory::undoDepth(storedDepth);
        QImage current = picture(0);
        int made = 0;
        for (const QChar step : steps) {
            const int undosBefore = history.undoCount();
            const int redosBefore = history.redoCount();
            switch (step.toLatin1()) {
            case 'e':
                history.push(current);
                current = picture(++made);
                history.commit(depth);
                break;
            case 'b':
                history.push(current);
                current = picture(99);
                QVERIFY(history.rollback(&current));
                break;
            case 'u':
                QCOMPARE(history.undo(&current), undosBefore > 0);
                break;
            case 'r':
                QCOMPARE(history.redo(&current), redosBefore > 0);
                break;
            case 'i':
                history.markStartUnsaved();
                break;
            case 'c':
                history.clear();
                break;
            default:
                break;
            }
        }
        QCOMPARE(number(current), shown);
        QCOMPARE(qMakePair(history.undoCount(), history.redoCount()), qMakePair(undos, redos));
        QCOMPARE(history.isAtStart(), atStart);
        QCOMPARE(lastAnnounced(undoAvailable), undos > 0);
        QCOMPARE(lastAnnounced(redoAvailable), redos > 0);
    }
};

LUMO_TEST_MAIN(TestEditHistoryDocument)
#include "tst_edithistory.moc"
