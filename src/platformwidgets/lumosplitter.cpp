#include "platformwidgets/lumosplitter.h"

LumoSplitter::LumoSplitter(QWidget* parent)
    : QSplitter(parent)
{
}

LumoSplitter::LumoSplitter(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent)
{
}

void LumoSplitter::setThinHandleModeEnabled(bool on)
{
    if (on == m_thinHandleMode)
        return;
    m_thinHandleMode = on;
    if (on) {
        // Remembered so switching back restores what the style or the caller had chosen.
        m_normalHandleWidth = handleWidth();
        setHandleWidth(1);
    } else {
        setHandleWidth(m_normalHandleWidth);
    }
}
