#include "view/adjustmentdialog.h"

#include "view/waitcursor.h"

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

AdjustmentDialog::~AdjustmentDialog() = default;

void AdjustmentDialog::accept()
{
    if (m_recomputeTimer->isActive())
        recomputeNow();
    if (m_adjustment->isFinished()) {
        QDialog::accept();
        return;
    }
    if (m_waitCursor)
        return;
    // Still modal, so nothing else changes the picture meanwhile; Cancel drops the result.
    m_waitCursor = std::make_unique<WaitCursor>();
    setEnabled(false);
    connect(m_adjustment, &PictureAdjustment::finished, this, &AdjustmentDialog::resultReady,
            Qt::UniqueConnection);
    m_adjustment->finish();
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

void AdjustmentDialog::resultReady()
{
    m_waitCursor.reset();
    setEnabled(true);
    QDialog::accept();
}
