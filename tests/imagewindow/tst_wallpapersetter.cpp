#include "support/fixeddesktop.h"
#include "support/lumotest.h"
#include "support/recordinglauncher.h"

#include "imagewindow/wallpapersetter.h"
#include "platform/desktoplink.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QProcess>
#include <QStandardPaths>

#include <memory>

#include <unistd.h>

namespace {


const char* const portalConnection = "lumo-test-portal";
const char* const callerConnection = "lumo-test-caller";

} // namespace

// Stands in for the desktop portal's wallpaper interface and keeps what it was given.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Wallpaper")

public:
    QByteArray fileContents;
    QVariantMap options;
    int calls = 0;

public slots:
    QDBusObjectPath SetWallpaperFile(const QString& parentWindow,
                                     const QDBusUnixFileDescriptor& file,
                                     const QVariantMap& givenOptions)
    {
        Q_UNUSED(parentWindow)
        ++calls;
        options = givenOptions;
        QFile reader;
        if (reader.open(::dup(file.fileDescriptor()), QIODevice::ReadOnly,
                        QFileDevice::AutoCloseHandle))
            fileContents = reader.readAll();
        return QDBusObjectPath(QStringLiteral("/org/freedesktop/portal/desktop/request/1/t"));
    }
};

// Setting the wallpaper on each desktop, and through the portal elsewhere.
class TestWallpaperSetter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void commands_data();
    void commands();
    void refusedPaths_data();
    void refusedPaths();
    void portal_data();
    void portal();

private:
    QString picture(const QString& name) const;
    bool startBus();

    QTemporaryDir m_dir;
    QProcess m_busDaemon;
    QString m_busAddress;
};

QString TestWallpaperSetter::picture(const QString& name) const
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.write("picture bytes of " + QFile::encodeName(name));
    return path;
}

void TestWallpaperSetter::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (!startBus())
        qWarning("no private session bus; the portal is not tested");
}

bool TestWallpaperSetter::startBus()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        return false;
    // A bus of our own without service files, so nothing real is activated.
    const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\""
               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
               "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
               "<auth>EXTERNAL</auth><policy context=\"default\">"
               "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
               "<allow own=\"*\"/></policy></busconfig>\n");
    file.close();
    m_busDaemon.start(daemon, {QStringLiteral("--config-file=") + config,
                               QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!m_busDaemon.waitForStarted())
        return false;
    while (!m_busDaemon.canReadLine()) {
        if (!m_busDaemon.waitForReadyRead(10000))
            return false;
    }
    m_busAddress = QString::fromLocal8Bit(m_busDaemon.readLine()).trimmed();
    return !m_busAddress.isEmpty();
}

void TestWallpaperSetter::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QLatin1String(portalConnection));
    QDBusConnection::disconnectFromBus(QLatin1String(callerConnection));
    if (m_busDaemon.state() != QProcess::NotRunning) {
        m_busDaemon.kill();
        m_busDaemon.waitForFinished();
    }
}

void TestWallpaperSetter::commands_data()
{
    QTest::addColumn<int>("desktop");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments"); // %1 stands for the path
    QTest::addColumn<QString>("windowManagerText");

    const QStringList kdesktop{"kdesktop", "KBackgroundIface", "setWallpaper", "1", "\"%1\"", "6"};
    const QStringList gconf{"-t", "string", "-s", "/desktop/gnome/background/picture_filename",
                            "%1"};
    QTest::newRow("kdesktop") << 1 << "sea.png"
                              << "dbus" << kdesktop << QString();
    QTest::newRow("kdesktop, blanks in one argument") << 1 << "the sea.png"
                                                      << "dbus" << kdesktop << QString();
    QTest::newRow("gconf") << 2 << "sea.png"
                           << "gconftool-2" << gconf << QString();
    QTest::newRow("gconf, blanks in one argument") << 2 << "the sea.png"
                                                   << "gconftool-2" << gconf << QString();
    QTest::newRow("gconf, a quote cannot add arguments") << 2 << "a\" -s /x \"b.png"
                                                         << "gconftool-2" << gconf << QString();
    QTest::newRow("window manager")
        << 5 << "sea.png" << QString() << QStringList() << "LUMOWM_UPDATE_VAL WallPaper %1\n";
    QTest::newRow("other desktop without a portal")
        << 3 << "sea.png" << QString() << QStringList() << QString();
}

