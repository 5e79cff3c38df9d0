#include "support/lumotest.h"

#include "app/settings.h"
#include "dialogs/settingsdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>

// The settings dialog: what it shows, what Ok and Cancel store, and the immediate list clearing.
class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void okStoresAndCancelDoesNot_data();
    void okStoresAndCancelDoesNot();
    void storedValuesAreClamped_data();
    void storedValuesAreClamped();
    void deleteAllActsEvenWhenCancelled();

private:
    static QByteArray storeOnDisk();
    static void press(SettingsDialog& dialog, QDialogButtonBox::StandardButton which);
};

void TestSettingsDialog::init()
{
    Settings::instance()->store()->clear();
    Settings::sync();
}

QByteArray TestSettingsDialog::storeOnDisk()
{
    // The raw file, so a missing flush shows even though every QSettings shares one cache.
    QFile file(Settings::instance()->store()->fileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestSettingsDialog::press(SettingsDialog& dialog, QDialogButtonBox::StandardButton which)
{
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QVERIFY(buttons);
    buttons->button(which)->click();
}

void TestSettingsDialog::okStoresAndCancelDoesNot_data()
{
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("undoN");
    QTest::addColumn<bool>("showLastFiles");
    QTest::addColumn<int>("lastN");

    QTest::newRow("Ok stores all three") << true << int(QDialog::Accepted) << 42 << false << 7;
    QTest::newRow("Cancel stores nothing") << false << int(QDialog::Rejected) << 10 << true << 10;
}

void TestSettingsDialog::okStoresAndCancelDoesNot()
{
    QFETCH(bool, ok);
    QFETCH(int, result);
    QFETCH(int, undoN);
    QFETCH(bool, showLastFiles);
    QFETCH(int, lastN);

    SettingsDialog dialog;
    dialog.findChild<QSpinBox*>(QStringLiteral("undoSpinBox"))->setValue(42);
    dialog.findChild<QCheckBox*>(QStringLiteral("showLastFilesCheckBox"))->setChecked(false);
    dialog.findChild<QSpinBox*>(QStringLiteral("lastNSpinBox"))->setValue(7);
    press(dialog, ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);

    QCOMPARE(dialog.result(), result);
    const Settings::General* general = Settings::instance()->general();
    QCOMPARE(general->undoN(), undoN);
    QCOMPARE(general->showLastFiles(), showLastFiles);
    QCOMPARE(general->lastN(), lastN);
    QCOMPARE(storeOnDisk().contains("undoN=42"), ok);
}

void TestSettingsDialog::storedValuesAreClamped_data()
{
    QTest::addColumn<QString>("spinBox");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");

    QTest::newRow("undoN 500 becomes 127") << "undoSpinBox" << 500 << 127;
    QTest::newRow("undoN 0 becomes 1") << "undoSpinBox" << 0 << 1;
    QTest::newRow("lastN 1000 becomes 100") << "lastNSpinBox" << 1000 << 100;
    QTest::newRow("lastN -3 becomes 1") << "lastNSpinBox" << -3 << 1;
}

void TestSettingsDialog::storedValuesAreClamped()
{
    QFETCH(QString, spinBox);
    QFETCH(int, stored);
    QFETCH(int, shown);

    Settings::General* general = Settings::instance()->general();
    const bool undo = spinBox == QLatin1String("undoSpinBox");
    undo ? general->setUndoN(stored) : general->setLastN(stored);

    SettingsDialog dialog;
    QCOMPARE(dialog.findChild<QSpinBox*>(spinBox)->value(), shown);
    press(dialog, QDialogButtonBox::Ok);
    QCOMPARE(undo ? general->undoN() : general->lastN(), shown);
}

void TestSettingsDialog::deleteAllActsEvenWhenCancelled()
{
    Settings::General* general = Settings::instance()->general();
    general->setLasts({QStringLiteral("/pics/a.png"), QStringLiteral("/pics/b.png")});
    general->setLastDir(QStringLiteral("/pics"));
    Settings::sync();

    SettingsDialog dialog;
    dialog.findChild<QSpinBox*>(QStringLiteral("undoSpinBox"))->setValue(42);
    dialog.findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
    QVERIFY(!storeOnDisk().contains("/pics"));
    press(dialog, QDialogButtonBox::Cancel);

    QVERIFY(general->lasts().isEmpty());
    QCOMPARE(general->lastDir(), QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    QCOMPARE(general->undoN(), 10);
}

LUMO_TEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
