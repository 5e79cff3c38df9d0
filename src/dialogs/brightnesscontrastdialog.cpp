#include "dialogs/brightnesscontrastdialog.h"

#include "dialogs/dialogparts.h"
#include "imaging/brightnesscontrast.h"

#include <QVBoxLayout>

BrightnessContrastDialog::BrightnessContrastDialog(QWidget* parent, PictureAdjustment* adjustment)
    : AdjustmentDialog(parent, adjustment)
{
    setWindowTitle(tr("Brightness-Contrast"));
    setModal(true);
    setRecomputation([this] { process(); });

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    m_brightnessSlider = dialogparts::addLiveSliderRow(
        this, grid, 0, tr("Brightness:"), -100, 100, QStringLiteral("brightness"),
        &BrightnessContrastDialog::resetBrightness);
    m_contrastSlider = dialogparts::addLiveSliderRow(
        this, grid, 1, tr("Contrast:"), -100, 100, QStringLiteral("contrast"),
        &BrightnessContrastDialog::resetContrast);
    m_gammaSlider = dialogparts::addLiveSliderRow(
        this, grid, 2, tr("Gamma:"), -100, 100, QStringLiteral("gamma"),
        &BrightnessContrastDialog::resetGamma);
    dialogparts::addOkCancel(this, layout);
}

void BrightnessContrastDialog::process()
{
    showPass(dialogparts::colourPass(imaging::adjustBrightnessContrastGamma,
                                     m_brightnessSlider->value(), m_contrastSlider->value(),
                                     m_gammaSlider->value()));
}

void BrightnessContrastDialog::resetBrightness()
{
    m_brightnessSlider->setValue(0);
}

void BrightnessContrastDialog::resetContrast()
{
    m_contrastSlider->setValue(0);
}

void BrightnessContrastDialog::resetGamma()
{
    m_gammaSlider->setValue(0);
}
