#include "support/lumotest.h"

#include "decoding/decodemessage.h"

#include <QDataStream>

// Replies between a helper and the program: what goes in comes out, and a reply that claims
// more than it carries is refused rather than believed.
class TestDecodeMessage : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip()
    {
        DecodeMessage::Reply sent;
        sent.outcome = DecodeMessage::Outcome::Decoded;
        sent.exif = {{QStringLiteral("Model"), QStringLiteral("LumoCam 7")},
                     {QStringLiteral("Exposure Time"), QStringLiteral("1/250 s")}};
        sent.bytes = QByteArray("packed metadata\0with a zero", 27);
        sent.error = QStringLiteral("the metadata reader failed");
        QByteArray bytes;
        QVector<int> fds;
        QVERIFY(DecodeMessage::encode(sent, &bytes, &fds));
        QCOMPARE(fds.size(), 1);
        DecodeMessage::Reply received;
        DecodeMessage::Limits limits;
        limits.bytes = sent.bytes.size();
        QVERIFY(DecodeMessage::decode(bytes, fds, limits, &received));
        QCOMPARE(received.outcome, sent.outcome);
        QCOMPARE(received.exif, sent.exif);
        QCOMPARE(received.bytes, sent.bytes);
        QCOMPARE(received.error, sent.error);
    }

    void overclaimingReply_data()
    {
        QTest::addColumn<qint32>("rows");
        QTest::addColumn<qint64>("bytes");
        QTest::newRow("more rows than the message holds") << qint32(0x7fffffff) << qint64(0);
        QTest::newRow("negative row count") << qint32(-1) << qint64(0);
        QTest::newRow("bytes with no memory file") << qint32(0) << qint64(12);
    }

    void overclaimingReply()
    {
        QFETCH(qint32, rows);
        QFETCH(qint64, bytes);
        DecodeMessage::Reply honest;
        honest.outcome = DecodeMessage::Outcome::Decoded;
        QByteArray message;
        QVector<int> fds;
        QVERIFY(DecodeMessage::encode(honest, &message, &fds));
        // The counts sit after the texts: the layout, outcome, format, size, four animation
        // numbers and the error come first.
        QByteArray forged;
        QDataStream out(&forged, QIODevice::WriteOnly);
        QDataStream in(message);
        quint32 layout;
        qint32 outcome;
        QString format;
        QSize size;
        qint32 animation[4];
        QString error;
        qint32 count;
        in >> layout >> outcome >> format >> size >> animation[0] >> animation[1] >> animation[2]
            >> animation[3] >> error >> count;
        out << layout << outcome << format << size << animation[0] << animation[1] << animation[2]
            << animation[3] << error << rows << false << false << bytes;
        DecodeMessage::Reply received;
        QVERIFY(!DecodeMessage::decode(forged, {}, DecodeMessage::Limits(), &received));
        QVERIFY(received.exif.isEmpty());
    }
};

LUMO_TEST_MAIN(TestDecodeMessage)
#include "tst_decodemessage.moc"
