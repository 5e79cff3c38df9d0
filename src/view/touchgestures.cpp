#include "view/touchgestures.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QGestureEvent>
#include <QMouseEvent>
#include <QPinchGesture>
#include <QScrollBar>
#include <QScroller>
#include <QSwipeGesture>
#include <QTimer>

namespace {

bool isSynthesised(const QMouseEvent* event)
{
    return event->source() != Qt::MouseEventNotSynthesized;
}

// Within 45 degrees of either horizontal direction.
bool isHorizontalSwipe(qreal angle)
{
    return angle < 45.0 || angle > 315.0 || qAbs(angle - 180.0) <= 45.0;
}

} // namespace

TouchGestures::TouchGestures(QAbstractScrollArea* area)
    : QObject(area)
    , m_area(area)
    , m_tapTimer(new QTimer(this))
{
    m_tapTimer->setSingleShot(true);
    connect(m_tapTimer, &QTimer::timeout, this, &TouchGestures::tapped);

    QWidget* viewport = area->viewport();
    viewport->grabGesture(Qt::TapGesture);
    viewport->grabGesture(Qt::PinchGesture);
    viewport->grabGesture(Qt::SwipeGesture);
    QScroller::grabGesture(viewport, QScroller::TouchGesture);
}

bool TouchGestures::filterCanvasEvent(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease
        && type != QEvent::MouseMove)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (!isSynthesised(mouse))
        return false;
    if (m_doubleTapPending && type == QEvent::MouseButtonRelease
        && mouse->button() == Qt::LeftButton) {
        m_doubleTapPending = false;
        m_tapTimer->stop();
        emit doubleTapped();
        return false;
    }
    // Touch scrolls and zooms; it never draws a selection.
    return mouse->button() != Qt::RightButton;
}

bool TouchGestures::doubleClick(QMouseEvent* event)
{
    if (!isSynthesised(event) || event->button() != Qt::LeftButton)
        return false;
    m_tapTimer->stop();
    m_doubleTapPending = true;
    return true;
}

bool TouchGestures::gestureEvent(QGestureEvent* event)
{
    if (QGesture* tap = event->gesture(Qt::TapGesture)) {
        // A second tap within the interval becomes a double click and stops this
        // timer.
        if (tap->state() == Qt::GestureFinished)
            m_tapTimer->start(QApplication::doubleClickInterval() + 100);
    }
    if (auto* pinch = static_cast<QPinchGesture*>(event->gesture(Qt::PinchGesture))) {
        if (pinch->changeFlags() & QPinchGesture::ScaleFactorChanged)
            emit pinched(pinch->scaleFactor());
    }
    if (auto* swipe = static_cast<QSwipeGesture*>(event->gesture(Qt::SwipeGesture))) {
        // With a scroll bar showing, a swipe pans the picture instead.
        if (m_area->horizontalScrollBar()->isVisible()
            || m_area->verticalScrollBar()->isVisible()) {
            event->ignore(swipe);
        } else if (swipe->state() == Qt::GestureFinished
                   && isHorizontalSwipe(swipe->swipeAngle())) {
            if (swipe->horizontalDirection() == QSwipeGesture::Left)
                emit swipedLeft();
            else if (swipe->horizontalDirection() == QSwipeGesture::Right)
                emit swipedRight();
        }
    }
    return true;
}
