#include "support/lumotest.h"

#include "app/settings.h"
#include "platform/lumofm/vfs.h"

#include <QSettings>
#include <functional>

using Getter = std::function<QVariant()>;

// The store's keys, defaults, conversions and round trips.
class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void defaults_data();
    void defaults();
    void emptyLastDirReadsDesktop();
    void scanDialogDefault_data();
    void scanDialogDefault();
    void wrongTypesReadAsZero_data();
    void wrongTypesReadAsZero();
    void settersRoundTripUnderExactKeys_data();
    void settersRoundTripUnderExactKeys();

private:
    static QMap<QString, Getter> getters();
};

QMap<QString, Getter> TestSettings::getters()
{
    Settings* s = Settings::instance();
    return {
        {"Quality/JPEG", [s] { return QVariant(s->general()->qualityJPEG()); }},
        {"Quality/PNG", [s] { return QVariant(s->general()->qualityPNG()); }},
        {"undoN", [s] { return QVariant(s->general()->undoN()); }},
        {"showLastFiles", [s] { return QVariant(s->general()->showLastFiles()); }},
        {"lastN", [s] { return QVariant(s->general()->lastN()); }},
        {"lasts", [s] { return QVariant(s->general()->lasts()); }},
        {"zoomModeInt", [s] { return QVariant(s->general()->zoomModeInt()); }},
        {"WatchWidthMin", [s] { return QVariant(s->general()->watchWidthMin()); }},
        {"WatchWidthMax", [s] { return QVariant(s->general()->watchWidthMax()); }},
        {"WatchHeightMin", [s] { return QVariant(s->general()->watchHeightMin()); }},
        {"WatchHeightMax", [s] { return QVariant(s->general()->watchHeightMax()); }},
        {"widthMinValue", [s] { return QVariant(s->general()->widthMinValue()); }},
        {"widthMaxValue", [s] { return QVariant(s->general()->widthMaxValue()); }},
        {"heightMinValue", [s] { return QVariant(s->general()->heightMinValue()); }},
        {"heightMaxValue", [s] { return QVariant(s->general()->heightMaxValue()); }},
        {"iconViewMode", [s] { return QVariant(s->filesCentralWidget()->iconViewMode()); }},
        {"thumbnailSizeInIconMode",
         [s] { return QVariant(s->filesCentralWidget()->thumbnailSizeInIconMode()); }},
        {"thumbnailSizeInListMode",
         [s] { return QVariant(s->filesCentralWidget()->thumbnailSizeInListMode()); }},
        {"thumbnailsBarVisible",
         [s] { return QVariant(s->imagesCentralWidget()->thumbnailsBarVisible()); }},
        {"thumbnailsBarSplitterSizes",
         [s] { return QVariant(s->imagesCentralWidget()->thumbnailsBarSplitterSizes()); }},
        {"singleWindowMode", [s] { return QVariant(s->imagesCentralWidget()->singleWindowMode()); }},
        {"tabbedWindowMode", [s] { return QVariant(s->imagesCentralWidget()->tabbedWindowMode()); }},
        {"slideDelay", [s] { return QVariant(s->imagesCentralWidget()->slideDelay()); }},
        {"firstColumnWidth", [s] { return QVariant(s->metaInfoWidget()->firstColumnWidth()); }},
        {"filesWindowState", [s] { return QVariant(s->windowState()->filesWindowState()); }},
        {"imagesWindowState", [s] { return QVariant(s->windowState()->imagesWindowState()); }},
        {"fullscreen zoomMode", [s] { return QVariant(s->fullscreenPicView()->zoomMode()); }},
    };
}

void TestSettings::init()
{
    Settings::instance()->store()->clear();
}

void TestSettings::defaults_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("expected");
    const QList<QPair<QString, QVariant>> rows = {
        {"Quality/JPEG", 0},          {"Quality/PNG", 0},
        {"undoN", 10},                {"showLastFiles", true},
        {"lastN", 10},                {"lasts", QStringList()},
        {"zoomModeInt", 4},           {"WatchWidthMin", false},
        {"WatchWidthMax", false},     {"WatchHeightMin", false},
        {"WatchHeightMax", false},    {"widthMinValue", 100},
        {"widthMaxValue", 100},       {"heightMinValue", 100},
        {"heightMaxValue", 100},      {"iconViewMode", false},
        {"thumbnailSizeInIconMode", 48}, {"thumbnailSizeInListMode", 32},
        {"thumbnailsBarVisible", true}, {"thumbnailsBarSplitterSizes", QByteArray()},
        {"singleWindowMode", true},   {"tabbedWindowMode", false},
        {"slideDelay", 5},            {"firstColumnWidth", 0},
        {"filesWindowState", QByteArray()}, {"imagesWindowState", QByteArray()},
        {"fullscreen zoomMode", 0},
    };
    for (const auto& row : rows)
        QTest::newRow(qPrintable(row.first)) << row.first << row.second;
}

