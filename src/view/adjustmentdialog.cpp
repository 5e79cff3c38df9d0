#include "view/adjustmentdialog.h"

#include <QTimer>

AdjustmentDialog::AdjustmentDialog(QWidget* parent, QImage* target, const QImage& source)
    : QDialog(parent)
    , m_target(target)
    , m_source(source)
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
