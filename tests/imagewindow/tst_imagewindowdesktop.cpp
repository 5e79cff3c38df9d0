#include "support/fixeddesktop.h"
#include "support/imagewindowhost.h"
#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/recordinglauncher.h"
#include "support/scriptedprompter.h"

#include "app/settings.h"
#include "imagewindow/imagescentralwidget.h"
#include "imagewindow/printmethodwidget.h"
#include "imagewindow/sworkspace.h"
#include "platform/desktoplink.h"
#include "platform/lumoscandialog.h"
#include "view/spicview.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>

#include <functional>
#include <memory>

namespace {

using Host = ImageWindowHost;


// Calls act on the modal dialog of type T once it shows, then closes it with result. Modal
// runs block the test, so this polls from the event loop they run.
template <typename T> class WhenShown
{
public:
    WhenShown(std::function<void(T&)> act, int result = QDialog::Rejected)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this, act, result] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            m_poll.stop();
            ++m_shown;
            act(*dialog);
            dialog->done(result);
        });
        m_poll.start(10);
    }
    int shown() const { return m_shown; }

private:
    QTimer m_poll;
    int m_shown = 0;
};

int pdfPages(const QByteArray& pdf)
{
    return QString::fromLatin1(pdf.constData(), pdf.size())
        .count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)")));
}

// A text string as the PDF writer puts it: UTF-16 with a byte order mark, in parentheses.
QByteArray pdfText(const QString& text)
{
    QByteArray bytes("(\xfe\xff");
    for (const QChar c : text)
        bytes.append(char(c.row())).append(char(c.cell()));
    return bytes + ')';
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Printing, wallpaper, removal and scanning as the image window runs them: the desktop and the
// programs it starts are recorded, pages go to a PDF file, scans come from SANE's test scanner.
class TestImageWindowDesktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void wallpaper_data();
    void wallpaper();
    void removal_data();
    void removal();
    void printing_data();
    void printing();
    void scanning_data();
    void scanning();
    void scanDialogIsKept_data();
    void scanDialogIsKept();

private:
    ImagesCentralWidget* window() const { return m_host->window; }
    // "" for no picture, "new" for one made in memory, else a file of the sandbox.
    SPicView* show(const QString& picture);
    QList<SPicView*> views() const;
    void configureSane(const QString& backends);

    QTemporaryDir m_dir;
    QTemporaryDir m_saneConfig;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<Host> m_host;
};

void TestImageWindowDesktop::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_saneConfig.isValid());
    qputenv("SANE_CONFIG_DIR", QFile::encodeName(m_saneConfig.path()));
    QVERIFY(
        PictureFixture::writePicture(m_dir.filePath(QStringLiteral("the sea.png")), QSize(40, 30)));
    QVERIFY(
        PictureFixture::writePicture(m_dir.filePath(QStringLiteral("wide.png")), QSize(56, 20)));
}

void TestImageWindowDesktop::init()
{
    Settings::instance()->store()->clear();
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_host = std::make_unique<Host>();
    QVERIFY(QTest::qWaitForWindowExposed(&m_host->mainWindow));
}

void TestImageWindowDesktop::cleanup()
{
    m_host.reset();
    m_prompter.reset();
}

SPicView* TestImageWindowDesktop::show(const QString& picture)
{
    if (picture.isEmpty())
        return nullptr;
    if (picture == QLatin1String("new")) {
        QImage image(24, 16, QImage::Format_RGB32);
        image.fill(Qt::yellow);
        window()->newPVFromImage(image);
    } else {
        window()->newPVFromFile(m_dir.filePath(picture));
    }
    return window()->currentView();
}

QList<SPicView*> TestImageWindowDesktop::views() const
{
    QList<SPicView*> result;
    for (QMdiSubWindow* sub : window()->workspace()->subWindowList(QMdiArea::CreationOrder))
        result << qobject_cast<SPicView*>(sub->widget());
    return result;
}

void TestImageWindowDesktop::configureSane(const QString& backends)
{
    QFile dll(m_saneConfig.filePath(QStringLiteral("dll.conf")));
    QVERIFY(dll.open(QIODevice::WriteOnly | QIODevice::Truncate));
    dll.write(backends.toUtf8() + '\n');
    // Small pages scan quickly.
    QFile test(m_saneConfig.filePath(QStringLiteral("test.conf")));
    QVERIFY(test.open(QIODevice::WriteOnly | QIODevice::Truncate));
    test.write("number_of_devices 1\nresolution 25\n");
}

