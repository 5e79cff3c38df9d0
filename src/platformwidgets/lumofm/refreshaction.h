#pragma once

#include <QAction>
#include <QPointer>

class QToolBar;

namespace LumoFM {

class Navigation;

// Re-reads the navigation's current directory (F5).
class RefreshAction : public QAction
{
    Q_OBJECT

public:
    explicit RefreshAction(Navigation* navigation, QObject* parent = nullptr);

    void addToToolBar(QToolBar* toolBar);

private:
    void updateEnabled();

    QPointer<Navigation> m_navigation;
};

} // namespace LumoFM
