#include "dialogs/scsizechanger.h"

#include "dialogs/dialogparts.h"
#include "dialogs/sizeunits.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>

namespace {

QSpinBox* makeSpinBox(int value, const QString& objectName, QWidget* parent)
{
    auto* spinBox = new QSpinBox(parent);
    spinBox->setObjectName(objectName);
    spinBox->setRange(sizeunits::kMinimumPixels, sizeunits::maximumPixels(value));
    spinBox->setSingleStep(1);
    spinBox->setSuffix(QLatin1Char(' ') + SCSizeChanger::tr("pixels"));
    spinBox->setValue(value);
    return spinBox;
}

// Only a translation that lists further units makes the relative unit reachable.
QListWidget* makeUnitList(const QString& objectName, QWidget* parent)
{
    QListWidget* list =
        dialogparts::makeChoiceList(SCSizeChanger::tr("Pixel"), 0, objectName, parent);
    list->hide();
    return list;
}

} // namespace

SCSizeChanger::SCSizeChanger(int baseWidth, int baseHeight, QWidget* parent)
    : QWidget(parent)
    , m_newWidth(baseWidth)
    , m_newHeight(baseHeight)
    // An empty picture still needs a base to divide by.
    , m_baseWidth(qMax(1, baseWidth))
    , m_baseHeight(qMax(1, baseHeight))
    , m_widthSpinBox(makeSpinBox(baseWidth, QStringLiteral("widthSpinBox"), this))
    , m_heightSpinBox(makeSpinBox(baseHeight, QStringLiteral("heightSpinBox"), this))
    , m_widthUnitList(makeUnitList(QStringLiteral("widthUnitList"), this))
    , m_heightUnitList(makeUnitList(QStringLiteral("heightUnitList"), this))
    , m_ratioLabel(new QLabel(this))
    , m_keepRatioBox(new QCheckBox(tr("&Keep ratio"), this))
{
    m_ratioLabel->setObjectName(QStringLiteral("ratioLabel"));
    m_keepRatioBox->setObjectName(QStringLiteral("keepRatioBox"));
    showRatio();

    auto* widthLabel = new QLabel(tr("&Width:"), this);
    widthLabel->setBuddy(m_widthSpinBox);
    auto* heightLabel = new QLabel(tr("&Height:"), this);
    heightLabel->setBuddy(m_heightSpinBox);

    auto* grid = new QGridLayout(this);
    grid->addWidget(widthLabel, 0, 0);
    grid->addWidget(m_widthSpinBox, 0, 1);
    grid->addWidget(m_widthUnitList, 0, 2);
    grid->addWidget(heightLabel, 1, 0);
    grid->addWidget(m_heightSpinBox, 1, 1);
    grid->addWidget(m_heightUnitList, 1, 2);
    grid->addWidget(m_ratioLabel, 2, 0, 1, 2);
    grid->addWidget(m_keepRatioBox, 3, 0, 1, 2);

    connect(m_widthSpinBox, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &SCSizeChanger::widthChanged);
    connect(m_heightSpinBox, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &SCSizeChanger::heightChanged);
    connect(m_widthUnitList, &QListWidget::currentRowChanged, this,
            &SCSizeChanger::widthUnitChanged);
    connect(m_heightUnitList, &QListWidget::currentRowChanged, this,
            &SCSizeChanger::heightUnitChanged);
    connect(m_keepRatioBox, &QCheckBox::toggled, this, &SCSizeChanger::keepAspectRatioChanged);
}

void SCSizeChanger::widthChanged(int newWidth)
{
    m_newWidth = sizeunits::pixelsFromValue(newWidth, m_widthUnitList->currentRow(), m_baseWidth);
    if (m_following)
        return;
    if (m_keepRatioBox->isChecked())
        keepRatio(m_widthSpinBox, m_heightSpinBox);
    showRatio();
    m_widthLastChanged = true;
    emit sizeChanged();
}

void SCSizeChanger::heightChanged(int newHeight)
{
    m_newHeight =
        sizeunits::pixelsFromValue(newHeight, m_heightUnitList->currentRow(), m_baseHeight);
    if (m_following)
        return;
    if (m_keepRatioBox->isChecked())
        keepRatio(m_heightSpinBox, m_widthSpinBox);
    showRatio();
    m_widthLastChanged = false;
    emit sizeChanged();
}

void SCSizeChanger::keepRatio(QSpinBox* edited, QSpinBox* following)
{
    m_following = true;
    const int wanted = followingValue(following);
    following->setValue(wanted);
    syncNewSize();
    // The range clamped the following dimension, so the edited one gives way instead.
    if (following->value() != wanted)
        edited->setValue(followingValue(edited));
    m_following = false;
    syncNewSize();
}

int SCSizeChanger::followingValue(const QSpinBox* spinBox) const
{
    if (spinBox == m_heightSpinBox)
        return sizeunits::followingValue(m_newWidth, m_baseWidth, m_baseHeight,
                                         m_heightUnitList->currentRow());
    return sizeunits::followingValue(m_newHeight, m_baseHeight, m_baseWidth,
                                     m_widthUnitList->currentRow());
}

// A spin box that already showed the wanted value sent no signal.
void SCSizeChanger::syncNewSize()
{
    m_newWidth = sizeunits::pixelsFromValue(m_widthSpinBox->value(), m_widthUnitList->currentRow(),
                                            m_baseWidth);
    m_newHeight = sizeunits::pixelsFromValue(m_heightSpinBox->value(),
                                             m_heightUnitList->currentRow(), m_baseHeight);
}

void SCSizeChanger::showRatio()
{
    // Width over height, before and after an edit alike.
    const double ratio = double(qMax(1, m_newWidth)) / qMax(1, m_newHeight);
    m_ratioLabel->setText(tr("Current ratio: %1").arg(QString::number(ratio, 'g', 6)));
}

void SCSizeChanger::widthUnitChanged(int index)
{
    const sizeunits::UnitRange range = sizeunits::unitRange(index, m_newWidth, m_baseWidth);
    m_widthSpinBox->setRange(range.minimum, range.maximum);
    m_widthSpinBox->setValue(range.value);
}

void SCSizeChanger::heightUnitChanged(int index)
{
    const sizeunits::UnitRange range = sizeunits::unitRange(index, m_newHeight, m_baseHeight);
    m_heightSpinBox->setRange(range.minimum, range.maximum);
    m_heightSpinBox->setValue(range.value);
}

void SCSizeChanger::keepAspectRatioChanged(bool on)
{
    if (!on)
        return;
    if (m_widthLastChanged)
        widthChanged(m_widthSpinBox->value());
    else
        heightChanged(m_heightSpinBox->value());
}
