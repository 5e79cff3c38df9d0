#pragma once

#include "view/pangesture.h"

#include <QList>
#include <QObject>

class QAbstractScrollArea;
class QKeyEvent;
class QMouseEvent;
class QTimer;
class QWidget;

// Puts a PanGesture on a picture view: watches the view's keys for Space and its canvas for the
// mouse, moves the scroll bars while a hand drags and shows the closed hand meanwhile.
class HandTool : public QObject
{
    Q_OBJECT

public:
    // Keys come to the area, the mouse to the canvas and whatever lies on it.
    HandTool(QAbstractScrollArea* area, const QList<QWidget*>& canvas);
    ~HandTool() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // Space went down and up with no mouse press in between.
    void spaceTapped();

private:
    bool keyEvent(QKeyEvent* event);
    bool mouseEvent(QMouseEvent* event);
    bool scrollable() const;
    QPoint scrollValues() const;
    void showHand(bool on);

    QAbstractScrollArea* m_area;
    PanGesture m_gesture;
    // X servers repeat a held key as releases and presses, which Qt does not always pair up.
    QTimer* m_settle;
    bool m_handShown = false;
};
