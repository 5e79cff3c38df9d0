#include "support/lumotest.h"

#include "platform/trashinfo.h"

// The Path line of a trash record rewritten percent-encoded, as a file manager reads it back.
class TestTrashInfo : public QObject
{
    Q_OBJECT

private slots:
    void withEncodedPath_data() { lumotest::addRows(QStringLiteral("trashinfo.txt")); }
    void withEncodedPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, original);
        QFETCH(QString, encoded);
        const auto record = [](const QString& line) {
            return line.isEmpty() ? QByteArray()
                                  : "[Trash Info]\nPath=" + line.toUtf8()
                                        + "\nDeletionDate=2026-01-01T10:00:00\n";
        };
        QCOMPARE(TrashInfo::withEncodedPath(record(path), original), record(encoded));
    }
};

LUMO_TEST_MAIN(TestTrashInfo)
#include "tst_trashinfo.moc"
