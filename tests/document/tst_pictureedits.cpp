#include "support/lumotest.h"

#include "document/edithistory.h"
#include "document/picture.h"
#include "document/pictureedits.h"

namespace {

bool lastAnnounced(const QSignalSpy& spy)
{
    return !spy.isEmpty() && spy.last().at(0).toBool();
}

} // namespace

// The one edit path of a picture: what every kind of edit, undo and redo does to its pixels,
// its modified flag and its history, each announced once, and a refused one not at all.
class TestPictureEdits : public QObject
{
    Q_OBJECT

private slots:
    void steps_data() { lumotest::addRows(QStringLiteral("pictureedits.txt")); }
    void steps()
    {
        QFETCH(int, storedDepth);
        QFETCH(QString, steps);
        QFETCH(int, shown);
        QFETCH(bool, modified);
        QFETCH(int, undos);
        QFETCH(int, redos);
        const int depth = EditHistory::undoDepth(storedDepth);
        Picture picture;
        QImage start(1, 1, QImage::Format_RGB32);
        start.fill(qRgb(0, 0, 0));
        picture.setImage(start);
        EditHistory history;
        PictureEdits edits(&picture, &history);
        QSignalSpy announced(&edits, &PictureEdits::changed);
        QSignalSpy undoAvailable(&history, &EditHistory::undoAvailableChanged);
        QSignalSpy redoAvailable(&history, &EditHistory::redoAvailableChanged);
        const auto next = [](const QImage& image) {
            QImage changed = image.copy();
            changed.setPixel(0, 0, qRgb(qRed(changed.pixel(0, 0)) + 1, 0, 0));
            return changed;
        };
        for (const QChar step : steps) {
            const int before = announced.count();
            bool acted = true;
            switch (step.toLatin1()) {
            case 'a':
            case 's':
                edits.backUp();
                if (step == QLatin1Char('a'))
                    picture.setImage(next(picture.image()));
                edits.keepAdjustment(depth);
                break;
            case 'b':
                edits.backUp();
                picture.setImage(next(picture.image()));
                QVERIFY(edits.rollback());
                break;
            case 'e':
                QVERIFY(edits.apply(next, depth));
                break;
            case 'f':
                acted = edits.apply([](const QImage&) { return QImage(); }, depth);
                break;
            case 'u':
                acted = edits.undo();
                break;
            case 'r':
                acted = edits.redo();
                break;
            case 'i':
                edits.markImported();
                break;
            case 'c':
                history.clear();
                acted = false;
                break;
            default:
                continue;
            }
            QCOMPARE(announced.count(), before + (acted ? 1 : 0));
        }
        QCOMPARE(qRed(picture.image().pixel(0, 0)), shown);
        QCOMPARE(picture.isModified(), modified);
        QCOMPARE(qMakePair(history.undoCount(), history.redoCount()), qMakePair(undos, redos));
        QCOMPARE(lastAnnounced(undoAvailable), undos > 0);
        QCOMPARE(lastAnnounced(redoAvailable), redos > 0);
    }
};

LUMO_TEST_MAIN(TestPictureEdits)
#include "tst_pictureedits.moc"
