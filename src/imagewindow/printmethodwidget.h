#pragma once

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QSpinBox;

// The print dialog's extra tab: how the picture is placed on paper (scaled to the page, at its
// screen size, or at a size in millimetres) and that size, kept in proportion on request.
class PrintMethodWidget : public QWidget
{
    Q_OBJECT

public:
    // Button ids of the three methods.
    enum Method
    {
        ScaleToPage = 1,
        OriginalSize = 2,
        PrintSize = 3
    };

    // Sizes in millimetres; the proportion between them is fixed here.
    PrintMethodWidget(int printWidth, int printHeight, QWidget* parent = nullptr);

    // An id outside the three methods chooses the original size.
    void setPrintMethod(int method);
    int printMethod() const;

    int printWidth() const { return m_printWidth; }
    int printHeight() const { return m_printHeight; }

public slots:
    void setSizes();
    void on_widthBox_valueChanged(int width);
    void on_heightBox_valueChanged(int height);

private:
    int m_printWidth;
    int m_printHeight;
    double m_proportion;
    QButtonGroup* m_methodGroup;
    QSpinBox* m_widthBox;
    QSpinBox* m_heightBox;
    QCheckBox* m_propBox;
};
