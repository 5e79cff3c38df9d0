#pragma once

#include <QPoint>
#include <Qt>

// The hand on a picture larger than its window: which presses grab it, where the scroll bars go
// as the pointer moves, and whether a press of Space was a tap (a step to the next picture) or
// the hold of a Space drag. Plain values, so it is checked without any window.
class PanGesture
{
public:
    // The middle button grabs a picture that can scroll (elsewhere it keeps its old meaning);
    // the left one only while Space is held, as alone it selects.
    static bool grabs(Qt::MouseButton button, bool spaceHeld, bool scrollable);

    // pointer in screen coordinates: the canvas moves under a window-relative one.
    void begin(Qt::MouseButton button, const QPoint& pointer, const QPoint& scrollValues);
    // The scroll values that keep the grabbed spot under the pointer; the scroll bars clamp them.
    QPoint scrollValuesAt(const QPoint& pointer) const;
    // True when this release ends the drag.
    bool release(Qt::MouseButton button);
    bool isActive() const { return m_button != Qt::NoButton; }

    // A press while Space is down, or right after its release, is the key repeating.
    void pressSpace();
    // Any mouse press while Space is down makes its release no tap.
    void notePress();
    void releaseSpace();
    // Once no repeat followed a release at once: true when Space went down and up without a
    // mouse press in between.
    bool settleSpace();
    // Focus left the view while Space was down: its release will not come here.
    void forgetSpace();
    bool spaceHeld() const { return m_spaceHeld; }

private:
    Qt::MouseButton m_button = Qt::NoButton;
    QPoint m_pressPointer;
    QPoint m_pressScroll;
    bool m_spaceHeld = false;
    bool m_spaceUsed = false;
    bool m_releasePending = false;
};
