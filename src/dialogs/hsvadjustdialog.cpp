#include "dialogs/hsvadjustdialog.h"

#include "dialogs/dialogparts.h"
#include "imaging/hsvadjust.h"

#include <QVBoxLayout>

HSVAdjustDialog::HSVAdjustDialog(QWidget* parent, PictureAdjustment* adjustment)
    : AdjustmentDialog(parent, adjustment)
{
    setWindowTitle(tr("Hue-Saturation"));
    setModal(true);
    setRecomputation([this] { anpassen(); });

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    m_hueSlider = dialogparts::addLiveSliderRow(this, grid, 0, tr("&Hue:"), -359, 359,
                                                QStringLiteral("hue"), &HSVAdjustDialog::nullFarbt);
    m_saturationSlider = dialogparts::addLiveSliderRow(
        this, grid, 1, tr("&Saturation:"), -255, 255, QStringLiteral("saturation"),
        &HSVAdjustDialog::nullSaett);
    m_valueSlider = dialogparts::addLiveSliderRow(
        this, grid, 2, tr("&Brightness:"), -255, 255, QStringLiteral("value"),
        &HSVAdjustDialog::nullHell);
    dialogparts::addOkCancel(this, layout);
}

void HSVAdjustDialog::anpassen()
{
    showPass(dialogparts::colourPass(imaging::adjustHsv, m_hueSlider->value(),
                                     m_saturationSlider->value(), m_valueSlider->value()));
}

void HSVAdjustDialog::nullFarbt()
{
    m_hueSlider->setValue(0);
}

void HSVAdjustDialog::nullSaett()
{
    m_saturationSlider->setValue(0);
}

void HSVAdjustDialog::nullHell()
{
    m_valueSlider->setValue(0);
}
