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

// Stands in for the desktop portal's wallpaper interface and keeps the file and options given.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Wallpaper")

public:
    QList<QVariantList> calls;

public slots:
    QDBusObjectPath SetWallpaperFile(const QString&, const QDBusUnixFileDescriptor& file,
                                     const QVariantMap& options)
    {
        QFile reader;
        reader.open(::dup(file.fileDescriptor()), QIODevice::ReadOnly,
                    QFileDevice::AutoCloseHandle);
        calls << QVariantList{reader.readAll(), options};
        return QDBusObjectPath(QStringLiteral("/org/freedesktop/portal/desktop/request/1/t"));
    }
};

// Setting the wallpaper on each desktop, and through the portal elsewhere.
class TestWallpaperSetter : public QObject
{
    Q_OBJECT

private slots:
    // A bus of our own without service files, so nothing real is activated; without dbus-daemon
    // the portal is not tested. The permissive policy, eavesdropping included, is what libdbus
    // needs here: with the stock session policy the client aborts inside the library.
    void initTestCase()
    {
        QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("<busconfig><listen>unix:tmpdir=/tmp</listen><policy context=\"default\">"
                     "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                     "<allow own=\"*\"/></policy></busconfig>\n");
        config.close();
        m_busDaemon.start(QStringLiteral("dbus-daemon"),
                          {"--config-file=" + config.fileName(), "--nofork", "--print-address=1"});
        while (!m_busDaemon.canReadLine() && m_busDaemon.waitForReadyRead(10000)) {
        }
        m_busAddress = QString::fromLocal8Bit(m_busDaemon.readLine()).trimmed();
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(portalConnection);
        QDBusConnection::disconnectFromBus(callerConnection);
        m_busDaemon.kill();
        m_busDaemon.waitForFinished();
    }

    void commands_data()
    {
        QTest::addColumn<int>("desktop");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("started"); // program and arguments; %1 is the path
        QTest::addColumn<QStringList>("sent");    // to the window manager
        const QStringList none;
        const QStringList kdesktop{"dbus", "kdesktop", "KBackgroundIface", "setWallpaper", "1"};
        QTest::newRow("kdesktop, blanks in one argument")
            << 1 << "the sea.png" << kdesktop + QStringList{"\"%1\"", "6"} << none;
        const QString gconfKey = QStringLiteral("/desktop/gnome/background/picture_filename");
        QTest::newRow("gconf, a quote cannot add arguments")
            << 2 << "a\" -s /x \"b.png"
            << QStringList{"gconftool-2", "-t", "string", "-s", gconfKey, "%1"} << none;
        QTest::newRow("window manager")
            << 5 << "sea.png" << none << QStringList{"LUMOWM_UPDATE_VAL WallPaper %1\n"};
        QTest::newRow("other desktop without a portal") << 3 << "sea.png" << none << none;
        // Control characters would end the window manager's command and start another.
        QTest::newRow("line feed, window manager") << 5 << "a.png\nLUMOWM_QUIT" << none << none;
        QTest::newRow("carriage return, kdesktop") << 1 << "a\r.png" << none << none;
    }

    void commands()
    {
        QFETCH(int, desktop);
        QFETCH(QString, name);
        QFETCH(QStringList, started);
        QFETCH(QStringList, sent);
        const QString path = picture(name);
        RecordingLauncher launcher;
        FixedDesktop link(desktop);
        WallpaperSetter setter;
        setter.setPortalBus(QDBusConnection(QStringLiteral("no such bus")));
        setter.setWallpaper(path);
        QStringList starts;
        for (const RecordingLauncher::Start& start : launcher.starts()) {
            QVERIFY(start.waited);
            starts << start.program << start.arguments;
        }
        QCOMPARE(starts, started.replaceInStrings(QStringLiteral("%1"), path));
        QCOMPARE(link.sent(), sent.replaceInStrings(QStringLiteral("%1"), path));
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
        const QVariantList call{"picture bytes of " + QFile::encodeName(QFileInfo(path).fileName()),
                                QVariantMap{{"set-on", "background"}, {"show-preview", false}}};
        QCOMPARE(fake.calls, portalThere ? QList<QVariantList>{call} : QList<QVariantList>());
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
