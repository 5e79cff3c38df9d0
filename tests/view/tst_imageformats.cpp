#include "support/lumotest.h"

#include "view/imageformats.h"

#include <QImageReader>
#include <QtConcurrent>

// The format lists, and the patterns and dialog filters made from them.
class TestImageFormats : public QObject
{
    Q_OBJECT

private slots:
    void suffixCheckIgnoresCase_data();
    void suffixCheckIgnoresCase();
    void fileNameSuffix_data();
    void fileNameSuffix();
    void formatFilter_data();
    void formatFilter();
    void patternsAndFiltersFollowListOrder();
    void oneInstanceForAllThreads();
};

void TestImageFormats::suffixCheckIgnoresCase_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<bool>("writable");
    QTest::newRow("JPG in capitals") << "JPG" << true << false;
    QTest::newRow("Png mixed case") << "Png" << true << true;
    QTest::newRow("written only") << "PPM" << false << true;
    QTest::newRow("empty suffix") << "" << false << false;
    QTest::newRow("part of a name") << "pn" << false << false;
}

void TestImageFormats::suffixCheckIgnoresCase()
{
    QFETCH(QString, suffix);
    QFETCH(bool, readable);
    QFETCH(bool, writable);
    const ImageFormats formats({"jpg", "PNG"}, {"png", "ppm"});
    QCOMPARE(formats.canRead(suffix), readable);
    QCOMPARE(formats.canWrite(suffix), writable);
}

void TestImageFormats::fileNameSuffix_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("readable");
    QTest::newRow("capital suffix") << "IMG_0001.JPG" << true;
    QTest::newRow("dots inside the name") << "holiday.2024.06.png" << true;
    QTest::newRow("compressed picture") << "scan.png.gz" << false;
    QTest::newRow("format name without a dot") << "jpg" << false;
    QTest::newRow("trailing dot") << "photo." << false;
}

void TestImageFormats::fileNameSuffix()
{
    QFETCH(QString, fileName);
    QFETCH(bool, readable);
    const ImageFormats formats({"jpg", "PNG"}, {"png"});
    QCOMPARE(formats.hasReadableSuffix(fileName), readable);
}

void TestImageFormats::formatFilter_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("filter");
    QTest::newRow("PNG in capitals") << "PNG" << "PNG (*.png *.PNG)";
    QTest::newRow("mixed case") << "TiF" << "TIF (*.tif *.TIF)";
}

void TestImageFormats::formatFilter()
{
    QFETCH(QString, format);
    QFETCH(QString, filter);
    QCOMPARE(ImageFormats::formatFilter(format), filter);
}

void TestImageFormats::patternsAndFiltersFollowListOrder()
{
    // Reported in any case and order, with repeats.
    const ImageFormats formats({"png", "gif", "BMP", "PNG", "Png"}, {"xpm", "bmp", "XPM"});
    QCOMPARE(formats.readableFormats(), (QStringList{"bmp", "gif", "png"}));
    QCOMPARE(formats.writableFormats(), (QStringList{"bmp", "xpm"}));
    QCOMPARE(formats.readPatterns(),
             (QStringList{"*.bmp", "*.BMP", "*.gif", "*.GIF", "*.png", "*.PNG"}));
    QCOMPARE(formats.writePatterns(), (QStringList{"*.bmp", "*.BMP", "*.xpm", "*.XPM"}));
    QCOMPARE(formats.readFilters(),
             (QStringList{"BMP (*.bmp *.BMP)", "GIF (*.gif *.GIF)", "PNG (*.png *.PNG)"}));
    QCOMPARE(formats.writeFilters(), (QStringList{"BMP (*.bmp *.BMP)", "XPM (*.xpm *.XPM)"}));
    QCOMPARE(formats.allImagesFilter(),
             QStringLiteral("All image files (*.bmp *.BMP *.gif *.GIF *.png *.PNG)"));
}

void TestImageFormats::oneInstanceForAllThreads()
{
    // Thumbnail workers may reach the instance before the GUI thread does.
    QList<QFuture<const ImageFormats*>> seen;
    for (int i = 0; i < 4; ++i)
        seen << QtConcurrent::run([] { return ImageFormats::instance(); });
    for (QFuture<const ImageFormats*>& formats : seen)
        QCOMPARE(formats.result(), ImageFormats::instance());
    QCOMPARE(ImageFormats::instance()->readableFormats().size(),
             ImageFormats(QImageReader::supportedImageFormats(), {}).readableFormats().size());
    QVERIFY(ImageFormats::instance()->canWrite(QStringLiteral("PNG")));
}

LUMO_TEST_MAIN(TestImageFormats)
#include "tst_imageformats.moc"
