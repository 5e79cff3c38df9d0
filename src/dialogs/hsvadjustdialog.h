#pragma once

#include "view/adjustmentdialog.h"

class ExtSlider;

// Offsets to hue, saturation and value of every colour, previewed live.
class HSVAdjustDialog : public AdjustmentDialog
{
    Q_OBJECT

public:
    HSVAdjustDialog(QWidget* parent, PictureAdjustment* adjustment);

public slots:
    void anpassen();
    void nullFarbt();
    void nullSaett();
    void nullHell();

private:
    ExtSlider* m_hueSlider;
    ExtSlider* m_saturationSlider;
    ExtSlider* m_valueSlider;
};
