#include "support/fixeddesktop.h"
#include "support/imagewindowhost.h"
#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/recordinglauncher.h"
#include "support/scriptedprompter.h"

#include "app/settings.h"
#include "imagewindow/printmethodwidget.h"
#include "imagewindow/sworkspace.h"
#include "platform/lumoscandialog.h"
#include "view/spicview.h"

#include <QAction>
#include <QCheckBox>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>

namespace {

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

// A text string as the PDF writer puts it: UTF-16 with a byte order mark, in parentheses.
QByteArray pdfText(const QString& text)
{
    QByteArray bytes("(\xfe\xff");
    for (const QChar c : text)
        bytes.append(char(c.row())).append(char(c.cell()));
    return bytes + ')';
}

} // namespace

// Printing, wallpaper, removal and scanning as the image window runs them: the desktop and the
// programs it starts are recorded, pages go to a PDF file, scans come from SANE's test scanner.
class TestImageWindowDesktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(m_saneConfig.path()));
        QVERIFY(PictureFixture::writePicture(m_dir.filePath("the sea.png"), QSize(40, 30)));
        QVERIFY(PictureFixture::writePicture(m_dir.filePath("wide.png"), QSize(56, 20)));
    }

    void init()
    {
        Settings::instance()->store()->clear();
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_host = std::make_unique<ImageWindowHost>();
        QVERIFY(QTest::qWaitForWindowExposed(&m_host->mainWindow));
    }

    void cleanup()
    {
        m_host.reset();
        m_prompter.reset();
    }

    void wallpaperAndRemoval_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::newRow("no picture") << QString();
        QTest::newRow("new picture without a file") << "new";
        QTest::newRow("picture with a file, a blank in its name") << "the sea.png";
    }

    // Both go to the desktop through its seams; the picture stays open after removal, as the tool
    // asks and removes on its own.
    void wallpaperAndRemoval()
    {
        QFETCH(QString, picture);
        RecordingLauncher launcher;
        FixedDesktop link(5);
        SPicView* view = show(picture);
        const bool hasFile = !picture.isEmpty() && picture != QLatin1String("new");
        const QString path = m_dir.filePath(picture);

        window()->changeWallpaper();
        QCOMPARE(link.sent(), hasFile ? QStringList{"LUMOWM_UPDATE_VAL WallPaper " + path + "\n"}
                                      : QStringList());
        window()->removeImageFile();
        QCOMPARE(launcher.starts().size(), hasFile ? 1 : 0);
        if (!hasFile)
            return;
        const RecordingLauncher::Start& start = launcher.starts().first();
        QCOMPARE(QFileInfo(start.program).fileName(), QStringLiteral("lumo-fops"));
        QCOMPARE(start.arguments, (QStringList{QStringLiteral("--remove"), path}));
        QCOMPARE(start.workingDirectory, m_dir.path());
        QVERIFY(!start.waited);
        QCOMPARE(views(), QList<SPicView*>{view});
        QCOMPARE(view->filePath(), path);
    }

    void printing()
    {
        const QString pdf = m_dir.filePath(QStringLiteral("print.pdf"));
        QList<int> offered;
        // Closed with done(), not accept(), which would take the printer back from the dialog's
        // own fields.
        const auto printTo = [&](QPrintDialog& dialog) {
            dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog.printer()->setOutputFileName(pdf);
            dialog.printer()->setPageSize(QPageSize(QPageSize::A4));
        };
        {
            WhenShown<QPrintDialog> noPicture(printTo, QDialog::Accepted);
            window()->printDlg();
            QCOMPARE(noPicture.shown(), 0);
            QVERIFY(!QFile::exists(pdf));
        }

        show(QStringLiteral("the sea.png"));
        SPicView* view = show(QStringLiteral("wide.png")); // 56 x 20
        QTRY_COMPARE(view->fileModel()->rowCount(), 2);
        WhenShown<QPrintDialog> user(
            [&](QPrintDialog& dialog) {
                auto* tab = dialog.findChild<PrintMethodWidget*>();
                QVERIFY(tab);
                offered << tab->printMethod();
                tab->setPrintMethod(PrintMethodWidget::PrintSize);
                tab->findChild<QCheckBox*>(QStringLiteral("propBox"))->setChecked(false);
                tab->findChild<QSpinBox*>(QStringLiteral("widthBox"))->setValue(400);
                tab->findChild<QSpinBox*>(QStringLiteral("heightBox"))->setValue(100);
                // The picture moves on while the dialog is open, as in a slideshow.
                view->previous();
                QCOMPARE(view->fileName(), QStringLiteral("the sea.png"));
                printTo(dialog);
            },
            QDialog::Accepted);
        window()->printDlg();
        QCOMPARE(user.shown(), 1);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray printed = file.readAll();
        // The document and its pages are the picture shown when printing began.
        QVERIFY(printed.contains("/Title " + pdfText(QStringLiteral("wide.png"))));
        QVERIFY(printed.contains("/Height 20"));
        QVERIFY(!printed.contains("/Height 30"));
        QVERIFY2(!window()->undoAction()->isEnabled(), "printing is no edit");

        WhenShown<QPrintDialog> again([&](QPrintDialog& dialog) {
            offered << dialog.findChild<PrintMethodWidget*>()->printMethod();
        });
        window()->printDlg();
        QCOMPARE(offered,
                 (QList<int>{PrintMethodWidget::ScaleToPage, PrintMethodWidget::PrintSize}));
    }

    void scanning_data()
    {
        QTest::addColumn<QString>("backends");
        QTest::addColumn<bool>("shown");
        QTest::newRow("test scanner: the page opens unsaved, the dialog is kept") << "test" << true;
        QTest::newRow("no scanner: no dialog") << "" << false;
    }

    void scanning()
    {
        QFETCH(QString, backends);
        QFETCH(bool, shown);
        configureSane(backends);
        Settings::instance()->scanDialog()->setSize(QSize(610, 470));
        const QRect userGeometry(33, 44, 520, 410);
        QSize opened;
        WhenShown<LumoScanDialog> user([&](LumoScanDialog& dialog) {
            opened = dialog.size();
            auto* scanButton = dialog.findChild<QPushButton*>(QStringLiteral("scanButton"));
            QTRY_VERIFY_WITH_TIMEOUT(scanButton->isEnabled(), 20000);
            scanButton->click();
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.isScanning(), 60000);
            dialog.setGeometry(userGeometry);
        });
        window()->scanSlot();
        QCOMPARE(user.shown(), shown ? 1 : 0);
        QCOMPARE(views().size(), shown ? 1 : 0);
        if (!shown)
            return;
        QCOMPARE(opened, QSize(610, 470));
        SPicView* scanned = window()->currentView();
        QVERIFY(scanned->filePath().isEmpty() && !scanned->image().isNull());
        // Closing it unsaved asks first; No keeps it.
        m_prompter->answer(QMessageBox::No);
        QVERIFY(!scanned->parentWidget()->close());
        QCOMPARE(m_prompter->asked().size(), 1);
        QCOMPARE(views().size(), 1);

        // Scanning again shows the same dialog where the user left it; its size outlives the
        // window.
        QPointer<LumoScanDialog> first = window()->findChild<LumoScanDialog*>();
        LumoScanDialog* second = nullptr;
        QRect secondGeometry;
        WhenShown<LumoScanDialog> again([&](LumoScanDialog& dialog) {
            second = &dialog;
            secondGeometry = dialog.geometry();
        });
        window()->scanSlot();
        QCOMPARE(second, first.data());
        QCOMPARE(secondGeometry, userGeometry);
        m_host.reset();
        QCOMPARE(Settings::instance()->store()->value("ScanDialog/Size").toSize(),
                 userGeometry.size());
    }

