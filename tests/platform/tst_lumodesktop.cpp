#include "support/lumotest.h"

#include "platform/lumodesktop.h"
#include "platform/processlauncher.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

// Talking to the desktop: which one runs, window-manager commands with and without an X server,
// and external programs run for real.
class TestLumoDesktop : public QObject
{
    Q_OBJECT

private slots:
    void probeDecision_data() { lumotest::addRows(QStringLiteral("desktopprobe.txt")); }

    void probeDecision()
    {
        QFETCH(QString, found);
        QFETCH(int, expected);
        const QStringList seen = found.split(' ');
        LumoDesktopProbe probe;
        probe.lumoWindowManager = seen.contains("wm");
        probe.kdesktopService = seen.contains("kdesktop");
        probe.gconftoolInstalled = seen.contains("gconftool");
        probe.gnome2Session = seen.contains("gnome2");
        QCOMPARE(lumoDesktopFromProbe(probe), expected);
    }

    void gnome2Session_data() { lumotest::addRows(QStringLiteral("gnome2session.txt")); }

    void gnome2Session()
    {
        QFETCH(QString, sessionId);
        QFETCH(QString, currentDesktop);
        QFETCH(bool, expected);
        QProcessEnvironment environment;
        if (!sessionId.isEmpty())
            environment.insert("GNOME_DESKTOP_SESSION_ID", sessionId);
        if (!currentDesktop.isEmpty())
            environment.insert("XDG_CURRENT_DESKTOP", currentDesktop);
        QCOMPARE(lumoIsGnome2Session(environment), expected);
    }

    void withoutDisplay()
    {
        // Nothing sent without a display, and no crash.
        QCOMPARE(whatDE(nullptr, 1234), 0);
        SendCommandToWM(nullptr, "LUMOWM_UPDATE_VAL WallPaper /tmp/a.png\n");
    }

    void onXServer()
    {
        // An X server of its own, so the properties it sets and deletes are never those of the
        // desktop the test runs on; Xvfb picks a free display and writes its number when ready.
        QProcess server;
        server.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"),
                      QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"),
                      QStringLiteral("0"), QStringLiteral("64x64x24")});
        QVERIFY2(server.waitForStarted(), "Xvfb is missing: scripts/deps installs it");
        QByteArray number;
        while (!number.endsWith('\n') && server.waitForReadyRead(30000))
            number += server.readAllStandardOutput();
        const QByteArray name = ':' + number.trimmed();
        Display* display = XOpenDisplay(name.constData());
        QVERIFY2(display, name.constData());
        const Window root = DefaultRootWindow(display);
        const Atom running = XInternAtom(display, "_LUMO_WM_RUNNING", False);
        const Atom command = XInternAtom(display, "_LUMO_WM_COMMAND", False);
        QVERIFY2(whatDE(display, root) != 5, "no window manager of ours runs yet");

        const long one = 1;
        const auto* oneData = reinterpret_cast<const unsigned char*>(&one);
        XChangeProperty(display, root, running, XA_CARDINAL, 32, PropModeReplace, oneData, 1);
        XSync(display, False);
        QCOMPARE(whatDE(display, root), 5);

        // A leftover of another type is replaced rather than raising an X error; texts add up.
        XChangeProperty(display, root, command, XA_CARDINAL, 32, PropModeReplace, oneData, 1);
        const QString first = QString::fromUtf8("LUMOWM_UPDATE_VAL WallPaper /tmp/Ä b.png\n");
        SendCommandToWM(display, first);
        SendCommandToWM(display, "SECOND");
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display, root, command, 0, 4096, False, AnyPropertyType, &type, &format,
                           &items, &after, &data);
        QVERIFY(data && type == XInternAtom(display, "UTF8_STRING", False) && format == 8);
        const QString written = QString::fromUtf8(reinterpret_cast<const char*>(data), int(items));
        XFree(data);
        XCloseDisplay(display);
        server.terminate();
        server.waitForFinished();
        QCOMPARE(written, first + "SECOND\n");
    }

    void execute_data() { lumotest::addRows(QStringLiteral("execute.txt")); }

    void execute()
    {
        QFETCH(QString, program);
        QFETCH(QString, script);
        QFETCH(int, exitCode);
        QCOMPARE(ProcessLauncher::current()->execute(program, {"-c", script}), exitCode);
    }
};

LUMO_TEST_MAIN(TestLumoDesktop)
#include "tst_lumodesktop.moc"
