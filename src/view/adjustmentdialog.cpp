#include "view/adjustmentdialog.h"

#include <QTimer>

AdjustmentDialog::AdjustmentDialog(QWidget* parent, PictureAdjustment* adjustment)
    : QDialog(parent)
    , m_adjustment(adjustment)
    , m_recomputeTimer(new QTimer(this))
{
    m_recomputeTimer->setSingleShot(true);
    m_recomputeTimer->setInterval(0);
    connect(m_recomputeTimer, &QTimer::timeout, this, &AdjustmentDialog::recomputeNow);
}

void AdjustmentDialog::accept()
{
    if (m_recomputeTimer->isActive())
        recomputeNow();
    QDialog::accept();
}

void AdjustmentDialog::recomputeLater()
{
    m_recomputeTimer->start();
}

void AdjustmentDialog::recomputeNow()
{
    m_recomputeTimer->stop();
    if (m_recompute)
        m_recompute();
}

void AdjustmentDialog::showPass(const PictureAdjustment::Pass& pass)
{
    m_adjustment->preview(pass);
    emit modified();
}
