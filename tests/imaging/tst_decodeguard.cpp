#include "support/lumotest.h"

#include "imaging/decodeguard.h"

#include <QDir>
#include <QImageReader>

// Whether a file may be decoded: its framing, its announced size against the memory budget,
// and its byte size against what its format can compress into that many pixels.
class TestDecodeGuard : public QObject
{
    Q_OBJECT

private slots:
    void judgeFile_data() { lumotest::addRows(QStringLiteral("decodeguard.txt")); }

    void judgeFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, plugin);
        QFETCH(qint64, physical);
        QFETCH(QSize, box);
        QFETCH(int, refusal);
        if (!QImageReader::supportedImageFormats().contains(plugin.toLatin1()))
            QSKIP(qPrintable(QStringLiteral("no %1 reader").arg(plugin)));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        QImageReader reader(path);
        const imaging::DecodeVerdict verdict =
            imaging::DecodeGuard(imaging::ReadLimits(physical)).judge(reader, box);
        QCOMPARE(int(verdict.refusal), refusal);
        // The reader still reads from where it was.
        if (verdict.allowed())
            QVERIFY(!reader.read().isNull());
    }

    void minimumFileBytes_data() { lumotest::addRows(QStringLiteral("minimumfilebytes.txt")); }

    void minimumFileBytes()
    {
        QFETCH(QString, format);
        QFETCH(QSize, size);
        QFETCH(int, storedBits);
        QFETCH(qint64, bytes);
        const bool runLengths = format == QLatin1String("bmp") && storedBits == 0;
        QCOMPARE(imaging::DecodeGuard::minimumFileBytes(
                     {format.toLatin1(), size, 0, storedBits, runLengths}),
                 bytes);
    }

    void decodedSize_data() { lumotest::addRows(QStringLiteral("decodedsize.txt")); }

    void decodedSize()
    {
        QFETCH(QString, format);
        QFETCH(QSize, declared);
        QFETCH(QSize, box);
        QFETCH(QSize, decoded);
        QCOMPARE(imaging::DecodeGuard::decodedSize(format.toLatin1(), declared, box), decoded);
    }

    // Every valid file of the PNG suite still passes.
    void pngSuitePasses()
    {
        const QString corpus = lumotest::corpusDir(QStringLiteral("pngsuite/png"));
        if (corpus.isEmpty())
            QSKIP("no PNG suite");
        const QStringList valid =
            QDir(corpus).entryList({QStringLiteral("[^x]*.png")}, QDir::Files);
        QVERIFY(!valid.isEmpty());
        for (const QString& name : valid) {
            QImageReader reader(QDir(corpus).filePath(name));
            QVERIFY2(imaging::DecodeGuard().judge(reader).allowed(), qPrintable(name));
        }
    }
};

LUMO_TEST_MAIN(TestDecodeGuard)
#include "tst_decodeguard.moc"
