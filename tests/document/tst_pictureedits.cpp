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
    void steps_data() { lumotest::addRows(QStringLiteral("pictureedits.txt")); }
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