void TestSettings::defaults()
{
    QFETCH(QString, name);
    QFETCH(QVariant, expected);
    QVERIFY2(getters().contains(name), qPrintable(name));
    QCOMPARE(getters().value(name)(), expected);
}

void TestSettings::emptyLastDirReadsDesktop()
{
    const QString desktop = LumoFM::VFS::ptr()->desktopEntry().localPath();
    QVERIFY(!desktop.isEmpty());
    QCOMPARE(Settings::instance()->general()->lastDir(), desktop);
    Settings::instance()->general()->setLastDir(QString());
    QCOMPARE(Settings::instance()->general()->lastDir(), desktop);
    Settings::instance()->general()->setLastDir(QStringLiteral("/home/u/pics"));
    QCOMPARE(Settings::instance()->general()->lastDir(), QStringLiteral("/home/u/pics"));
}

void TestSettings::scanDialogDefault_data()
{
    QTest::addColumn<QSize>("available");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("large area caps at 800x600") << QSize(1024, 768) << QSize(800, 600);
    QTest::newRow("small area is used whole") << QSize(640, 480) << QSize(640, 480);
    QTest::newRow("mixed") << QSize(1920, 500) << QSize(800, 500);
}

void TestSettings::scanDialogDefault()
{
    QFETCH(QSize, available);
    QFETCH(QSize, expected);
    QCOMPARE(Settings::ScanDialog::defaultSize(available), expected);
}

void TestSettings::wrongTypesReadAsZero_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("text for an int") << "lumo-apps/lumo-image/undoN" << "undoN" << QVariant(0);
    QTest::newRow("text for the slide delay")
        << "ImagesCentralWidget/slideDelay" << "slideDelay" << QVariant(0);
    QTest::newRow("text for a bool") << "FilesCentralWidget/iconViewMode" << "iconViewMode"
                                     << QVariant(false);
}

void TestSettings::wrongTypesReadAsZero()
{
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(QVariant, expected);
    // "false" is the one text QVariant reads as false; other words would read as true.
    const QString text = expected.type() == QVariant::Bool ? QStringLiteral("false")
                                                           : QStringLiteral("many");
    Settings::instance()->store()->setValue(key, text);
    QCOMPARE(getters().value(name)(), expected);
}

void TestSettings::settersRoundTripUnderExactKeys_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("storedKey");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("undoN") << "undoN" << "lumo-apps/lumo-image/undoN" << QVariant(300);
    QTest::newRow("lasts") << "lasts" << "lumo-apps/lumo-image/lasts"
                           << QVariant(QStringList{"/a.png", "/b.png"});
    QTest::newRow("slideDelay") << "slideDelay" << "ImagesCentralWidget/slideDelay" << QVariant(9);
    QTest::newRow("files layout") << "filesWindowState" << "WindowState/filesWindowState"
                                  << QVariant(QByteArray("\x00\x01layout", 8));
    QTest::newRow("fullscreen zoom") << "fullscreen zoomMode" << "FullscreenPicView/zoomMode"
                                     << QVariant(5);
}

void TestSettings::settersRoundTripUnderExactKeys()
{
    QFETCH(QString, name);
    QFETCH(QString, storedKey);
    QFETCH(QVariant, value);
    Settings* s = Settings::instance();
    const QMap<QString, std::function<void(const QVariant&)>> setters = {
        {"undoN", [s](const QVariant& v) { s->general()->setUndoN(v.toInt()); }},
        {"lasts", [s](const QVariant& v) { s->general()->setLasts(v.toStringList()); }},
        {"slideDelay", [s](const QVariant& v) { s->imagesCentralWidget()->setSlideDelay(v.toInt()); }},
        {"filesWindowState",
         [s](const QVariant& v) { s->windowState()->setFilesWindowState(v.toByteArray()); }},
        {"fullscreen zoomMode",
         [s](const QVariant& v) { s->fullscreenPicView()->setZoomMode(v.toInt()); }},
    };
    setters.value(name)(value);
    Settings::sync();
    QCOMPARE(getters().value(name)(), value);

    // Another reader of the same store file finds the value under the documented key.
    QSettings other;
    QCOMPARE(other.value(storedKey), value);
}

LUMO_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
