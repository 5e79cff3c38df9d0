#include "dialogs/rgbadjustdialog.h"

#include "dialogs/dialogparts.h"
#include "imaging/colorbalance.h"

#include <QVBoxLayout>

RGBAdjustDialog::RGBAdjustDialog(QWidget* parent, PictureAdjustment* adjustment)
    : AdjustmentDialog(parent, adjustment)
{
    setWindowTitle(tr("Adjust colors"));
    setModal(true);
    setRecomputation([this] { anpassen(); });

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    m_redSlider = dialogparts::addLiveSliderRow(this, grid, 0, tr("&Red:"), -255, 255,
                                                QStringLiteral("red"), &RGBAdjustDialog::nullRed);
    m_greenSlider = dialogparts::addLiveSliderRow(
        this, grid, 1, tr("&Green:"), -255, 255, QStringLiteral("green"),
        &RGBAdjustDialog::nullGreen);
    m_blueSlider = dialogparts::addLiveSliderRow(this, grid, 2, tr("&Blue:"), -255, 255,
                                                 QStringLiteral("blue"),
                                                 &RGBAdjustDialog::nullBlue);
    dialogparts::addOkCancel(this, layout);
}

void RGBAdjustDialog::anpassen()
{
    showPass(dialogparts::colourPass(imaging::adjustColorBalance, m_redSlider->value(),
                                     m_greenSlider->value(), m_blueSlider->value()));
}

void RGBAdjustDialog::nullRed()
{
    m_redSlider->setValue(0);
}

void RGBAdjustDialog::nullGreen()
{
    m_greenSlider->setValue(0);
}

void RGBAdjustDialog::nullBlue()
{
    m_blueSlider->setValue(0);
}
