#pragma once

#include "view/adjustmentdialog.h"

class ExtSlider;

// Brightness, contrast and gamma of the whole picture, previewed live.
class BrightnessContrastDialog : public AdjustmentDialog
{
    Q_OBJECT

public:
    BrightnessContrastDialog(QWidget* parent, PictureAdjustment* adjustment);

public slots:
    void process();
    void resetBrightness();
    void resetContrast();
    void resetGamma();

private:
    ExtSlider* m_brightnessSlider;
    ExtSlider* m_contrastSlider;
    ExtSlider* m_gammaSlider;
};
