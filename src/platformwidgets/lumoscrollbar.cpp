#include "platformwidgets/lumoscrollbar.h"

namespace {
// Thin enough to stay out of the picture, thick enough to see where the view is.
const char* const kIndicatorStyle =
    "QScrollBar:vertical { width: 4px; background: transparent; }"
    "QScrollBar:horizontal { height: 4px; background: transparent; }"
    "QScrollBar::handle { background: palette(mid); border-radius: 2px; min-width: 16px;"
    " min-height: 16px; }"
    "QScrollBar::add-line, QScrollBar::sub-line { width: 0px; height: 0px; border: none; }"
    "QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }";
} // namespace

LumoScrollBar::LumoScrollBar(QWidget* parent)
    : QScrollBar(parent)
{
}

LumoScrollBar::LumoScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent)
{
}

void LumoScrollBar::setIndicatorMode(bool on)
{
    if (on == m_indicatorMode)
        return;
    m_indicatorMode = on;
    setStyleSheet(on ? QString::fromLatin1(kIndicatorStyle) : QString());
}
