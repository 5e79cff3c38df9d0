#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <QSizeF>

#include <functional>

class QImage;
class QPainter;
class QPrintDialog;
class QPrinter;
class QWidget;

// Prints one picture: runs the print dialog with the print method tab, then draws the picture
// scaled to the page, at its screen size or at a size in millimetres, in tiles over several
// pages when it is larger than one. The image window keeps the last method for its lifetime.
class ImagePrinter
{
    Q_DECLARE_TR_FUNCTIONS(ImagePrinter)

public:
    // Runs the prepared dialog and answers its QDialog::DialogCode.
    using DialogRunner = std::function<int(QPrintDialog& dialog)>;

    explicit ImagePrinter(QWidget* parent);
    ~ImagePrinter();

    // Prints on this printer instead of a new high-resolution one; not owned.
    void setPrinter(QPrinter* printer);
    // Replaces showing the dialog modally (tests answer without a user).
    void setDialogRunner(DialogRunner runner);

    // The tab opens with lastMethod; after printing, lastMethod is the method used. False when
    // nothing was printed: a null image (the user is told), or the dialog was cancelled.
    bool print(const QImage& image, const QString& documentName, int& lastMethod);

    // Draws every copy the printer asks of the application, with one of the tab's methods, in
    // one print job.
    static void printImage(QPrinter* printer, const QImage& image, int method,
                           const QSize& printMillimetres, int dpi);
    // The image at size (printer units) in page-sized tiles, one page each, row by row.
    static void printImageWithPrinterSize(QPrinter* printer, const QImage& image,
                                          const QSizeF& size);
    // Copies to draw: none extra when the printer makes the copies itself.
    static int copiesToDraw(const QPrinter& printer);

private:
    static void prepareDialog(QPrintDialog& dialog);
    static void drawScaledToPage(QPainter& painter, const QImage& image);
    static void drawTiles(QPainter& painter, QPrinter* printer, const QImage& image,
                          const QSizeF& size);

    QPointer<QWidget> m_parent;
    QPrinter* m_printer = nullptr;
    DialogRunner m_runDialog;
};
