#include "imagewindow/printmethodwidget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int minimumMillimetres = 1;
constexpr int maximumMillimetres = 999999;

// What is stored is what the boxes show, so the print never uses a size nobody saw: a tiny
// picture would otherwise start at 0 mm and divide by zero.
int boxed(double millimetres)
{
    if (!(millimetres < maximumMillimetres))
        return maximumMillimetres;
    return std::max(minimumMillimetres, qRound(millimetres));
}

QSpinBox* sizeBox(const QString& name, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(minimumMillimetres, maximumMillimetres);
    box->setSuffix(PrintMethodWidget::tr("mm"));
    return box;
}

} // namespace

PrintMethodWidget::PrintMethodWidget(int printWidth, int printHeight, QWidget* parent)
    : QWidget(parent), m_printWidth(boxed(printWidth)), m_printHeight(boxed(printHeight)),
      m_proportion(double(m_printHeight) / m_printWidth), m_methodGroup(new QButtonGroup(this))
{
    setWindowTitle(tr("Image print settings"));

    auto* scaleButton = new QRadioButton(tr("Scale image to fit the page"), this);
    scaleButton->setObjectName(QStringLiteral("scaleButton"));
    auto* originalButton = new QRadioButton(tr("Keep the original image size"), this);
    originalButton->setObjectName(QStringLiteral("originalButton"));
    auto* sizeButton = new QRadioButton(tr("Set print size"), this);
    sizeButton->setObjectName(QStringLiteral("sizeButton"));
    m_methodGroup->addButton(scaleButton, ScaleToPage);
    m_methodGroup->addButton(originalButton, OriginalSize);
    m_methodGroup->addButton(sizeButton, PrintSize);

    auto* sizePanel = new QWidget(this);
    sizePanel->setObjectName(QStringLiteral("printSizeOptsWidget"));
    sizePanel->setEnabled(false);
    m_widthBox = sizeBox(QStringLiteral("widthBox"), sizePanel);
    m_heightBox = sizeBox(QStringLiteral("heightBox"), sizePanel);
    auto* widthLabel = new QLabel(tr("Width:"), sizePanel);
    widthLabel->setObjectName(QStringLiteral("widthLabel"));
    widthLabel->setBuddy(m_widthBox);
    auto* heightLabel = new QLabel(tr("Height:"), sizePanel);
    heightLabel->setObjectName(QStringLiteral("heightLabel"));
    heightLabel->setBuddy(m_heightBox);
    auto* form = new QFormLayout(sizePanel);
    form->addRow(widthLabel, m_widthBox);
    form->addRow(heightLabel, m_heightBox);

    m_propBox = new QCheckBox(tr("Preserve proportions"), this);
    m_propBox->setObjectName(QStringLiteral("propBox"));
    m_propBox->setChecked(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scaleButton);
    layout->addWidget(originalButton);
    layout->addWidget(sizeButton);
    layout->addWidget(sizePanel);
    layout->addWidget(m_propBox);
    layout->addStretch();

    connect(sizeButton, &QRadioButton::toggled, sizePanel, &QWidget::setEnabled);
    connect(m_widthBox, qOverload<int>(&QSpinBox::valueChanged), this,
            &PrintMethodWidget::on_widthBox_valueChanged);
    connect(m_heightBox, qOverload<int>(&QSpinBox::valueChanged), this,
            &PrintMethodWidget::on_heightBox_valueChanged);
    setSizes();
}

void PrintMethodWidget::setPrintMethod(int method)
{
    QAbstractButton* button = m_methodGroup->button(method);
    if (!button)
        button = m_methodGroup->button(OriginalSize);
    button->setChecked(true);
}

int PrintMethodWidget::printMethod() const
{
    return m_methodGroup->checkedId();
}

void PrintMethodWidget::setSizes()
{
    const QSignalBlocker blockWidth(m_widthBox);
    const QSignalBlocker blockHeight(m_heightBox);
    m_widthBox->setValue(m_printWidth);
    m_heightBox->setValue(m_printHeight);
}

void PrintMethodWidget::on_widthBox_valueChanged(int width)
{
    m_printWidth = width;
    if (m_propBox->isChecked()) {
        m_printHeight = boxed(width * m_proportion);
        setSizes();
    }
}

void PrintMethodWidget::on_heightBox_valueChanged(int height)
{
    m_printHeight = height;
    if (m_propBox->isChecked()) {
        m_printWidth = boxed(height / m_proportion);
        setSizes();
    }
}
