#pragma once

#include "view/adjustmentdialog.h"

class QCheckBox;
class QLabel;
class QSlider;

// Rotation of the whole picture by 0 to 360 degrees in half-degree steps, previewed live.
class RotateDialog : public AdjustmentDialog
{
    Q_OBJECT

public:
    RotateDialog(QWidget* parent, PictureAdjustment* adjustment);

public slots:
    void machDVS(int value);
    void updateSmoothing(bool);
    void set90();
    void set180();
    void set270();

private:
    QSlider* m_angleSlider;
    QLabel* m_angleLabel;
    QCheckBox* m_smoothingBox;
};
