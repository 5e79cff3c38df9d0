#include "support/lumotest.h"
#include "support/scriptedprompter.h"

#include "imagewindow/imageprinter.h"
#include "imagewindow/printlayout.h"
#include "imagewindow/printmethodwidget.h"

#include <QCheckBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QSpinBox>

namespace {

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

// The print dialog's method tab, the page layout, and what lands on paper.
class TestImagePrinter : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_pdf = m_dir.filePath(QStringLiteral("out.pdf"));
        QFile::remove(m_pdf);
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(m_pdf);
        m_printer->setPageSize(QPageSize(QPageSize::A4));
        m_printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
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
        ScriptedPrompter prompter;
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
        QCOMPARE(prompter.asked().size(), image.isNull() ? 1 : 0);
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
    std::unique_ptr<QPrinter> m_printer;
    QString m_pdf;
};

LUMO_TEST_MAIN(TestImagePrinter)
#include "tst_imageprinter.moc"
