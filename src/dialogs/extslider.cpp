#include "dialogs/extslider.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSlider>

ExtSlider::ExtSlider(int minimum, int maximum, int pageStep, int value, QWidget* parent)
    : QWidget(parent)
    , m_slider(new QSlider(Qt::Horizontal, this))
{
    m_slider->setRange(minimum, maximum);
    m_slider->setPageStep(pageStep);
    m_slider->setValue(value);
    m_slider->setTracking(false);
    connect(m_slider, &QSlider::valueChanged, this, &ExtSlider::valueChanged);
    connect(m_slider, &QSlider::sliderReleased, this, &ExtSlider::sliderReleased);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_slider);
    // Labels name the whole widget as their buddy; the keyboard belongs to the slider.
    setFocusProxy(m_slider);
}

int ExtSlider::value() const
{
    return m_slider->value();
}

void ExtSlider::setValue(int value)
{
    m_slider->setValue(value);
}

// The slider leaves key releases unhandled, so they reach us; auto-repeat releases count too,
// which keeps a held arrow key's last step from going unnoticed.
void ExtSlider::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)
        emit arrows_release_signal();
    else
        QWidget::keyReleaseEvent(event);
}
