#pragma once

#include "view/adjustmentdialog.h"

#include <QImage>

class QCheckBox;
class QSpinBox;
class SCSizeChanger;

// Draws an image (the clipboard's) into the picture at a chosen place and size, growing the
// picture to hold it if wanted; previewed live.
class InsertDialog : public AdjustmentDialog
{
    Q_OBJECT

public:
    // The insert image is the one the caller found on the clipboard, so the check for usable
    // content and the dialog see the same image.
    InsertDialog(QWidget* parent, PictureAdjustment* adjustment, const QImage& insert);

public slots:
    void createPreview();

private:
    const QImage m_insertImage;
    QSpinBox* m_xSpinBox;
    QSpinBox* m_ySpinBox;
    SCSizeChanger* m_sizeChanger;
    QCheckBox* m_enlargeBox;
};
