#include "support/lumotest.h"
#include "support/scriptedprompter.h"

#include "imagewindow/imageprinter.h"
#include "imagewindow/printlayout.h"
#include "imagewindow/printmethodwidget.h"

#include <QCheckBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>

#include <memory>

namespace {

// A stand-in for the user: given the open dialog and its method tab, answers the dialog.
using User = std::function<int(QPrintDialog&, PrintMethodWidget&)>;

PrintMethodWidget& methodTab(QPrintDialog& dialog)
{
    auto* tab = dialog.findChild<PrintMethodWidget*>();
    if (!tab)
        qFatal("the print dialog has no method tab");
    return *tab;
}

template <typename T> T* part(QWidget& widget, const char* name)
{
    return widget.findChild<T*>(QLatin1String(name));
}

void chooseSize(PrintMethodWidget& tab, int width, int height)
{
    part<QRadioButton>(tab, "sizeButton")->setChecked(true);
    part<QCheckBox>(tab, "propBox")->setChecked(false);
    part<QSpinBox>(tab, "widthBox")->setValue(width);
    part<QSpinBox>(tab, "heightBox")->setValue(height);
}

int pdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    const QString text = QString::fromLatin1(bytes.constData(), bytes.size());
    return text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)")));
}

} // namespace

// The print dialog's method tab, the remembered method, and what lands on paper.
class TestImagePrinter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void tabOpensWithScreenSize_data();
    void tabOpensWithScreenSize();
    void proportions_data();
    void proportions();
    void methodChoice_data();
    void methodChoice();
    void lastMethodIsRemembered();
    void nullImageIsRefused();
    void pages_data();
    void pages();
    void tiles_data();
    void tiles();

private:
    // Runs a print of image with user answering the dialog; pages go to m_pdf.
    bool print(const QImage& image, int& method, const User& user);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QPrinter> m_printer;
    QString m_pdf;
};

void TestImagePrinter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_pdf = m_dir->filePath(QStringLiteral("out.pdf"));
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setOutputFileName(m_pdf);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool TestImagePrinter::print(const QImage& image, int& method, const User& user)
{
    ImagePrinter printer(nullptr);
    printer.setPrinter(m_printer.get());
    printer.setDialogRunner(
        [&user](QPrintDialog& dialog) { return user(dialog, methodTab(dialog)); });
    return printer.print(image, QStringLiteral("photo.png"), method);
}

void TestImagePrinter::tabOpensWithScreenSize_data()
{
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<QSize>("millimetres");
    QTest::newRow("960 x 480 at 96 dpi") << QSize(960, 480) << QSize(254, 127);
    QTest::newRow("one pixel wide still gets a millimetre") << QSize(1, 96) << QSize(1, 25);
}

void TestImagePrinter::tabOpensWithScreenSize()
{
    QFETCH(QSize, pixels);
    QFETCH(QSize, millimetres);
    QCOMPARE(PrintLayout::screenDpi(), 96);
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    int method = 1;
    QSize shown;
    const bool printed = print(image, method, [&shown](QPrintDialog&, PrintMethodWidget& tab) {
        shown = QSize(part<QSpinBox>(tab, "widthBox")->value(),
                      part<QSpinBox>(tab, "heightBox")->value());
        return int(QDialog::Rejected);
    });
    QVERIFY(!printed);
    QCOMPARE(shown, millimetres);
}

void TestImagePrinter::proportions_data()
{
    QTest::addColumn<bool>("keep");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("value");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("width 100 in proportion") << true << "widthBox" << 100 << QSize(100, 50);
    QTest::newRow("width 100 alone") << false << "widthBox" << 100 << QSize(100, 127);
    QTest::newRow("height 50 in proportion") << true << "heightBox" << 50 << QSize(100, 50);
    QTest::newRow("width beyond the range is capped")
        << true << "heightBox" << 999999 << QSize(999999, 999999);
}

void TestImagePrinter::proportions()
{
    QFETCH(bool, keep);
    QFETCH(QString, box);
    QFETCH(int, value);
    QFETCH(QSize, expected);
    PrintMethodWidget tab(254, 127);
    tab.findChild<QCheckBox*>(QStringLiteral("propBox"))->setChecked(keep);
    tab.findChild<QSpinBox*>(box)->setValue(value);
    QCOMPARE(QSize(tab.printWidth(), tab.printHeight()), expected);
    QCOMPARE(
        QSize(part<QSpinBox>(tab, "widthBox")->value(), part<QSpinBox>(tab, "heightBox")->value()),
        expected);
}

void TestImagePrinter::methodChoice_data()
{
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("checked");
    QTest::newRow("scale to page") << 1 << 1;
    QTest::newRow("set print size") << 3 << 3;
    QTest::newRow("zero falls back to original size") << 0 << 2;
    QTest::newRow("negative falls back to original size") << -1 << 2;
}

void TestImagePrinter::methodChoice()
{
    QFETCH(int, asked);
    QFETCH(int, checked);
    PrintMethodWidget tab(254, 127);
    auto* sizePanel = part<QWidget>(tab, "printSizeOptsWidget");
    QVERIFY(!sizePanel->isEnabled());
    tab.setPrintMethod(asked);
    QCOMPARE(tab.printMethod(), checked);
    QCOMPARE(sizePanel->isEnabled(), checked == PrintMethodWidget::PrintSize);
    tab.setPrintMethod(1);
    QVERIFY(!sizePanel->isEnabled());
}

