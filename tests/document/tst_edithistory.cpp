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
    void steps_data() { lumotest::addRows(QStringLiteral("edithistory.txt")); }
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
