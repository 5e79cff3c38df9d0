#include "imagewindow/imageprinter.h"

#include "imagewindow/printlayout.h"
#include "imagewindow/printmethodwidget.h"
#include "platformwidgets/prompter.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <memory>

ImagePrinter::ImagePrinter(QWidget* parent)
    : m_parent(parent), m_runDialog([](QPrintDialog& dialog) { return dialog.exec(); })
{
}

ImagePrinter::~ImagePrinter() = default;

void ImagePrinter::setPrinter(QPrinter* printer)
{
    m_printer = printer;
}

void ImagePrinter::setDialogRunner(DialogRunner runner)
{
    m_runDialog = std::move(runner);
}

bool ImagePrinter::print(const QImage& image, const QString& documentName, int& lastMethod)
{
    if (image.isNull()) {
        Prompter::critical(m_parent, tr("No image to print"),
                           tr("There is no image you can print"));
        return false;
    }
    const int dpi = PrintLayout::screenDpi();
    const QSize millimetres = PrintLayout::millimetresFromPixels(image.size(), dpi);

    std::unique_ptr<QPrinter> ownPrinter;
    QPrinter* printer = m_printer;
    if (!printer) {
        ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = ownPrinter.get();
    }

    // The dialog owns the tab once it is set; deleting the dialog takes both.
    auto dialog = std::make_unique<QPrintDialog>(printer, m_parent);
    auto* methodTab =
        new PrintMethodWidget(millimetres.width(), millimetres.height(), dialog.get());
    methodTab->setPrintMethod(lastMethod);
    dialog->setOption(QAbstractPrintDialog::PrintToFile);
    dialog->setOption(QAbstractPrintDialog::PrintShowPageSize);
    dialog->setOptionTabs({methodTab});
    prepareDialog(*dialog);
    if (m_runDialog(*dialog) != QDialog::Accepted)
        return false;

    printer->setDocName(documentName);
    lastMethod = methodTab->printMethod();
    printImage(printer, image, lastMethod, QSize(methodTab->printWidth(), methodTab->printHeight()),
               dpi);
    return true;
}

void ImagePrinter::prepareDialog(QPrintDialog& dialog)
{
    // Open the options part at once so the method tab is in view.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        for (QAbstractButton* button : buttons->buttons()) {
            if (button->text().contains(QLatin1String(">>"))) {
                button->click();
                break;
            }
        }
    }
    // Pages in reverse order are not offered.
    if (auto* reverse = dialog.findChild<QCheckBox*>(QStringLiteral("reverse")))
        reverse->hide();
    dialog.resize(dialog.minimumSizeHint());
}

void ImagePrinter::printImage(QPrinter* printer, const QImage& image, int method,
                              const QSize& printMillimetres, int dpi)
{
    // One painter for every copy: ending a painter ends the print job, so a painter per copy
    // would leave only the last copy in a file.
    QPainter painter(printer);
    if (!painter.isActive())
        return;
    const int copies = copiesToDraw(*printer);
    for (int copy = 0; copy < copies; ++copy) {
        switch (method) {
        case PrintMethodWidget::ScaleToPage:
            drawScaledToPage(painter, image);
            break;
        case PrintMethodWidget::OriginalSize:
            drawTiles(painter, printer, image,
                      PrintLayout::printerSizeFromPixels(image.size(), printer->resolution(), dpi));
            break;
        case PrintMethodWidget::PrintSize:
            drawTiles(
                painter, printer, image,
                PrintLayout::printerSizeFromMillimetres(printMillimetres, printer->resolution()));
            break;
        default:
            break;
        }
        if (copy != copies - 1)
            printer->newPage();
    }
}

void ImagePrinter::printImageWithPrinterSize(QPrinter* printer, const QImage& image,
                                             const QSizeF& size)
{
    QPainter painter(printer);
    if (painter.isActive())
        drawTiles(painter, printer, image, size);
}

int ImagePrinter::copiesToDraw(const QPrinter& printer)
{
    return printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
}

void ImagePrinter::drawScaledToPage(QPainter& painter, const QImage& image)
{
    painter.save();
    painter.setViewport(PrintLayout::fittedRect(image.size(), painter.viewport()));
    painter.setWindow(image.rect());
    painter.drawImage(0, 0, image);
    painter.restore();
}

void ImagePrinter::drawTiles(QPainter& painter, QPrinter* printer, const QImage& image,
                             const QSizeF& size)
{
    const PrintLayout::TileGrid grid(image.size(), size, painter.viewport().size());
    for (int row = 0; row < grid.rows(); ++row) {
        for (int column = 0; column < grid.columns(); ++column) {
            const PrintLayout::Tile tile = grid.tile(row, column);
            // Drawn from the image itself: a pixmap copy of a large picture doubles its memory.
            painter.drawImage(tile.target, image, tile.source);
            if (row != grid.rows() - 1 || column != grid.columns() - 1)
                printer->newPage();
        }
    }
}
