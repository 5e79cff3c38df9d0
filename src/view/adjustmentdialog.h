#pragma once

#include "document/pictureadjustment.h"

#include <QDialog>

#include <functional>
#include <memory>

class QTimer;
class WaitCursor;

// Base of the dialogs that change a picture live: each recomputation turns the controls into a
// pass and hands it to the adjustment, which previews it on the picture; then modified() is
// emitted.
class AdjustmentDialog : public QDialog
{
    Q_OBJECT

public:
    AdjustmentDialog(QWidget* parent, PictureAdjustment* adjustment);
    ~AdjustmentDialog() override;

    // Ok keeps what the controls show, so a recomputation still waiting runs first; a preview
    // on a reduced copy is then made again from every pixel, on a worker, while the dialog
    // waits with a busy cursor.
    void accept() override;

public slots:
    // A wheel spin or a held key brings many values in a row; only the last one is worth
    // computing, once the events at hand are through.
    void recomputeLater();
    void recomputeNow();

signals:
    void modified();

protected:
    const QImage& source() const { return m_adjustment->source(); }
    // Previews the pass and tells so.
    void showPass(const PictureAdjustment::Pass& pass);
    // The dialog's own recomputation, run by recomputeLater() and recomputeNow().
    void setRecomputation(std::function<void()> recompute) { m_recompute = std::move(recompute); }

private:
    void resultReady();

    PictureAdjustment* m_adjustment;
    QTimer* m_recomputeTimer;
    std::function<void()> m_recompute;
    std::unique_ptr<WaitCursor> m_waitCursor;
};