void TestImagePrinter::lastMethodIsRemembered()
{
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(Qt::red);
    int method = 1;
    QList<int> opened;
    const User choose = [&opened](QPrintDialog&, PrintMethodWidget& tab) {
        opened << tab.printMethod();
        chooseSize(tab, 50, 20);
        return int(QDialog::Accepted);
    };
    const User cancel = [&opened](QPrintDialog&, PrintMethodWidget& tab) {
        opened << tab.printMethod();
        tab.setPrintMethod(1);
        return int(QDialog::Rejected);
    };
    QVERIFY(print(image, method, choose));
    QCOMPARE(method, 3);
    QVERIFY(!print(image, method, cancel));
    QCOMPARE(method, 3);
    QVERIFY(!print(image, method, cancel));
    QCOMPARE(opened, (QList<int>{1, 3, 3}));
    QCOMPARE(m_printer->docName(), QStringLiteral("photo.png"));
}

void TestImagePrinter::nullImageIsRefused()
{
    ScriptedPrompter prompter;
    int method = 2;
    bool asked = false;
    QVERIFY(!print(QImage(), method, [&asked](QPrintDialog&, PrintMethodWidget&) {
        asked = true;
        return int(QDialog::Accepted);
    }));
    QVERIFY(!asked);
    QCOMPARE(prompter.asked().size(), 1);
    QCOMPARE(prompter.asked().first().icon, QMessageBox::Critical);
    QCOMPARE(prompter.asked().first().title, QStringLiteral("No image to print"));
    QCOMPARE(prompter.asked().first().text, QStringLiteral("There is no image you can print"));
    QCOMPARE(method, 2);
}

void TestImagePrinter::pages_data()
{
    QTest::addColumn<int>("method");
    QTest::addColumn<QSize>("millimetres");
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("pages");
    // A4 is 210 x 297 mm; the pictures are 960 x 480 pixels, 254 x 127 mm on screen.
    QTest::newRow("scaled to the page") << 1 << QSize() << 1 << 1;
    QTest::newRow("scaled, two copies") << 1 << QSize() << 2 << 2;
    QTest::newRow("screen size needs two columns") << 2 << QSize() << 1 << 2;
    QTest::newRow("small print size") << 3 << QSize(100, 50) << 1 << 1;
    QTest::newRow("3 columns by 2 rows") << 3 << QSize(500, 400) << 1 << 6;
    QTest::newRow("3 by 2, two copies") << 3 << QSize(500, 400) << 2 << 12;
    QTest::newRow("one column by 4 rows") << 3 << QSize(200, 1000) << 1 << 4;
}

void TestImagePrinter::pages()
{
    QFETCH(int, method);
    QFETCH(QSize, millimetres);
    QFETCH(int, copies);
    QFETCH(int, pages);
    m_printer->setCopyCount(copies);
    QImage image(960, 480, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    int lastMethod = 1;
    QVERIFY(print(image, lastMethod, [&](QPrintDialog&, PrintMethodWidget& tab) {
        tab.setPrintMethod(method);
        if (method == PrintMethodWidget::PrintSize)
            chooseSize(tab, millimetres.width(), millimetres.height());
        return int(QDialog::Accepted);
    }));
    QCOMPARE(lastMethod, method);
    QCOMPARE(pdfPages(m_pdf), pages);
}

void TestImagePrinter::tiles_data()
{
    QTest::addColumn<QSizeF>("image");
    QTest::addColumn<QSizeF>("print");
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<QList<QRectF>>("sources");
    QTest::addColumn<QList<QRectF>>("targets");
    const QSizeF page(120, 150);
    QTest::newRow("remainders in the last column and row")
        << QSizeF(300, 200) << QSizeF(300, 200) << page
        << QList<QRectF>{{0, 0, 120, 150},  {120, 0, 120, 150},  {240, 0, 60, 150},
                         {0, 150, 120, 50}, {120, 150, 120, 50}, {240, 150, 60, 50}}
        << QList<QRectF>{{0, 0, 120, 150}, {0, 0, 120, 150}, {0, 0, 60, 150},
                         {0, 0, 120, 50},  {0, 0, 120, 50},  {0, 0, 60, 50}};
    QTest::newRow("image pixels scale to the print size")
        << QSizeF(60, 20) << QSizeF(240, 80) << page
        << QList<QRectF>{{0, 0, 30, 20}, {30, 0, 30, 20}}
        << QList<QRectF>{{0, 0, 120, 80}, {0, 0, 120, 80}};
    QTest::newRow("an exact multiple has no empty remainder")
        << QSizeF(240, 150) << QSizeF(240, 150) << page
        << QList<QRectF>{{0, 0, 120, 150}, {120, 0, 120, 150}}
        << QList<QRectF>{{0, 0, 120, 150}, {0, 0, 120, 150}};
    QTest::newRow("empty page prints nothing")
        << QSizeF(10, 10) << QSizeF(10, 10) << QSizeF(0, 150) << QList<QRectF>() << QList<QRectF>();
}

void TestImagePrinter::tiles()
{
    QFETCH(QSizeF, image);
    QFETCH(QSizeF, print);
    QFETCH(QSizeF, page);
    QFETCH(QList<QRectF>, sources);
    QFETCH(QList<QRectF>, targets);
    const PrintLayout::TileGrid grid(image, print, page);
    QList<QRectF> gotSources;
    QList<QRectF> gotTargets;
    for (int row = 0; row < grid.rows(); ++row) {
        for (int column = 0; column < grid.columns(); ++column) {
            gotSources << grid.tile(row, column).source;
            gotTargets << grid.tile(row, column).target;
        }
    }
    QCOMPARE(gotSources, sources);
    QCOMPARE(gotTargets, targets);
    QCOMPARE(grid.count(), qint64(sources.size()));
}

LUMO_TEST_MAIN(TestImagePrinter)
#include "tst_imageprinter.moc"