void TestWallpaperSetter::commands()
{
    QFETCH(int, desktop);
    QFETCH(QString, name);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, windowManagerText);
    const QString path = picture(name);
    for (QString& argument : arguments)
        argument.replace(QLatin1String("%1"), path);

    RecordingLauncher launcher;
    FixedDesktop link(desktop);
    WallpaperSetter setter;
    setter.setPortalBus(QDBusConnection(QStringLiteral("no such bus")));
    setter.setWallpaper(path);

    if (program.isEmpty()) {
        QVERIFY(launcher.starts().isEmpty());
    } else {
        QCOMPARE(launcher.starts().size(), 1);
        QCOMPARE(launcher.starts().first().program, program);
        QCOMPARE(launcher.starts().first().arguments, arguments);
        QVERIFY(launcher.starts().first().waited);
    }
    const QStringList texts =
        windowManagerText.isEmpty() ? QStringList() : QStringList{windowManagerText.arg(path)};
    QCOMPARE(link.sent(), texts);
}

void TestWallpaperSetter::refusedPaths_data()
{
    QTest::addColumn<int>("desktop");
    QTest::addColumn<QString>("path");
    QTest::newRow("no file, window manager") << 5 << QString();
    QTest::newRow("line feed, window manager") << 5 << "/tmp/a.png\nLUMOWM_QUIT";
    QTest::newRow("line feed, gconf") << 2 << "/tmp/a\n.png";
    QTest::newRow("carriage return, kdesktop") << 1 << "/tmp/a\r.png";
}

void TestWallpaperSetter::refusedPaths()
{
    QFETCH(int, desktop);
    QFETCH(QString, path);
    RecordingLauncher launcher;
    FixedDesktop link(desktop);
    WallpaperSetter setter;
    setter.setWallpaper(path);
    QVERIFY(launcher.starts().isEmpty());
    QVERIFY(link.sent().isEmpty());
}

void TestWallpaperSetter::portal_data()
{
    QTest::addColumn<bool>("portalThere");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("portal gets the picture") << true << "sea.png" << true;
    QTest::newRow("portal gets a quoted name") << true << "the \"sea\".png" << true;
    QTest::newRow("no portal, nothing happens") << false << "sea.png" << false;
}

void TestWallpaperSetter::portal()
{
    QFETCH(bool, portalThere);
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    if (m_busAddress.isEmpty())
        QSKIP("dbus-daemon is not available");

    FakePortal fake;
    QDBusConnection portalBus =
        QDBusConnection::connectToBus(m_busAddress, QLatin1String(portalConnection));
    QVERIFY(portalBus.isConnected());
    const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
    const QString object = QStringLiteral("/org/freedesktop/portal/desktop");
    if (portalThere) {
        QVERIFY(portalBus.registerService(service));
        QVERIFY(portalBus.registerObject(object, &fake, QDBusConnection::ExportAllSlots));
    }
    const auto unregister = qScopeGuard([&] {
        portalBus.unregisterObject(object);
        portalBus.unregisterService(service);
    });

    RecordingLauncher launcher;
    FixedDesktop link(0);
    WallpaperSetter setter;
    setter.setPortalBus(
        QDBusConnection::connectToBus(m_busAddress, QLatin1String(callerConnection)));
    QSignalSpy replied(&setter, &WallpaperSetter::portalReplied);
    const QString path = picture(name);
    setter.setWallpaper(path);
    QVERIFY(replied.wait(10000));
    QCOMPARE(replied.first().first().toBool(), accepted);
    QVERIFY(launcher.starts().isEmpty());
    QVERIFY(link.sent().isEmpty());
    if (portalThere) {
        QCOMPARE(fake.calls, 1);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(fake.fileContents, file.readAll());
        QCOMPARE(fake.options.value(QStringLiteral("set-on")).toString(),
                 QStringLiteral("background"));
        QCOMPARE(fake.options.value(QStringLiteral("show-preview")).toBool(), false);
    }
}

LUMO_TEST_MAIN(TestWallpaperSetter)
#include "tst_wallpapersetter.moc"