void TestImageWindowDesktop::wallpaper_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<int>("desktop");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments"); // %1 stands for the path
    QTest::addColumn<QString>("windowManagerText");

    QTest::newRow("no picture") << QString() << 5 << QString() << QStringList() << QString();
    QTest::newRow("new picture without a file")
        << "new" << 5 << QString() << QStringList() << QString();
    QTest::newRow("kdesktop: quoted path as one argument")
        << "the sea.png" << 1 << "dbus"
        << QStringList{"kdesktop", "KBackgroundIface", "setWallpaper", "1", "\"%1\"", "6"}
        << QString();
    QTest::newRow("gconf: path as one argument")
        << "the sea.png" << 2 << "gconftool-2"
        << QStringList{"-t", "string", "-s", "/desktop/gnome/background/picture_filename", "%1"}
        << QString();
    QTest::newRow("own window manager")
        << "the sea.png" << 5 << QString() << QStringList() << "LUMOWM_UPDATE_VAL WallPaper %1\n";
}

void TestImageWindowDesktop::wallpaper()
{
    QFETCH(QString, picture);
    QFETCH(int, desktop);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, windowManagerText);
    RecordingLauncher launcher;
    FixedDesktop link(desktop);
    show(picture);
    const QString path = m_dir.filePath(picture);
    for (QString& argument : arguments)
        argument.replace(QLatin1String("%1"), path);

    window()->changeWallpaper();

    if (program.isEmpty()) {
        QVERIFY(launcher.starts().isEmpty());
    } else {
        QCOMPARE(launcher.starts().size(), 1);
        QCOMPARE(launcher.starts().first().program, program);
        QCOMPARE(launcher.starts().first().arguments, arguments);
        // The command has finished when the slot returns.
        QVERIFY(launcher.starts().first().waited);
    }
    QCOMPARE(link.sent(), windowManagerText.isEmpty() ? QStringList()
                                                      : QStringList{windowManagerText.arg(path)});
}

void TestImageWindowDesktop::removal_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("started");
    QTest::newRow("no picture") << QString() << false;
    QTest::newRow("new picture without a file") << "new" << false;
    QTest::newRow("picture with a file") << "the sea.png" << true;
}

void TestImageWindowDesktop::removal()
{
    QFETCH(QString, picture);
    QFETCH(bool, started);
    RecordingLauncher launcher;
    SPicView* view = show(picture);

    window()->removeImageFile();

    if (!started) {
        QVERIFY(launcher.starts().isEmpty());
        return;
    }
    QCOMPARE(launcher.starts().size(), 1);
    const RecordingLauncher::Start& start = launcher.starts().first();
    QCOMPARE(QFileInfo(start.program).fileName(), QStringLiteral("lumo-fops"));
    const QString path = m_dir.filePath(picture);
    QCOMPARE(start.arguments, (QStringList{QStringLiteral("--remove"), path}));
    QCOMPARE(start.workingDirectory, m_dir.path());
    QVERIFY(!start.waited);
    // The tool asks and removes; the picture stays until the user closes it.
    QCOMPARE(views(), QList<SPicView*>{view});
    QCOMPARE(view->filePath(), path);
}

void TestImageWindowDesktop::printing_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("pages");
    // The current picture is 56 x 20 pixels.
    QTest::newRow("no picture: no dialog") << false << 0 << 0;
    QTest::newRow("scaled to the page") << true << 1 << 1;
    QTest::newRow("set size, two pages wide") << true << 3 << 2;
}

void TestImageWindowDesktop::printing()
{
    QFETCH(bool, picture);
    QFETCH(int, method);
    QFETCH(int, pages);
    SPicView* view = nullptr;
    if (picture) {
        show(QStringLiteral("the sea.png"));
        view = show(QStringLiteral("wide.png"));
        QTRY_COMPARE(view->fileModel()->rowCount(), 2);
    }
    const QString pdf = m_dir.filePath(QStringLiteral("print.pdf"));
    QFile::remove(pdf);
    QList<int> offered;
    WhenShown<QPrintDialog> user(
        [&](QPrintDialog& dialog) {
            auto* tab = dialog.findChild<PrintMethodWidget*>();
            QVERIFY(tab);
            offered << tab->printMethod();
            tab->setPrintMethod(method);
            if (method == PrintMethodWidget::PrintSize) {
                tab->findChild<QCheckBox*>(QStringLiteral("propBox"))->setChecked(false);
                tab->findChild<QSpinBox*>(QStringLiteral("widthBox"))->setValue(400);
                tab->findChild<QSpinBox*>(QStringLiteral("heightBox"))->setValue(100);
            }
            // The picture moves on while the dialog is open, as in a slideshow.
            view->previous();
            QCOMPARE(view->fileName(), QStringLiteral("the sea.png"));
            // Closed with done(), not accept(), which would take the printer back from the
            // dialog's own fields.
            dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog.printer()->setOutputFileName(pdf);
            dialog.printer()->setPageSize(QPageSize(QPageSize::A4));
        },
        QDialog::Accepted);

    window()->printDlg();

    QCOMPARE(user.shown(), picture ? 1 : 0);
    if (!picture) {
        QVERIFY(!QFile::exists(pdf));
        return;
    }
    QCOMPARE(offered, QList<int>{PrintMethodWidget::ScaleToPage});
    const QByteArray printed = readAll(pdf);
    QCOMPARE(pdfPages(printed), pages);
    // The document and its pages are the picture shown when printing began.
    QVERIFY(printed.contains("/Title " + pdfText(QStringLiteral("wide.png"))));
    QVERIFY(printed.contains("/Height 20"));
    QVERIFY(!printed.contains("/Height 30"));
    // Printing is no edit.
    QVERIFY(!window()->undoAction()->isEnabled());

    // The next print dialog offers the method used last.
    WhenShown<QPrintDialog> again([&](QPrintDialog& dialog) {
        offered << dialog.findChild<PrintMethodWidget*>()->printMethod();
    });
    window()->printDlg();
    QCOMPARE(offered, (QList<int>{PrintMethodWidget::ScaleToPage, method}));
}

