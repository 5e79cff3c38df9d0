#include "view/pangesture.h"

bool PanGesture::grabs(Qt::MouseButton button, bool spaceHeld, bool scrollable)
{
    if (button == Qt::MiddleButton)
        return scrollable;
    return button == Qt::LeftButton && spaceHeld;
}

void PanGesture::begin(Qt::MouseButton button, const QPoint& pointer, const QPoint& scrollValues)
{
    m_button = button;
    m_pressPointer = pointer;
    m_pressScroll = scrollValues;
}

QPoint PanGesture::scrollValuesAt(const QPoint& pointer) const
{
    // The picture follows the hand: dragging right shows more of its left side.
    return m_pressScroll - (pointer - m_pressPointer);
}

bool PanGesture::release(Qt::MouseButton button)
{
    if (!isActive() || button != m_button)
        return false;
    m_button = Qt::NoButton;
    return true;
}

void PanGesture::pressSpace()
{
    if (m_releasePending) {
        m_releasePending = false;
        m_spaceHeld = true;
        return;
    }
    if (m_spaceHeld)
        return;
    m_spaceHeld = true;
    m_spaceUsed = false;
}

void PanGesture::notePress()
{
    if (m_spaceHeld)
        m_spaceUsed = true;
}

void PanGesture::releaseSpace()
{
    if (!m_spaceHeld)
        return;
    m_spaceHeld = false;
    m_releasePending = true;
}

bool PanGesture::settleSpace()
{
    if (!m_releasePending)
        return false;
    m_releasePending = false;
    const bool tap = !m_spaceUsed;
    m_spaceUsed = false;
    return tap;
}

void PanGesture::forgetSpace()
{
    m_spaceHeld = false;
    m_spaceUsed = false;
    m_releasePending = false;
}
