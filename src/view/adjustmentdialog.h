#pragma once

#include <QDialog>
#include <QImage>

// Base of the dialogs that change a picture live: each recomputation reads only the source
// (the picture as it was when the dialog opened, kept by the dialog itself) and the controls,
// overwrites the whole target (the picture's own image), then emits modified() so the view
// redraws.
class AdjustmentDialog : public QDialog
{
    Q_OBJECT

public:
    AdjustmentDialog(QWidget* parent, QImage* target, const QImage& source);

signals:
    void modified();

protected:
    QImage* target() const { return m_target; }
    const QImage& source() const { return m_source; }

private:
    QImage* m_target;
    const QImage m_source;
};
