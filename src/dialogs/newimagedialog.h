#pragma once

#include <QDialog>
#include <QRgb>

class QListWidget;
class SCSizeChanger;

// Asks for the size, colour depth and fill colour of a new, empty picture.
class NewImageDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NewImageDialog(QWidget* parent = nullptr);

    int newWidth() const;
    int newHeight() const;
    // Bits per pixel chosen: 1, 8 or 32.
    int depth() const;
    QRgb fillColor() const { return m_fillColor; }

public slots:
    void getFillColor();

protected:
    // Asks the user for a colour; an invalid colour means the question was cancelled.
    virtual QColor chooseColor(const QColor& initial);

private:
    SCSizeChanger* m_sizeChanger;
    QListWidget* m_depthList;
    QRgb m_fillColor = 0xffffffff;
};
