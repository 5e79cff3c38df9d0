#include "support/lumotest.h"

#include "platform/lumodesktop.h"

#include <QProcessEnvironment>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

// Desktop identification and window-manager commands, with and without an X server.
class TestLumoDesktop : public QObject
{
    Q_OBJECT

private slots:
    void probeDecision_data();
    void probeDecision();
    void gnome2Session_data();
    void gnome2Session();
    void withoutDisplay();
    void onXServer();
};

void TestLumoDesktop::probeDecision_data()
{
    QTest::addColumn<QString>("found"); // what the probe saw: wm, kdesktop, gconftool, gnome2
    QTest::addColumn<int>("expected");

    QTest::newRow("nothing found") << "" << 0;
    QTest::newRow("our window manager wins over the rest") << "wm kdesktop gconftool gnome2" << 5;
    QTest::newRow("kdesktop before gconf") << "kdesktop gconftool gnome2" << 1;
    QTest::newRow("GNOME 2 with gconftool-2") << "gconftool gnome2" << 2;
    QTest::newRow("gconftool-2 alone is not GNOME 2") << "gconftool" << 0;
}

void TestLumoDesktop::probeDecision()
{
    QFETCH(QString, found);
    QFETCH(int, expected);
    const QStringList seen = found.split(QLatin1Char(' '));
    LumoDesktopProbe probe;
    probe.lumoWindowManager = seen.contains(QLatin1String("wm"));
    probe.kdesktopService = seen.contains(QLatin1String("kdesktop"));
    probe.gconftoolInstalled = seen.contains(QLatin1String("gconftool"));
    probe.gnome2Session = seen.contains(QLatin1String("gnome2"));
    QCOMPARE(lumoDesktopFromProbe(probe), expected);
}

void TestLumoDesktop::gnome2Session_data()
{
    QTest::addColumn<QString>("sessionId");
    QTest::addColumn<QString>("currentDesktop");
    QTest::addColumn<bool>("expected");

    QTest::newRow("GNOME 2") << "Default" << QString() << true;
    QTest::newRow("no session id") << QString() << QString() << false;
    QTest::newRow("GNOME 3 placeholder id") << "this-is-deprecated" << "GNOME" << false;
    QTest::newRow("MATE keeps an id but names itself") << "Default" << "MATE" << false;
}

void TestLumoDesktop::gnome2Session()
{
    QFETCH(QString, sessionId);
    QFETCH(QString, currentDesktop);
    QFETCH(bool, expected);
    QProcessEnvironment environment;
    if (!sessionId.isEmpty())
        environment.insert(QStringLiteral("GNOME_DESKTOP_SESSION_ID"), sessionId);
    if (!currentDesktop.isEmpty())
        environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), currentDesktop);
    QCOMPARE(lumoIsGnome2Session(environment), expected);
}

void TestLumoDesktop::withoutDisplay()
{
    QCOMPARE(whatDE(nullptr, 1234), 0);
    SendCommandToWM(nullptr, QStringLiteral("LUMOWM_UPDATE_VAL WallPaper /tmp/a.png\n"));
}

void TestLumoDesktop::onXServer()
{
    // Runs against the X server in DISPLAY (for example under xvfb-run), whatever the Qt platform.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("no X display");
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        QSKIP("X display not reachable");
    const Window root = DefaultRootWindow(display);
    const Atom running = XInternAtom(display, "_LUMO_WM_RUNNING", False);
    const Atom command = XInternAtom(display, "_LUMO_WM_COMMAND", False);
    XDeleteProperty(display, root, running);
    XDeleteProperty(display, root, command);

    QVERIFY2(whatDE(display, root) != 5, "no window manager of ours runs yet");

    const long one = 1;
    XChangeProperty(display, root, running, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&one), 1);
    XSync(display, False);
    QCOMPARE(whatDE(display, root), 5);

    // A leftover of another type is replaced rather than raising an X error.
    XChangeProperty(display, root, command, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&one), 1);
    const QString path = QString::fromUtf8("/tmp/Ä b.png");
    SendCommandToWM(display, QStringLiteral("LUMOWM_UPDATE_VAL WallPaper ") + path + "\n");
    SendCommandToWM(display, QStringLiteral("SECOND"));
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, root, command, 0, 4096, False, AnyPropertyType, &type, &format,
                       &items, &after, &data);
    QVERIFY(data && type == XInternAtom(display, "UTF8_STRING", False) && format == 8);
    const QString written = QString::fromUtf8(reinterpret_cast<const char*>(data), int(items));
    XFree(data);
    QCOMPARE(written, "LUMOWM_UPDATE_VAL WallPaper " + path + "\nSECOND\n");

    XDeleteProperty(display, root, running);
    XDeleteProperty(display, root, command);
    XCloseDisplay(display);
}

LUMO_TEST_MAIN(TestLumoDesktop)
#include "tst_lumodesktop.moc"
