#pragma once

#include <QWidget>

class QSlider;

// A horizontal slider that tells when the user lets go of it: by releasing the handle or an
// arrow key. Its value follows a dragged handle only when the handle is let go, so the adjustment
// dialogs recompute on every change of value (key, wheel, click) but not on every drag step.
class ExtSlider : public QWidget
{
    Q_OBJECT

public:
    ExtSlider(int minimum, int maximum, int pageStep, int value, QWidget* parent = nullptr);

    int value() const;
    void setValue(int value);
    QSlider* slider() const { return m_slider; }

signals:
    void valueChanged(int value);
    void arrows_release_signal();
    void sliderReleased();

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QSlider* m_slider;
};
