#include "support/lumotest.h"

#include "document/decodeslots.h"

#include <QStringList>

#include <thread>

using Background = DecodeSlots::Background;
Q_DECLARE_METATYPE(Background)

class TestDecodeSlots : public QObject
{
    Q_OBJECT

private slots:
    // Work in the background starts only once what goes before it ends. No sleeping: the
    // waiting thread cannot note itself before it has its core.
    void backgroundWaits_data()
    {
        QTest::addColumn<bool>("asked"); // the first holds the picture asked for, else reads ahead
        QTest::addColumn<int>("cores");
        QTest::addColumn<Background>("then");
        QTest::newRow("read ahead after the picture asked for")
            << true << 2 << Background::ReadAhead;
        QTest::newRow("thumbnail after the picture asked for")
            << true << 2 << Background::Thumbnail;
        QTest::newRow("thumbnail after a read ahead, a core free")
            << false << 2 << Background::Thumbnail;
        QTest::newRow("one read ahead per core") << false << 1 << Background::ReadAhead;
    }
    void backgroundWaits()
    {
        QFETCH(bool, asked);
        QFETCH(int, cores);
        QFETCH(Background, then);
        DecodeSlots decodes(cores);
        QStringList order;
        if (asked)
            decodes.beginForeground();
        else
            decodes.takeBackground(Background::ReadAhead);
        std::thread waiting([&] {
            decodes.takeBackground(then);
            order << QStringLiteral("then");
            decodes.giveBackground(then);
        });
        order << QStringLiteral("first");
        if (asked)
            decodes.endForeground();
        else
            decodes.giveBackground(Background::ReadAhead);
        waiting.join();
        QCOMPARE(order, QStringList({QStringLiteral("first"), QStringLiteral("then")}));
    }
};

LUMO_TEST_MAIN(TestDecodeSlots)
#include "tst_decodeslots.moc"
