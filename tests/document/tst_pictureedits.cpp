#include "support/lumotest.h"

#include "document/edithistory.h"
#include "document/picture.h"
#include "document/pictureedits.h"

// The edit protocol on a picture: what kept, unchanged and cancelled adjustments and undo mean
// for its pixels and its modified flag.
class TestPictureEdits : public QObject
{
    Q_OBJECT

private slots:
    void steps_data()
    {
        // Steps: a an adjustment that changes the picture, kept; s one kept without a change;
        // c one cancelled; u undo. The picture's only pixel counts the changes in its red.
        QTest::addColumn<int>("depth");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("modified");
        QTest::newRow("kept change marks the picture") << 10 << "a" << 1 << true;
        QTest::newRow("kept without a change leaves it as read") << 10 << "s" << 0 << false;
        QTest::newRow("cancelled change gives back the picture") << 10 << "c" << 0 << false;
        QTest::newRow("cancelled after a kept one keeps the mark") << 10 << "a c" << 1 << true;
        QTest::newRow("every edit undone: as read") << 10 << "aa uu" << 0 << false;
        QTest::newRow("history trimmed: undoing all stays changed") << 1 << "aa u" << 1 << true;
    }
    void steps()
    {
        QFETCH(int, depth);
        QFETCH(QString, steps);
        QFETCH(int, shown);
        QFETCH(bool, modified);
        Picture picture;
        QImage start(1, 1, QImage::Format_RGB32);
        start.fill(qRgb(0, 0, 0));
        picture.setImage(start);
        EditHistory history;
        PictureEdits edits(&picture, &history);
        const auto change = [&picture] {
            QImage changed = picture.image().copy();
            changed.setPixel(0, 0, qRgb(qRed(changed.pixel(0, 0)) + 1, 0, 0));
            picture.setImage(changed);
        };
        for (const QChar step : steps) {
            switch (step.toLatin1()) {
            case 'a':
            case 's':
                edits.backUp();
                if (step == QLatin1Char('a'))
                    change();
                edits.keepAdjustment(depth);
                break;
            case 'c':
                edits.backUp();
                change();
                QVERIFY(edits.rollback());
                break;
            case 'u':
                QVERIFY(edits.undo());
                edits.markUnmodifiedIfAtStart();
                break;
            default:
                break;
            }
        }
        QCOMPARE(qRed(picture.image().pixel(0, 0)), shown);
        QCOMPARE(picture.isModified(), modified);
    }
};

LUMO_TEST_MAIN(TestPictureEdits)
#include "tst_pictureedits.moc"
