#include "support/lumotest.h"

#include "settings/settings.h"

#include <QSettings>

namespace {

// The few settings the table below reads and writes, by the name used in its rows.
QVariant read(const QString& name)
{
    Settings::General* general = Settings::instance()->general();
    if (name == QLatin1String("undoN"))
        return general->undoN();
    if (name == QLatin1String("iconViewMode"))
        return Settings::instance()->filesCentralWidget()->iconViewMode();
    if (name == QLatin1String("lasts"))
        return general->lasts();
    return Settings::instance()->windowState()->filesWindowState();
}

void write(const QString& name, const QVariant& value)
{
    if (name == QLatin1String("lasts"))
        Settings::instance()->general()->setLasts(value.toStringList());
    else
        Settings::instance()->windowState()->setFilesWindowState(value.toByteArray());
}

} // namespace

// The store's conversions and the keys other readers rely on.
class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { Settings::instance()->store()->clear(); }

    void storedValues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored"); // written straight into the store when not written
        QTest::addColumn<QVariant>("expected");

        // "false" is the one text QVariant reads as false; other words would read as true.
        QTest::newRow("text for an int reads 0")
            << "undoN" << "lumo-apps/lumo-image/undoN" << QVariant("many") << QVariant(0);
        QTest::newRow("text for a bool reads false") << "iconViewMode"
            << "FilesCentralWidget/iconViewMode" << QVariant("false") << QVariant(false);
        QTest::newRow("list round trip") << "lasts" << "lumo-apps/lumo-image/lasts" << QVariant()
                                         << QVariant(QStringList{"/a.png", "/b.png"});
        QTest::newRow("layout bytes with a zero round trip") << "filesWindowState"
            << "WindowState/filesWindowState" << QVariant() << QVariant(QByteArray("\x00\x01l", 3));
    }

    void storedValues()
    {
        QFETCH(QString, name);
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, expected);
        if (stored.isValid()) {
            Settings::instance()->store()->setValue(key, stored);
            QCOMPARE(read(name), expected);
            return;
        }
        write(name, expected);
        Settings::sync();
        QCOMPARE(read(name), expected);
        // Another reader of the same store file finds the value under the documented key.
        QCOMPARE(QSettings().value(key), expected);
    }
};

LUMO_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
