#pragma once

#include <QSplitter>

// A splitter whose handle can shrink to a hairline, for touch layouts that need the room.
class LumoSplitter : public QSplitter
{
    Q_OBJECT

public:
    explicit LumoSplitter(QWidget* parent = nullptr);
    explicit LumoSplitter(Qt::Orientation orientation, QWidget* parent = nullptr);

    void setThinHandleModeEnabled(bool on);
    bool thinHandleModeEnabled() const { return m_thinHandleMode; }

private:
    bool m_thinHandleMode = false;
    int m_normalHandleWidth = -1;
};
