#include "support/fixeddesktop.h"
#include "support/imagewindowhost.h"
#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/recordinglauncher.h"
#include "support/scriptedprompter.h"

#include "imagewindow/imageprinter.h"
#include "imagewindow/imagewindowactions.h"
#include "imagewindow/printlayout.h"
#include "imagewindow/printmethodwidget.h"
#include "imagewindow/sworkspace.h"
#include "platformwidgets/lumoscandialog.h"
#include "settings/settings.h"
#include "view/spicview.h"

#include <QAction>
#include <QCheckBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>

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

// A stand-in for the user: given the open dialog's method tab, answers the dialog.
using User = std::function<int(PrintMethodWidget&)>;

template <typename T> T* part(QWidget& widget, const char* name)
{
    return widget.findChild<T*>(QLatin1String(name));
}

QSize boxes(PrintMethodWidget& tab)
{
    return QSize(part<QSpinBox>(tab, "widthBox")->value(),
                 part<QSpinBox>(tab, "heightBox")->value());
}

int pdfPages(const QString& path)
{
    const QByteArray bytes = lumotest::contents(path);
    return QString::fromLatin1(bytes.constData(), bytes.size())
        .count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)")));
}

} // namespace

// Printing, wallpaper, removal and scanning as the image window runs them: the desktop and the
// programs it starts are recorded, pages go to a PDF file, scans come from SANE's test scanner.
// Below the window, the print dialog's method tab, the page layout and what lands on paper.
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
        m_pdf = m_dir.filePath(QStringLiteral("out.pdf"));
        QFile::remove(m_pdf);
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(m_pdf);
        m_printer->setPageSize(QPageSize(QPageSize::A4));
        m_printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
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

    // The tab opens with the picture's size on screen in millimetres; a width of 100 typed
    // changes the height only with the proportions kept. A cancelled dialog keeps the method.
    void tab_data()
    {
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<int>("method"); // chosen in the tab; -1: nothing chosen or typed
        QTest::addColumn<bool>("keep");
        QTest::addColumn<int>("checked");
        QTest::addColumn<QSize>("fields"); // the size fields, in millimetres
        const QSize picture(960, 480);
        QTest::newRow("960 x 480 at 96 dpi") << picture << -1 << false << 1 << QSize(254, 127);
        QTest::newRow("one pixel wide still gets a millimetre")
            << QSize(1, 96) << -1 << false << 1 << QSize(1, 25);
        QTest::newRow("no image: no dialog, the user is told")
            << QSize() << -1 << false << 1 << QSize();
        QTest::newRow("set size, width 100 in proportion")
            << picture << 3 << true << 3 << QSize(100, 50);
        QTest::newRow("set size, width 100 alone") << picture << 3 << false << 3 << QSize(100, 127);
        QTest::newRow("out of range: original size") << picture << 0 << true << 2 << QSize(100, 50);
    }

    void tab()
    {
        QFETCH(QSize, pixels);
        QFETCH(int, method);
        QFETCH(bool, keep);
        QFETCH(int, checked);
        QFETCH(QSize, fields);
        QImage image(pixels, QImage::Format_RGB32); // null without a size
        image.fill(Qt::white);
        int lastMethod = PrintMethodWidget::ScaleToPage;
        int shownMethod = lastMethod;
        QSize shown, printed;
        QVERIFY(!print(image, lastMethod, [&](PrintMethodWidget& tab) {
            if (method != -1) {
                tab.setPrintMethod(method);
                shownMethod = tab.printMethod();
                part<QCheckBox>(tab, "propBox")->setChecked(keep);
                part<QSpinBox>(tab, "widthBox")->setValue(100);
            }
            shown = boxes(tab);
            printed = QSize(tab.printWidth(), tab.printHeight());
            return int(QDialog::Rejected);
        }));
        QCOMPARE(shownMethod, checked);
        QCOMPARE(shown, fields);
        QCOMPARE(printed, fields);
        QCOMPARE(lastMethod, int(PrintMethodWidget::ScaleToPage));
        QCOMPARE(m_prompter->asked().size(), image.isNull() ? 1 : 0);
    }

    void pages_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<QSize>("millimetres");
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("pages");
        // A4 is 210 x 297 mm; the picture is 960 x 480 pixels, 254 x 127 mm on screen.
        QTest::newRow("scaled to the page") << 1 << QSize() << 1 << 1;
        QTest::newRow("screen size needs two columns") << 2 << QSize() << 1 << 2;
        QTest::newRow("3 columns by 2 rows, every copy printed") << 3 << QSize(500, 400) << 2 << 12;
    }

    void pages()
    {
        QFETCH(int, method);
        QFETCH(QSize, millimetres);
        QFETCH(int, copies);
        QFETCH(int, pages);
        m_printer->setCopyCount(copies);
        QImage image(960, 480, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        int lastMethod = 1;
        QVERIFY(print(image, lastMethod, [&](PrintMethodWidget& tab) {
            tab.setPrintMethod(method);
            if (method == PrintMethodWidget::PrintSize) {
                part<QCheckBox>(tab, "propBox")->setChecked(false);
                part<QSpinBox>(tab, "widthBox")->setValue(millimetres.width());
                part<QSpinBox>(tab, "heightBox")->setValue(millimetres.height());
            }
            return int(QDialog::Accepted);
        }));
        QCOMPARE(lastMethod, method);
        QCOMPARE(pdfPages(m_pdf), pages);
    }

    void tiles_data()
    {
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<QSizeF>("page");
        QTest::addColumn<QList<QRectF>>("sources");
        const QSizeF page(120, 150);
        QTest::newRow("row by row, remainders in the last column and row")
            << QSizeF(300, 200) << page
            << QList<QRectF>{{0, 0, 120, 150},  {120, 0, 120, 150},  {240, 0, 60, 150},
                             {0, 150, 120, 50}, {120, 150, 120, 50}, {240, 150, 60, 50}};
        QTest::newRow("an exact multiple has no empty remainder")
            << QSizeF(240, 150) << page << QList<QRectF>{{0, 0, 120, 150}, {120, 0, 120, 150}};
        QTest::newRow("empty page prints nothing")
            << QSizeF(10, 10) << QSizeF(0, 150) << QList<QRectF>();
    }

    // The picture printed at its own size: each tile lands at the page's corner.
    void tiles()
    {
        QFETCH(QSizeF, size);
        QFETCH(QSizeF, page);
        QFETCH(QList<QRectF>, sources);
        const PrintLayout::TileGrid grid(size, size, page);
        QList<QRectF> got;
        for (int row = 0; row < grid.rows(); ++row)
            for (int column = 0; column < grid.columns(); ++column) {
                const PrintLayout::Tile tile = grid.tile(row, column);
                got << tile.source;
                QCOMPARE(tile.target, QRectF(QPointF(0, 0), tile.source.size()));
            }
        QCOMPARE(got, sources);
        QCOMPARE(grid.count(), qint64(sources.size()));
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

    // Prints image with user answering the dialog; pages go to m_pdf.
    bool print(const QImage& image, int& method, const User& user)
    {
        ImagePrinter printer(nullptr);
        printer.setPrinter(m_printer.get());
        printer.setDialogRunner([&user](QPrintDialog& dialog) {
            auto* tab = dialog.findChild<PrintMethodWidget*>();
            return tab ? user(*tab) : int(QDialog::Rejected);
        });
        return printer.print(image, QStringLiteral("photo.png"), method);
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_saneConfig;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ImageWindowHost> m_host;
    std::unique_ptr<QPrinter> m_printer;
    QString m_pdf;
};

LUMO_TEST_MAIN(TestImageWindowDesktop)
#include "tst_imagewindowdesktop.moc"
