#include "dialogs/rotatedialog.h"

#include "dialogs/dialogparts.h"
#include "imaging/rotation.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

namespace {

const QChar kDegree(0x00B0);

} // namespace

RotateDialog::RotateDialog(QWidget* parent, PictureAdjustment* adjustment)
    : AdjustmentDialog(parent, adjustment)
    , m_angleSlider(new QSlider(Qt::Horizontal, this))
    , m_angleLabel(new QLabel(this))
    , m_smoothingBox(new QCheckBox(tr("Enable smoothing"), this))
{
    setWindowTitle(tr("Rotate"));
    setModal(true);
    m_angleSlider->setObjectName(QStringLiteral("angleSlider"));
    m_angleLabel->setObjectName(QStringLiteral("angleLabel"));
    m_smoothingBox->setObjectName(QStringLiteral("smoothingBox"));
    // Half-degree steps: 720 is a full turn.
    m_angleSlider->setRange(0, 720);
    m_angleSlider->setSingleStep(1);
    m_angleSlider->setValue(0);

    auto* button90 = new QPushButton(tr("&90 %1").arg(kDegree), this);
    auto* button180 = new QPushButton(tr("&180 %1").arg(kDegree), this);
    auto* button270 = new QPushButton(tr("&270 %1").arg(kDegree), this);
    button90->setObjectName(QStringLiteral("button90"));
    button180->setObjectName(QStringLiteral("button180"));
    button270->setObjectName(QStringLiteral("button270"));
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    grid->addWidget(button90, 0, 0);
    grid->addWidget(button180, 0, 1);
    grid->addWidget(button270, 0, 2);
    grid->addWidget(m_angleSlider, 1, 0, 1, 3);
    grid->addWidget(m_angleLabel, 2, 1);
    grid->addWidget(m_smoothingBox, 3, 0);
    grid->addWidget(line, 4, 0, 1, 3);
    dialogparts::addOkCancel(this, layout);

    connect(m_angleSlider, &QSlider::valueChanged, this, &RotateDialog::machDVS);
    connect(m_smoothingBox, &QCheckBox::toggled, this, &RotateDialog::updateSmoothing);
    connect(button90, &QPushButton::clicked, this, &RotateDialog::set90);
    connect(button180, &QPushButton::clicked, this, &RotateDialog::set180);
    connect(button270, &QPushButton::clicked, this, &RotateDialog::set270);

    // The label needs its first text; the unrotated copy costs no more than that.
    machDVS(0);
}

void RotateDialog::machDVS(int value)
{
    const double angle = imaging::rotationAngle(value);
    const bool smooth = m_smoothingBox->isChecked();
    m_angleLabel->setText(QString::number(angle, 'g', 6) + QStringLiteral(" %1").arg(kDegree));
    PictureAdjustment::Pass pass;
    pass.apply = [angle, smooth](const QImage& source, double) {
        return imaging::rotated(source, angle, smooth);
    };
    pass.resultSize = [angle](const QSize& pictureSize) {
        return imaging::rotatedSize(pictureSize, angle);
    };
    showPass(pass);
}

void RotateDialog::updateSmoothing(bool)
{
    machDVS(m_angleSlider->value());
}

void RotateDialog::set90()
{
    m_angleSlider->setValue(180);
}

void RotateDialog::set180()
{
    m_angleSlider->setValue(360);
}

void RotateDialog::set270()
{
    m_angleSlider->setValue(540);
}
