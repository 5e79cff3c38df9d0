#pragma once

#include "view/spic.h"

#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

#include <memory>

// A shown canvas, 300 by 300 unless told: a 100 by 80 image at scale 1 lies at (100, 110).
inline std::unique_ptr<SPic> makeCanvas(const QImage& image = QImage(100, 80, QImage::Format_RGB32),
                                        double scale = 1.0, const QSize& size = QSize(300, 300))
{
    auto pic = std::make_unique<SPic>();
    pic->setImage(image);
    pic->setScale(scale);
    pic->resize(size);
    pic->show();
    if (!QTest::qWaitForWindowExposed(pic.get()))
        QTest::qFail("canvas not shown", __FILE__, __LINE__);
    return pic;
}

// A mouse event at pos with the buttons held after it, from the button given unless it is a move.
inline void send(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButtons buttons,
                 Qt::MouseButton from = Qt::LeftButton)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : from;
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// A selection drawn with the mouse, as far as the canvas lets it.
inline void drawSelection(SPic* pic, const QPoint& from, const QPoint& to)
{
    send(pic, QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(pic, QEvent::MouseMove, to, Qt::LeftButton);
    send(pic, QEvent::MouseButtonRelease, to, Qt::NoButton);
}
