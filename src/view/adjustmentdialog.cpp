#include "view/adjustmentdialog.h"

AdjustmentDialog::AdjustmentDialog(QWidget* parent, QImage* target, const QImage& source)
    : QDialog(parent)
    , m_target(target)
    , m_source(source)
{
}
