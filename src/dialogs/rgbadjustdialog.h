#pragma once

#include "view/adjustmentdialog.h"

class ExtSlider;

// Offsets to the red, green and blue channels of every colour, previewed live.
class RGBAdjustDialog : public AdjustmentDialog
{
    Q_OBJECT

public:
    RGBAdjustDialog(QWidget* parent, PictureAdjustment* adjustment);

public slots:
    void anpassen();
    void nullRed();
    void nullGreen();
    void nullBlue();

private:
    ExtSlider* m_redSlider;
    ExtSlider* m_greenSlider;
    ExtSlider* m_blueSlider;
};
