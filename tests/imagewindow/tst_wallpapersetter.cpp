#include "support/fixeddesktop.h"
#include "support/lumotest.h"
#include "support/recordinglauncher.h"

#include "imagewindow/wallpapersetter.h"

#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QProcess>

#include <unistd.h>

namespace {
const QString portalConnection = QStringLiteral("lumo-test-portal");
const QString callerConnection = QStringLiteral("lumo-test-caller");
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
    // A bus of our own without service files, so nothing real is activated; without dbus-daemon
    // the portal is not tested.
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
        if (daemon.isEmpty() || !config.open(QIODevice::WriteOnly))
            return;
        config.write(
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\""
            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
            "<auth>EXTERNAL</auth><policy context=\"default\">"
            "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
            "<allow own=\"*\"/></policy></busconfig>\n");
        config.close();
        m_busDaemon.start(daemon,
                          {QStringLiteral("--config-file=") + config.fileName(),
                           QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        while (m_busDaemon.waitForStarted() && !m_busDaemon.canReadLine()) {
            if (!m_busDaemon.waitForReadyRead(10000))
                return;
        }
        m_busAddress = QString::fromLocal8Bit(m_busDaemon.readLine()).trimmed();
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(portalConnection);
        QDBusConnection::disconnectFromBus(callerConnection);
        if (m_busDaemon.state() != QProcess::NotRunning) {
            m_busDaemon.kill();
            m_busDaemon.waitForFinished();
        }
    }

    void commands_data()
    {
        QTest::addColumn<int>("desktop");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments"); // %1 stands for the path
        QTest::addColumn<QString>("windowManagerText");
        const QStringList gconf{"-t", "string", "-s", "/desktop/gnome/background/picture_filename",
                                "%1"};
        QTest::newRow("kdesktop, blanks in one argument")
            << 1 << "the sea.png"
            << "dbus"
            << QStringList{"kdesktop", "KBackgroundIface", "setWallpaper", "1", "\"%1\"", "6"}
            << QString();
        QTest::newRow("gconf, a quote cannot add arguments") << 2 << "a\" -s /x \"b.png"
                                                             << "gconftool-2" << gconf << QString();
        QTest::newRow("window manager")
            << 5 << "sea.png" << QString() << QStringList() << "LUMOWM_UPDATE_VAL WallPaper %1\n";
        QTest::newRow("other desktop without a portal")
            << 3 << "sea.png" << QString() << QStringList() << QString();
        // Control characters would end the window manager's command and start another.
        QTest::newRow("line feed, window manager")
            << 5 << "a.png\nLUMOWM_QUIT" << QString() << QStringList() << QString();
        QTest::newRow("carriage return, kdesktop")
            << 1 << "a\r.png" << QString() << QStringList() << QString();
    }

    void commands()
    {
        QFETCH(int, desktop);
        QFETCH(QString, name);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, windowManagerText);
        const QString path = picture(name);
        arguments.replaceInStrings(QStringLiteral("%1"), path);
        RecordingLauncher launcher;
        FixedDesktop link(desktop);
        WallpaperSetter setter;
        setter.setPortalBus(QDBusConnection(QStringLiteral("no such bus")));
        setter.setWallpaper(path);

        QCOMPARE(launcher.starts().size(), program.isEmpty() ? 0 : 1);
        if (!program.isEmpty()) {
            QCOMPARE(launcher.starts().first().program, program);
            QCOMPARE(launcher.starts().first().arguments, arguments);
            QVERIFY(launcher.starts().first().waited);
        }
        QCOMPARE(link.sent(), windowManagerText.isEmpty()
                                  ? QStringList()
                                  : QStringList{windowManagerText.arg(path)});
    }

    void portal_data()
    {
        QTest::addColumn<bool>("portalThere");
        QTest::newRow("portal gets the picture with a quoted name") << true;
        QTest::newRow("no portal, nothing happens") << false;
    }

    void portal()
    {
        QFETCH(bool, portalThere);
        if (m_busAddress.isEmpty())
            QSKIP("dbus-daemon is not available");
        FakePortal fake;
        QDBusConnection portalBus = QDBusConnection::connectToBus(m_busAddress, portalConnection);
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
        setter.setPortalBus(QDBusConnection::connectToBus(m_busAddress, callerConnection));
        QSignalSpy replied(&setter, &WallpaperSetter::portalReplied);
        const QString path = picture(QStringLiteral("the \"sea\".png"));
        setter.setWallpaper(path);
        QVERIFY(replied.wait(10000));
        QCOMPARE(replied.first().first().toBool(), portalThere);
        QVERIFY(launcher.starts().isEmpty() && link.sent().isEmpty());
        QCOMPARE(fake.calls, portalThere ? 1 : 0);
        if (portalThere) {
            QCOMPARE(fake.fileContents,
                     "picture bytes of " + QFile::encodeName(QFileInfo(path).fileName()));
            QCOMPARE(fake.options.value(QStringLiteral("set-on")).toString(),
                     QStringLiteral("background"));
            QCOMPARE(fake.options.value(QStringLiteral("show-preview")).toBool(), false);
        }
    }

private:
    QString picture(const QString& name) const
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.exists() && file.open(QIODevice::WriteOnly))
            file.write("picture bytes of " + QFile::encodeName(name));
        return path;
    }

    QTemporaryDir m_dir;
    QProcess m_busDaemon;
    QString m_busAddress;
};

LUMO_TEST_MAIN(TestWallpaperSetter)
#include "tst_wallpapersetter.moc"
