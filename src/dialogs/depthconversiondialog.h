#pragma once

#include "view/adjustmentdialog.h"

class QListWidget;

// Conversion of the picture to 1, 8 or 32 bits per pixel with a chosen dithering.
class DepthConversionDialog : public AdjustmentDialog
{
    Q_OBJECT

public:
    DepthConversionDialog(QWidget* parent, PictureAdjustment* adjustment);

public slots:
    void createPreview();

private:
    QListWidget* m_depthList;
    QListWidget* m_ditherList;
};
