#include "support/lumotest.h"

#include "dialogs/settingsdialog.h"
#include "document/recentfiles.h"
#include "settings/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabBar>

namespace {

// The raw file, so a missing flush shows even though every QSettings shares one cache.
QByteArray storeOnDisk()
{
    return lumotest::contents(Settings::instance()->store()->fileName());
}

// A stored value: the keys it is stored under, the boxes (spin or combo) showing it.
struct StoredRow
{
    QStringList keys;
    QStringList boxes;
    QVariant stored;   // invalid: nothing stored
    QStringList shown; // per box
    int chosen;        // -2: left alone; a combo is chosen by its data
    QVariant kept;     // invalid: not stored
};

void press(SettingsDialog& dialog, QDialogButtonBox::StandardButton which)
{
    dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(which)->click();
}

} // namespace

Q_DECLARE_METATYPE(StoredRow)

// The settings dialog: what Ok and Cancel store, and the immediate list clearing.
class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Settings::instance()->store()->clear();
        Settings::sync();
    }

    // Delete all empties the recent files at once, on disk too, whatever ends the dialog.
    void okStoresAndCancelDoesNot_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("deleteAll");
        QTest::newRow("Ok stores every box") << true << false;
        QTest::newRow("Cancel stores nothing") << false << false;
        QTest::newRow("Delete all acts even when cancelled") << false << true;
    }

    void okStoresAndCancelDoesNot()
    {
        QFETCH(bool, ok);
        QFETCH(bool, deleteAll);
        Settings::General* general = Settings::instance()->general();
        general->setLasts({QStringLiteral("/pics/a.png"), QStringLiteral("/pics/b.png")});
        general->setLastDir(QStringLiteral("/pics"));
        Settings::ImagesCentralWidget* images = Settings::instance()->imagesCentralWidget();
        images->setSlideDelay(7);
        images->setSlideLoop(false);
        Settings::sync();
        SettingsDialog dialog(&m_recentFiles);
        dialog.findChild<QSpinBox*>("undoSpinBox")->setValue(42);
        dialog.findChild<QCheckBox*>(QStringLiteral("showLastFilesCheckBox"))->setChecked(false);
        dialog.findChild<QSpinBox*>("lastNSpinBox")->setValue(7);
        auto* delay = dialog.findChild<QSpinBox*>(QStringLiteral("slideDelaySpinBox"));
        QCOMPARE(delay->value(), 7);
        delay->setValue(12);
        dialog.findChild<QCheckBox*>(QStringLiteral("slideLoopCheckBox"))->setChecked(true);
        QSignalSpy loopChanged(Settings::instance(), &Settings::slideLoopChanged);
        QSignalSpy listChanged(&m_recentFiles, &RecentFiles::changed); // the File menus hear it
        if (deleteAll) {
            dialog.findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
            QVERIFY(!storeOnDisk().contains("/pics"));
        }
        QCOMPARE(listChanged.size(), int(deleteAll));
        press(dialog, ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        const QVariantList stored{general->undoN(), general->showLastFiles(), general->lastN(),
                                  images->slideDelay(), images->slideLoop(), loopChanged.count()};
        QCOMPARE(stored, ok ? QVariantList({42, false, 7, 12, true, 1})
                            : QVariantList({10, true, 10, 7, false, 0}));
        QCOMPARE(storeOnDisk().contains("undoN=42"), ok);
        QCOMPARE(storeOnDisk().contains("slideLoop=true"), ok);
        QCOMPARE(general->lasts().size(), deleteAll ? 0 : 2);
        QCOMPARE(general->lastDir(),
                 deleteAll ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)
                           : QStringLiteral("/pics"));
    }

    // A mnemonic used twice only moves between its owners; each of these must do its one thing.
    void mnemonicsAreUnique()
    {
        SettingsDialog dialog(&m_recentFiles);
        QStringList texts;
        const QTabBar* tabs = dialog.findChild<QTabBar*>();
        for (int i = 0; i < tabs->count(); ++i)
            texts << tabs->tabText(i);
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
            texts << button->text();
        QHash<QChar, QString> owners;
        for (const QString& text : qAsConst(texts)) {
            const int amp = text.indexOf(QLatin1Char('&'));
            if (amp < 0 || amp + 1 >= text.size())
                continue;
            const QChar key = text.at(amp + 1).toLower();
            QVERIFY2(!owners.contains(key),
                     qPrintable(owners.value(key) + QStringLiteral(" and ") + text));
            owners.insert(key, text);
        }
        QVERIFY(owners.size() >= 12);
    }

    // The boxes show what the writer or the view makes of the stored value; Ok stores only a
    // changed box, so a value the dialog cannot show keeps its meaning. The JPEG fields hold for
    // WebP's box and key alike.
    void storedValues_data()
    {
        QTest::addColumn<StoredRow>("row");
        const QString base = QStringLiteral("/lumo-apps/lumo-image/");
        const QStringList quality{base + "Quality/JPEG", base + "Quality/WEBP"};
        const QStringList qualityBoxes{"jpegQualitySpinBox", "webpQualitySpinBox"};
        const QStringList png{base + "Quality/PNG"}, pngBox{"pngCompressionSpinBox"};
        const QStringList zoom{base + "zoomModeInt", "FullscreenPicView/zoomMode"};
        const QStringList zoomBoxes{"windowZoomComboBox", "fullscreenZoomComboBox"};
        const QStringList defaults{"Default", "Default"}, keepScale{"Keep the scale"};
        const QVariant none;
        QTest::newRow("quality: nothing stored, set")
            << StoredRow{quality, qualityBoxes, none, defaults, 88, 88};
        QTest::newRow("quality: stored value shown, back to the default")
            << StoredRow{quality, qualityBoxes, 40, {"40", "40"}, 0, 0};
        QTest::newRow("quality: out of range stays stored while untouched")
            << StoredRow{quality, qualityBoxes, 250, defaults, -2, 250};
        QTest::newRow("compression: nothing stored, none chosen")
            << StoredRow{png, pngBox, none, {"9"}, 0, 100};
        QTest::newRow("compression: the library default shown, the default chosen")
            << StoredRow{png, pngBox, -1, {"Library default"}, 9, 9};
        QTest::newRow("compression: out of range stays stored while untouched")
            << StoredRow{png, pngBox, 55, {"4"}, -2, 55};
        QTest::newRow("compression: a middle level stores a quality mapped back to it")
            << StoredRow{png, pngBox, none, {"9"}, 5, 49};
        QTest::newRow("zoom: nothing stored, the defaults; untouched stay unstored")
            << StoredRow{zoom, zoomBoxes, none, {"True size", "Insert to window"}, -2, none};
        QTest::newRow("zoom: fit without enlarging chosen")
            << StoredRow{zoom, zoomBoxes, none, {"True size", "Insert to window"}, 6, 6};
        QTest::newRow("zoom: a stored 2 keeps the scale and stays 2 while untouched")
            << StoredRow{zoom, zoomBoxes, 2, keepScale + keepScale, -2, 2};
        QTest::newRow("zoom: keeping the scale chosen stores manual zoom")
            << StoredRow{zoom, zoomBoxes, 0, {"Insert to window", "Insert to window"}, 5, 5};
    }

    void storedValues()
    {
        QFETCH(StoredRow, row);
        QSettings* store = Settings::instance()->store();
        for (const QString& key : row.keys)
            if (row.stored.isValid())
                store->setValue(key, row.stored);
        const auto text = [](QWidget* box) {
            auto* spin = qobject_cast<QSpinBox*>(box);
            return spin ? spin->text() : qobject_cast<QComboBox*>(box)->currentText();
        };
        SettingsDialog dialog(&m_recentFiles);
        QStringList shown, left;
        for (const QString& name : row.boxes) {
            auto* box = dialog.findChild<QWidget*>(name);
            QVERIFY(box);
            shown << text(box);
            if (auto* spin = qobject_cast<QSpinBox*>(box); spin && row.chosen != -2)
                spin->setValue(row.chosen);
            if (auto* combo = qobject_cast<QComboBox*>(box); combo && row.chosen != -2)
                combo->setCurrentIndex(combo->findData(row.chosen));
            left << text(box);
        }
        QCOMPARE(shown, row.shown);
        press(dialog, QDialogButtonBox::Ok);
        // Read back from the file, where every value is text.
        for (const QString& key : row.keys) {
            QCOMPARE(store->contains(key), row.kept.isValid());
            QCOMPARE(store->value(key).toInt(), row.kept.toInt());
        }
        // Shown again as left.
        SettingsDialog again(&m_recentFiles);
        for (int i = 0; i < row.boxes.size(); ++i)
            QCOMPARE(text(again.findChild<QWidget*>(row.boxes.at(i))), left.at(i));
    }

private:
    RecentFiles m_recentFiles;
};

LUMO_TEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
