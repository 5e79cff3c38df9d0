#pragma once

#include "view/adjustmentdialog.h"

class QCheckBox;
class QListWidget;
class SCSizeChanger;

// New picture size, by scaling or by cutting or extending the canvas at an alignment.
class ResizeDialog : public AdjustmentDialog
{
    Q_OBJECT

public:
    ResizeDialog(QWidget* parent, PictureAdjustment* adjustment);

public slots:
    void createPreview();

private:
    SCSizeChanger* m_sizeChanger;
    QCheckBox* m_stretchBox;
    QListWidget* m_verticalList;
    QListWidget* m_horizontalList;
};
