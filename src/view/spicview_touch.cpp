#include "view/spicview.h"

#include "view/spic.h"

#include <QApplication>
#include <QGestureEvent>
#include <QMouseEvent>
#include <QPinchGesture>
#include <QScrollBar>
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

bool SPicView::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == m_pic
        && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
            || type == QEvent::MouseMove)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (isSynthesised(mouse)) {
            if (m_doubleTapPending && type == QEvent::MouseButtonRelease
                && mouse->button() == Qt::LeftButton) {
                m_doubleTapPending = false;
                m_tapTimer->stop();
                emit toggleFullScreenRequested();
                return QScrollArea::eventFilter(watched, event);
            }
            // Touch scrolls and zooms; it never draws a selection.
            if (mouse->button() != Qt::RightButton)
                return true;
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

void SPicView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (isSynthesised(event) && event->button() == Qt::LeftButton) {
        m_tapTimer->stop();
        m_doubleTapPending = true;
        return;
    }
    QScrollArea::mouseDoubleClickEvent(event);
}

bool SPicView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Gesture)
        return gestureEvent(static_cast<QGestureEvent*>(event));
    return QScrollArea::viewportEvent(event);
}

bool SPicView::gestureEvent(QGestureEvent* event)
{
    if (QGesture* tap = event->gesture(Qt::TapGesture)) {
        // A second tap within the interval becomes a double click and stops this timer.
        if (tap->state() == Qt::GestureFinished)
            m_tapTimer->start(QApplication::doubleClickInterval() + 100);
    }
    if (auto* pinch = static_cast<QPinchGesture*>(event->gesture(Qt::PinchGesture))) {
        if (pinch->changeFlags() & QPinchGesture::ScaleFactorChanged)
            zoomBy(pinch->scaleFactor());
    }
    if (auto* swipe = static_cast<QSwipeGesture*>(event->gesture(Qt::SwipeGesture))) {
        // With a scroll bar showing, a swipe pans the picture instead.
        if (horizontalScrollBar()->isVisible() || verticalScrollBar()->isVisible()) {
            event->ignore(swipe);
        } else if (swipe->state() == Qt::GestureFinished
                   && isHorizontalSwipe(swipe->swipeAngle())) {
            if (swipe->horizontalDirection() == QSwipeGesture::Left)
                next();
            else if (swipe->horizontalDirection() == QSwipeGesture::Right)
                previous();
        }
    }
    return true;
}
