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

// The JPEG fields hold for WebP's box and key alike.
struct QualityRow
{
    QVariant storedJpeg, storedPng; // invalid: nothing stored
    QString shownJpeg, shownPng;
    int typedJpeg, typedPng; // -2: left alone
    QVariant keptJpeg, keptPng;
};

void press(SettingsDialog& dialog, QDialogButtonBox::StandardButton which)
{
    dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(which)->click();
}

} // namespace

Q_DECLARE_METATYPE(QualityRow)

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

    void okStoresAndCancelDoesNot_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Ok stores every box") << true;
        QTest::newRow("Cancel stores nothing") << false;
    }

    void okStoresAndCancelDoesNot()
    {
        QFETCH(bool, ok);
        Settings::ImagesCentralWidget* images = Settings::instance()->imagesCentralWidget();
        images->setSlideDelay(7);
        images->setSlideLoop(false);
        SettingsDialog dialog(&m_recentFiles);
        dialog.findChild<QSpinBox*>("undoSpinBox")->setValue(42);
        dialog.findChild<QCheckBox*>(QStringLiteral("showLastFilesCheckBox"))->setChecked(false);
        dialog.findChild<QSpinBox*>("lastNSpinBox")->setValue(7);
        auto* delay = dialog.findChild<QSpinBox*>(QStringLiteral("slideDelaySpinBox"));
        QCOMPARE(delay->value(), 7);
        delay->setValue(12);
        dialog.findChild<QCheckBox*>(QStringLiteral("slideLoopCheckBox"))->setChecked(true);
        QSignalSpy loopChanged(Settings::instance(), &Settings::slideLoopChanged);
        press(dialog, ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        const Settings::General* general = Settings::instance()->general();
        const QVariantList stored{general->undoN(), general->showLastFiles(), general->lastN(),
                                  images->slideDelay(), images->slideLoop(), loopChanged.count()};
        QCOMPARE(stored, ok ? QVariantList({42, false, 7, 12, true, 1})
                            : QVariantList({10, true, 10, 7, false, 0}));
        QCOMPARE(storeOnDisk().contains("undoN=42"), ok);
        QCOMPARE(storeOnDisk().contains("slideLoop=true"), ok);
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

    // The boxes show what the writer makes of the stored value; Ok stores only a changed box,
    // so a value the dialog cannot show keeps its meaning.
    void qualities_data()
    {
        QTest::addColumn<QualityRow>("row");
        const QVariant none;
        QTest::newRow("nothing stored, both set")
            << QualityRow{none, none, "Default", "9", 88, 0, 88, 100};
        QTest::newRow("stored values shown, back to the defaults")
            << QualityRow{40, -1, "40", "Library default", 0, 9, 0, 9};
        QTest::newRow("out of range stays stored while untouched")
            << QualityRow{250, 55, "Default", "4", -2, -2, 250, 55};
        QTest::newRow("a middle level stores a quality the library maps back to it")
            << QualityRow{none, none, "Default", "9", -2, 5, none, 49};
    }

    void qualities()
    {
        QFETCH(QualityRow, row);
        const auto& [storedJpeg, storedPng, shownJpeg, shownPng, typedJpeg, typedPng, keptJpeg,
                     keptPng] = row;
        QSettings* store = Settings::instance()->store();
        const QStringList percentKeys{QStringLiteral("/lumo-apps/lumo-image/Quality/JPEG"),
                                      QStringLiteral("/lumo-apps/lumo-image/Quality/WEBP")};
        const QString pngKey = QStringLiteral("/lumo-apps/lumo-image/Quality/PNG");
        for (const QString& key : percentKeys)
            if (storedJpeg.isValid())
                store->setValue(key, storedJpeg);
        if (storedPng.isValid())
            store->setValue(pngKey, storedPng);

        SettingsDialog dialog(&m_recentFiles);
        const QList<QSpinBox*> percentBoxes{
            dialog.findChild<QSpinBox*>(QStringLiteral("jpegQualitySpinBox")),
            dialog.findChild<QSpinBox*>(QStringLiteral("webpQualitySpinBox"))};
        auto* png = dialog.findChild<QSpinBox*>(QStringLiteral("pngCompressionSpinBox"));
        for (QSpinBox* box : percentBoxes) {
            QCOMPARE(box->text(), shownJpeg);
            if (typedJpeg != -2)
                box->setValue(typedJpeg);
        }
        QCOMPARE(png->text(), shownPng);
        if (typedPng != -2)
            png->setValue(typedPng);
        press(dialog, QDialogButtonBox::Ok);

        // Read back from the file, where every value is text.
        for (const QString& key : percentKeys) {
            QCOMPARE(store->contains(key), keptJpeg.isValid());
            QCOMPARE(store->value(key).toInt(), keptJpeg.toInt());
        }
        QCOMPARE(store->contains(pngKey), keptPng.isValid());
        QCOMPARE(store->value(pngKey).toInt(), keptPng.toInt());
        // Shown again as left.
        SettingsDialog again(&m_recentFiles);
        QCOMPARE(again.findChild<QSpinBox*>(QStringLiteral("pngCompressionSpinBox"))->value(),
                 typedPng != -2 ? typedPng : png->value());
    }

    // Both zoom modes: what is shown for a stored value and what Ok keeps; -2 leaves a box alone.
    void zoomModes_data()
    {
        QTest::addColumn<QVariant>("stored"); // invalid: nothing stored
        QTest::addColumn<QString>("shownWindow");
        QTest::addColumn<QString>("shownFullscreen");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QVariant>("kept");
        const QVariant none;
        QTest::newRow("nothing stored: the defaults, untouched stay unstored")
            << none << "True size" << "Insert to window" << -2 << none;
        QTest::newRow("fit without enlarging chosen") << none << "True size" << "Insert to window"
                                                      << 6 << QVariant(6);
        QTest::newRow("fit without enlarging shown") << QVariant(6) << "Fit, no enlarging"
                                                     << "Fit, no enlarging" << -2 << QVariant(6);
        QTest::newRow("a stored 2 keeps the scale and stays 2 while untouched")
            << QVariant(2) << "Keep the scale" << "Keep the scale" << -2 << QVariant(2);
        QTest::newRow("keeping the scale chosen stores manual zoom")
            << QVariant(0) << "Insert to window" << "Insert to window" << 5 << QVariant(5);
    }
    void zoomModes()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, shownWindow);
        QFETCH(QString, shownFullscreen);
        QFETCH(int, chosen);
        QFETCH(QVariant, kept);
        QSettings* store = Settings::instance()->store();
        const QStringList keys{QStringLiteral("/lumo-apps/lumo-image/zoomModeInt"),
                               QStringLiteral("FullscreenPicView/zoomMode")};
        if (stored.isValid()) {
            for (const QString& key : keys)
                store->setValue(key, stored);
        }
        SettingsDialog dialog(&m_recentFiles);
        const QList<QComboBox*> boxes{
            dialog.findChild<QComboBox*>(QStringLiteral("windowZoomComboBox")),
            dialog.findChild<QComboBox*>(QStringLiteral("fullscreenZoomComboBox"))};
        QCOMPARE((QStringList{boxes.at(0)->currentText(), boxes.at(1)->currentText()}),
                 (QStringList{shownWindow, shownFullscreen}));
        for (QComboBox* box : boxes) {
            if (chosen != -2)
                box->setCurrentIndex(box->findData(chosen));
        }
        press(dialog, QDialogButtonBox::Ok);
        for (const QString& key : keys) {
            QCOMPARE(store->contains(key), kept.isValid());
            QCOMPARE(store->value(key).toInt(), kept.toInt());
        }
    }

    void deleteAllActsEvenWhenCancelled()
    {
        Settings::General* general = Settings::instance()->general();
        general->setLasts({QStringLiteral("/pics/a.png"), QStringLiteral("/pics/b.png")});
        general->setLastDir(QStringLiteral("/pics"));
        Settings::sync();

        SettingsDialog dialog(&m_recentFiles);
        dialog.findChild<QSpinBox*>("undoSpinBox")->setValue(42);
        QSignalSpy changed(&m_recentFiles, &RecentFiles::changed);
        dialog.findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
        QVERIFY(!storeOnDisk().contains("/pics"));
        // The File menus hear of it.
        QCOMPARE(changed.size(), 1);
        press(dialog, QDialogButtonBox::Cancel);

        QVERIFY(general->lasts().isEmpty());
        QCOMPARE(general->lastDir(),
                 QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
        QCOMPARE(general->undoN(), 10);
    }

private:
    RecentFiles m_recentFiles;
};

LUMO_TEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
