#include "support/lumotest.h"

#include "platform/trashinfo.h"

// The Path line of a trash record rewritten percent-encoded, as a file manager reads it back.
class TestTrashInfo : public QObject
{
    Q_OBJECT

private slots:
    void withEncodedPath_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("original");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray head("[Trash Info]\n");
        const QByteArray date("DeletionDate=2026-01-01T10:00:00\n");
        QTest::newRow("percent and space are encoded")
            << head + "Path=/p/a%b c.png\n" + date << QStringLiteral("/p/a%b c.png")
            << head + "Path=/p/a%25b%20c.png\n" + date;
        QTest::newRow("bytes beyond ASCII are encoded")
            << head + "Path=/p/\xc3\xa9.png\n" + date << QStringLiteral("/p/\u00e9.png")
            << head + "Path=/p/%C3%A9.png\n" + date;
        QTest::newRow("an encoded record stays")
            << head + "Path=/p/a%20b.png\n" + date << QStringLiteral("/p/a b.png")
            << head + "Path=/p/a%20b.png\n" + date;
        QTest::newRow("a record of another file is none")
            << head + "Path=/p/other.png\n" + date << QStringLiteral("/p/a.png") << QByteArray();
        QTest::newRow("a path that only starts alike is another file")
            << head + "Path=/p/a.png.bak\n" + date << QStringLiteral("/p/a.png") << QByteArray();
        QTest::newRow("an empty record") << QByteArray() << QStringLiteral("/p/a.png")
                                         << QByteArray();
    }

    void withEncodedPath()
    {
        QFETCH(QByteArray, record);
        QFETCH(QString, original);
        QFETCH(QByteArray, expected);
        QCOMPARE(TrashInfo::withEncodedPath(record, original), expected);
    }
};

LUMO_TEST_MAIN(TestTrashInfo)
#include "tst_trashinfo.moc"
