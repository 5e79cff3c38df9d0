#pragma once

#include <QScrollBar>

// A scroll bar that can shrink to a slim indicator, as touch desktops show it.
class LumoScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    explicit LumoScrollBar(QWidget* parent = nullptr);
    explicit LumoScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    void setIndicatorMode(bool on);
    bool indicatorMode() const { return m_indicatorMode; }

private:
    bool m_indicatorMode = false;
};
