#pragma once

#include <QProxyStyle>

// The application's style, except that a menu taller than the screen scrolls instead of spreading
// into columns: a list of a hundred windows stays one list.
class ScrollingMenuStyle : public QProxyStyle
{
    Q_OBJECT

public:
    ScrollingMenuStyle() = default;

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};
