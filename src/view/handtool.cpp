#include "view/handtool.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

namespace {

// A repeat follows its release at once; no hand lifts and presses a key again that fast.
const int repeatGapMs = 30;

} // namespace

HandTool::HandTool(QAbstractScrollArea* area, const QList<QWidget*>& canvas)
    : QObject(area), m_area(area), m_settle(new QTimer(this))
{
    m_settle->setSingleShot(true);
    m_settle->setInterval(repeatGapMs);
    connect(m_settle, &QTimer::timeout, this, [this] {
        if (m_gesture.settleSpace())
            emit spaceTapped();
    });
    area->installEventFilter(this);
    for (QWidget* widget : canvas)
        widget->installEventFilter(this);
}

HandTool::~HandTool()
{
    showHand(false);
}

bool HandTool::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return watched == m_area && keyEvent(static_cast<QKeyEvent*>(event));
    case QEvent::FocusOut:
        if (watched == m_area)
            m_gesture.forgetSpace();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return watched != m_area && mouseEvent(static_cast<QMouseEvent*>(event));
    default:
        return false;
    }
}

bool HandTool::keyEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier)
        return false;
    // Space is decided on its release, so the next-picture shortcut must not take the press.
    event->accept();
    if (event->isAutoRepeat())
        return true;
    if (event->type() == QEvent::KeyPress) {
        m_gesture.pressSpace();
    } else if (event->type() == QEvent::KeyRelease) {
        m_gesture.releaseSpace();
        m_settle->start();
    }
    return true;
}

bool HandTool::mouseEvent(QMouseEvent* event)
{
    // Touch has its own gestures on the view.
    if (event->source() != Qt::MouseEventNotSynthesized)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_gesture.notePress();
        if (m_gesture.isActive())
            return true;
        if (!PanGesture::grabs(event->button(), m_gesture.spaceHeld(), scrollable()))
            return false;
        m_gesture.begin(event->button(), event->globalPos(), scrollValues());
        showHand(true);
        return true;
    case QEvent::MouseMove:
        if (!m_gesture.isActive())
            return false;
        {
            const QPoint values = m_gesture.scrollValuesAt(event->globalPos());
            m_area->horizontalScrollBar()->setValue(values.x());
            m_area->verticalScrollBar()->setValue(values.y());
        }
        return true;
    case QEvent::MouseButtonRelease:
        if (!m_gesture.isActive())
            return false;
        if (m_gesture.release(event->button()))
            showHand(false);
        return true;
    default:
        return false;
    }
}

bool HandTool::scrollable() const
{
    return m_area->horizontalScrollBar()->maximum() > m_area->horizontalScrollBar()->minimum() ||
           m_area->verticalScrollBar()->maximum() > m_area->verticalScrollBar()->minimum();
}

QPoint HandTool::scrollValues() const
{
    return QPoint(m_area->horizontalScrollBar()->value(), m_area->verticalScrollBar()->value());
}

void HandTool::showHand(bool on)
{
    if (on == m_handShown)
        return;
    m_handShown = on;
    // Over the canvas's own cursors, whichever widget the pointer crosses while dragging.
    if (on)
        QApplication::setOverrideCursor(Qt::ClosedHandCursor);
    else
        QApplication::restoreOverrideCursor();
}
