#include "support/lumotest.h"

#include "document/imageformats.h"

// The format lists, and the patterns and dialog filters made from them.
class TestImageFormats : public QObject
{
    Q_OBJECT

private slots:
    void suffixChecks_data() { lumotest::addRows(QStringLiteral("imageformats.txt")); }
    void suffixChecks()
    {
        QFETCH(QString, suffix);
        QFETCH(bool, readable);
        QFETCH(bool, writable);
        QFETCH(bool, nameReadable);
        const ImageFormats formats({"jpg", "PNG"}, {"png", "ppm"});
        QCOMPARE(formats.canRead(suffix), readable);
        QCOMPARE(formats.canWrite(suffix), writable);
        QCOMPARE(formats.hasReadableSuffix(QStringLiteral("holiday.2024.") + suffix), nameReadable);
        QCOMPARE(formats.hasReadableSuffix(suffix), false); // a format name is no file name
        QCOMPARE(formats.hasReadableSuffix(QStringLiteral("scan.") + suffix + ".gz"), false);
    }

    void patternsAndFiltersFollowListOrder()
    {
        // Reported in any case and order, with repeats.
        const ImageFormats formats({"png", "gif", "BMP", "PNG", "Png"}, {"xpm", "bmp", "XPM"});
        QCOMPARE(formats.readableFormats(), (QStringList{"bmp", "gif", "png"}));
        QCOMPARE(formats.writableFormats(), (QStringList{"bmp", "xpm"}));
        QCOMPARE(formats.readPatterns(),
                 (QStringList{"*.bmp", "*.BMP", "*.gif", "*.GIF", "*.png", "*.PNG"}));
        QCOMPARE(formats.readFilters(),
                 (QStringList{"BMP (*.bmp *.BMP)", "GIF (*.gif *.GIF)", "PNG (*.png *.PNG)"}));
    }
};

LUMO_TEST_MAIN(TestImageFormats)
#include "tst_imageformats.moc"
