#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QToolBar;

namespace LumoFM {

class Navigation;

// Back, Forward and Up for a Navigation, enabled as its history allows.
class NavigationActions : public QObject
{
    Q_OBJECT

public:
    explicit NavigationActions(Navigation* navigation, QObject* parent = nullptr);

    QAction* backAction() const { return m_back; }
    QAction* forwardAction() const { return m_forward; }
    QAction* upAction() const { return m_up; }

    void addToToolBar(QToolBar* toolBar) const;

private:
    void updateEnabled();

    QPointer<Navigation> m_navigation;
    QAction* m_back;
    QAction* m_forward;
    QAction* m_up;
};

} // namespace LumoFM
