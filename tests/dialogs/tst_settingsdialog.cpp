#include "support/lumotest.h"

#include "dialogs/settingsdialog.h"
#include "document/recentfiles.h"
#include "settings/settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>

namespace {

// The raw file, so a missing flush shows even though every QSettings shares one cache.
QByteArray storeOnDisk()
{
    QFile file(Settings::instance()->store()->fileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void press(SettingsDialog& dialog, QDialogButtonBox::StandardButton which)
{
    dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(which)->click();
}

} // namespace

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
        QTest::newRow("Ok stores all three") << true;
        QTest::newRow("Cancel stores nothing") << false;
    }

    void okStoresAndCancelDoesNot()
    {
        QFETCH(bool, ok);
        SettingsDialog dialog(&m_recentFiles);
        dialog.findChild<QSpinBox*>("undoSpinBox")->setValue(42);
        dialog.findChild<QCheckBox*>(QStringLiteral("showLastFilesCheckBox"))->setChecked(false);
        dialog.findChild<QSpinBox*>("lastNSpinBox")->setValue(7);
        press(dialog, ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);

        const Settings::General* general = Settings::instance()->general();
        const QVariantList stored{general->undoN(), general->showLastFiles(), general->lastN()};
        QCOMPARE(stored, ok ? QVariantList({42, false, 7}) : QVariantList({10, true, 10}));
        QCOMPARE(storeOnDisk().contains("undoN=42"), ok);
    }

    void storedValuesAreClamped()
    {
        Settings::General* general = Settings::instance()->general();
        general->setUndoN(500);
        general->setLastN(-3);
        SettingsDialog dialog(&m_recentFiles);
        QCOMPARE(dialog.findChild<QSpinBox*>("undoSpinBox")->value(), 127);
        QCOMPARE(dialog.findChild<QSpinBox*>("lastNSpinBox")->value(), 1);
        press(dialog, QDialogButtonBox::Ok);
        QCOMPARE(general->undoN(), 127);
        QCOMPARE(general->lastN(), 1);
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
