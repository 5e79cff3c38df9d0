#pragma once

#include <QDialog>
#include <QImage>

#include <functional>

class QTimer;

// Base of the dialogs that change a picture live: each recomputation reads only the source
// (the picture as it was when the dialog opened, kept by the dialog itself) and the controls,
// overwrites the whole target (the picture's own image), then emits modified() so the view
// redraws.
class AdjustmentDialog : public QDialog
{
    Q_OBJECT

public:
    AdjustmentDialog(QWidget* parent, QImage* target, const QImage& source);

    // Ok keeps what the controls show, so a recomputation still waiting runs first.
    void accept() override;

public slots:
    // A wheel spin or a held key brings many values in a row; only the last one is worth
    // computing, once the events at hand are through.
    void recomputeLater();
    void recomputeNow();

signals:
    void modified();

protected:
    QImage* target() const { return m_target; }
    const QImage& source() const { return m_source; }
    // The dialog's own recomputation, run by recomputeLater() and recomputeNow().
    void setRecomputation(std::function<void()> recompute) { m_recompute = std::move(recompute); }

private:
    QImage* m_target;
    const QImage m_source;
    QTimer* m_recomputeTimer;
    std::function<void()> m_recompute;
};
