#include "support/lumotest.h"

#include "imaging/filestructure.h"

#include <QBuffer>

// What the framing of a file says before any decoder sees it: parts within the file, the stored
// depth, run-length coding.
class TestFileStructure : public QObject
{
    Q_OBJECT

private slots:
    void inspect_data() { lumotest::addRows(QStringLiteral("filestructure.txt")); }

    void inspect()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, format);
        QFETCH(bool, within);
        QFETCH(int, storedBits);
        QFETCH(bool, runLengths);
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        buffer.seek(3);
        const imaging::FileStructure structure =
            imaging::FileStructure::inspect(&buffer, format.toLatin1());
        QCOMPARE(structure.lengthsWithinFile, within);
        QCOMPARE(structure.storedBitsPerPixel, storedBits);
        QCOMPARE(structure.runLengths, runLengths);
        // The reader that asked goes on from where it was.
        QCOMPARE(buffer.pos(), qint64(3));
    }

    // TGA readers may not tell the size, so the header's is read here.
    void tgaSize()
    {
        QByteArray tga("\x00\x00\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                       "\x4d\x4d\x02\x01\x10\x00",
                       18);
        QBuffer buffer(&tga);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(imaging::FileStructure::inspect(&buffer, "tga").declaredSize, QSize(19789, 258));
    }
};

LUMO_TEST_MAIN(TestFileStructure)
#include "tst_filestructure.moc"