private:
    ImagesCentralWidget* window() const { return m_host->window; }
    // "" for no picture, "new" for one made in memory, else a file of the sandbox.
    SPicView* show(const QString& picture)
    {
        if (picture.isEmpty())
            return nullptr;
        if (picture == QLatin1String("new"))
            window()->newPVFromImage(PictureFixture::rampImage(QSize(24, 16)));
        else
            window()->newPVFromFile(m_dir.filePath(picture));
        return window()->currentView();
    }

    QList<SPicView*> views() const
    {
        QList<SPicView*> result;
        for (QMdiSubWindow* sub : window()->workspace()->subWindowList(QMdiArea::CreationOrder))
            result << qobject_cast<SPicView*>(sub->widget());
        return result;
    }

    void configureSane(const QString& backends)
    {
        QFile dll(m_saneConfig.filePath(QStringLiteral("dll.conf")));
        QVERIFY(dll.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dll.write(backends.toUtf8() + '\n');
        // Small pages scan quickly.
        QFile test(m_saneConfig.filePath(QStringLiteral("test.conf")));
        QVERIFY(test.open(QIODevice::WriteOnly | QIODevice::Truncate));
        test.write("number_of_devices 1\nresolution 25\n");
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_saneConfig;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ImageWindowHost> m_host;
};

LUMO_TEST_MAIN(TestImageWindowDesktop)
#include "tst_imagewindowdesktop.moc"