void TestImageWindowDesktop::scanning_data()
{
    QTest::addColumn<QString>("backends");
    QTest::addColumn<bool>("shown");
    QTest::newRow("test scanner: the page opens unsaved") << "test" << true;
    QTest::newRow("no scanner: no dialog") << "" << false;
}

void TestImageWindowDesktop::scanning()
{
    QFETCH(QString, backends);
    QFETCH(bool, shown);
    configureSane(backends);
    WhenShown<LumoScanDialog> user([](LumoScanDialog& dialog) {
        auto* scanButton = dialog.findChild<QPushButton*>(QStringLiteral("scanButton"));
        QTRY_VERIFY_WITH_TIMEOUT(scanButton->isEnabled(), 20000);
        scanButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isScanning(), 60000);
    });

    window()->scanSlot();

    QCOMPARE(user.shown(), shown ? 1 : 0);
    auto* dialog = window()->findChild<LumoScanDialog*>();
    QVERIFY(dialog);
    QVERIFY(!dialog->isVisible());
    const QList<SPicView*> pictures = views();
    if (!shown) {
        QVERIFY(pictures.isEmpty());
        return;
    }
    QCOMPARE(pictures.size(), 1);
    SPicView* scanned = pictures.first();
    QVERIFY(scanned->filePath().isEmpty());
    QVERIFY(!scanned->image().isNull());
    QCOMPARE(window()->currentView(), scanned);

    // Closing it unsaved asks first; No keeps it.
    m_prompter->answer(QMessageBox::No);
    QVERIFY(!scanned->parentWidget()->close());
    QCOMPARE(m_prompter->asked().size(), 1);
    QCOMPARE(m_prompter->asked().first().title, QStringLiteral("lumo-image - Close image?"));
    QCOMPARE(views().size(), 1);
}

void TestImageWindowDesktop::scanDialogIsKept_data()
{
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<QSize>("opened");
    // The offscreen screen is 800 x 600.
    QTest::newRow("size stored before") << QSize(610, 470) << QSize(610, 470);
    QTest::newRow("never stored: fits the screen") << QSize() << QSize(800, 600);
}

void TestImageWindowDesktop::scanDialogIsKept()
{
    QFETCH(QSize, stored);
    QFETCH(QSize, opened);
    configureSane(QStringLiteral("test"));
    if (stored.isValid())
        Settings::instance()->scanDialog()->setSize(stored);
    const QSize userSize(520, 410);
    const QPoint userPos(33, 44);
    QPointer<LumoScanDialog> first;
    QSize firstSize;
    WhenShown<LumoScanDialog> run1([&](LumoScanDialog& dialog) {
        first = &dialog;
        firstSize = dialog.size();
        dialog.resize(userSize);
        dialog.move(userPos);
    });
    window()->scanSlot();
    QCOMPARE(run1.shown(), 1);
    QCOMPARE(firstSize, opened);
    QVERIFY(first->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    LumoScanDialog* second = nullptr;
    QRect secondGeometry;
    WhenShown<LumoScanDialog> run2([&](LumoScanDialog& dialog) {
        second = &dialog;
        secondGeometry = QRect(dialog.pos(), dialog.size());
    });
    window()->scanSlot();
    QCOMPARE(run2.shown(), 1);
    QCOMPARE(second, first.data());
    QCOMPARE(secondGeometry, QRect(userPos, userSize));

    m_host.reset();
    QCOMPARE(Settings::instance()->store()->value(QStringLiteral("ScanDialog/Size")).toSize(),
             userSize);
}

LUMO_TEST_MAIN(TestImageWindowDesktop)
#include "tst_imagewindowdesktop.moc"
