#include "support/fixeddesktop.h"
#include "support/imagewindowhost.h"
#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/recordinglauncher.h"
#include "support/scriptedprompter.h"

#include "imagewindow/imagewindowactions.h"
#include "imagewindow/sworkspace.h"
#include "platformwidgets/lumoscandialog.h"
#include "settings/settings.h"
#include "view/spicview.h"

#include <QAction>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {

// Runs start, acts on the modal dialog of type T once it shows and closes it with result;
// answers how often one showed. Modal runs block the test, so this polls from their event loop.
template <typename T>
int whenShown(const std::function<void()>& start, const std::function<void(T&)>& act,
              int result = QDialog::Rejected)
{
    QTimer poll;
    int shown = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            poll.stop();
            ++shown;
            act(*dialog);
            dialog->done(result);
        }
    });
    poll.start(10);
    start();
    return shown;
}

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
        QVERIFY(lumotest::writePicture(m_dir.filePath("the sea.png"), QSize(40, 30)));
        QVERIFY(lumotest::writePicture(m_dir.filePath("wide.png"), QSize(56, 20)));
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
        QStringList started;
        for (const RecordingLauncher::Start& start : launcher.starts())
            started << QFileInfo(start.program).fileName() << start.arguments
                    << start.workingDirectory << (start.waited ? "waited" : "detached");
        const QStringList removal{"lumo-fops", "--remove", path, m_dir.path(), "detached"};
        QCOMPARE(started, hasFile ? removal : QStringList());
        QCOMPARE(pictures(), picture.isEmpty() ? 0 : 1);
        QVERIFY(!hasFile || view->filePath() == path);
    }

    void printing()
    {
        const QString pdf = m_dir.filePath(QStringLiteral("print.pdf"));
        const auto print = [this] { window()->printDlg(); };
        // Closed with done(), not accept(), which would take the printer back from the dialog's
        // own fields.
        const auto printTo = [&](QPrintDialog& dialog) {
            dialog.printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog.printer()->setOutputFileName(pdf);
            dialog.printer()->setPageSize(QPageSize(QPageSize::A4));
        };
        QCOMPARE(whenShown<QPrintDialog>(print, printTo, QDialog::Accepted), 0);
        QVERIFY(!QFile::exists(pdf));

        show(QStringLiteral("the sea.png"));
        SPicView* view = show(QStringLiteral("wide.png")); // 56 x 20
        QTRY_COMPARE(view->fileModel()->rowCount(), 2);
        const auto user = [&](QPrintDialog& dialog) {
            // The picture moves on while the dialog is open, as in a slideshow.
            view->previous();
            QCOMPARE(view->fileName(), QStringLiteral("the sea.png"));
            printTo(dialog);
        };
        QCOMPARE(whenShown<QPrintDialog>(print, user, QDialog::Accepted), 1);
        const QByteArray printed = lumotest::contents(pdf);
        // The document and its pages are the picture shown when printing began.
        QVERIFY(printed.contains("/Title " + pdfText(QStringLiteral("wide.png"))));
        QVERIFY(printed.contains("/Height 20") && !printed.contains("/Height 30"));
        QAction* undo = window()->windowActions()->edit(ImageWindowActions::Edit::Undo);
        QVERIFY2(!undo->isEnabled(), "printing is no edit");
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
        QVERIFY(writeSaneConfig("dll.conf", backends.toUtf8() + '\n'));
        // Small pages scan quickly.
        QVERIFY(writeSaneConfig("test.conf", "number_of_devices 1\nresolution 25\n"));
        const auto scan = [this] { window()->scanSlot(); };
        const auto user = [&](LumoScanDialog& dialog) {
            auto* scanButton = dialog.findChild<QPushButton*>(QStringLiteral("scanButton"));
            QTRY_VERIFY_WITH_TIMEOUT(scanButton->isEnabled(), 20000);
            scanButton->click();
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.isScanning(), 60000);
        };
        QCOMPARE(whenShown<LumoScanDialog>(scan, user), shown ? 1 : 0);
        QCOMPARE(pictures(), shown ? 1 : 0);
        if (!shown)
            return;
        SPicView* scanned = window()->currentView();
        QVERIFY(scanned->filePath().isEmpty() && !scanned->image().isNull());
        QVERIFY2(scanned->isModified(), "unsaved: closing it asks first");

        // Scanning again shows the same dialog, with the scanner it has found.
        QPointer<LumoScanDialog> first = window()->findChild<LumoScanDialog*>();
        const auto again = [&](LumoScanDialog& dialog) { QCOMPARE(&dialog, first.data()); };
        QCOMPARE(whenShown<LumoScanDialog>(scan, again), 1);
    }

private:
    ImagesCentralWidget* window() const { return m_host->window; }
    // "" for no picture, "new" for one made in memory, else a file of the sandbox.
    SPicView* show(const QString& picture)
    {
        if (picture.isEmpty())
            return nullptr;
        if (picture == QLatin1String("new"))
            window()->newPVFromImage(lumotest::rampImage(QSize(24, 16)));
        else
            window()->newPVFromFile(m_dir.filePath(picture));
        return window()->currentView();
    }

    int pictures() const { return window()->workspace()->subWindowList().size(); }

    bool writeSaneConfig(const char* name, const QByteArray& text)
    {
        QFile file(m_saneConfig.filePath(QLatin1String(name)));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) > 0;
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_saneConfig;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ImageWindowHost> m_host;
};

LUMO_TEST_MAIN(TestImageWindowDesktop)
#include "tst_imagewindowdesktop.moc"
