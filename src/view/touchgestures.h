#pragma once

#include <QObject>

class QAbstractScrollArea;
class QEvent;
class QGestureEvent;
class QMouseEvent;
class QTimer;

// Turns touch on a picture view into the view's actions: a tap toggles the
// panel, a double tap full screen, a pinch zooms and a horizontal swipe steps
// through the files.
class TouchGestures : public QObject
{
    Q_OBJECT

public:
    // Grabs the gestures on the area's viewport.
    explicit TouchGestures(QAbstractScrollArea* area);

    // A mouse event on the canvas; true when it came from touch and must not
    // reach the canvas.
    bool filterCanvasEvent(QEvent* event);
    // True when the double click was a double tap and is taken.
    bool doubleClick(QMouseEvent* event);
    bool gestureEvent(QGestureEvent* event);

signals:
    void tapped();
    void doubleTapped();
    void pinched(double factor);
    void swipedLeft();
    void swipedRight();

private:
    QAbstractScrollArea* m_area;
    bool m_doubleTapPending = false;
    QTimer* m_tapTimer;
};
