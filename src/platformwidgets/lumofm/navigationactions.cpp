#include "platformwidgets/lumofm/navigationactions.h"

#include "platform/lumofm/navigation.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>

namespace LumoFM {

namespace {

QAction* makeAction(const QString& iconName, const QString& text, const QKeySequence& shortcut,
                    QObject* parent)
{
    auto* action = new QAction(QIcon::fromTheme(iconName), text, parent);
    action->setShortcut(shortcut);
    action->setToolTip(QStringLiteral("%1 (%2)").arg(
        text, shortcut.toString(QKeySequence::NativeText)));
    return action;
}

} // namespace

NavigationActions::NavigationActions(Navigation* navigation, QObject* parent)
    : QObject(parent)
    , m_navigation(navigation)
    , m_back(makeAction(QStringLiteral("go-previous"), tr("Back"),
                        QKeySequence(Qt::ALT | Qt::Key_Left), this))
    , m_forward(makeAction(QStringLiteral("go-next"), tr("Forward"),
                           QKeySequence(Qt::ALT | Qt::Key_Right), this))
    , m_up(makeAction(QStringLiteral("go-up"), tr("Up"), QKeySequence(Qt::ALT | Qt::Key_Up), this))
{
    if (m_navigation) {
        connect(m_back, &QAction::triggered, m_navigation, &Navigation::back);
        connect(m_forward, &QAction::triggered, m_navigation, &Navigation::forward);
        connect(m_up, &QAction::triggered, m_navigation, &Navigation::up);
        connect(m_navigation, &Navigation::currentChanged, this, &NavigationActions::updateEnabled);
        connect(m_navigation, &QObject::destroyed, this, &NavigationActions::updateEnabled);
    }
    updateEnabled();
}

void NavigationActions::addToToolBar(QToolBar* toolBar) const
{
    if (!toolBar)
        return;
    toolBar->addAction(m_back);
    toolBar->addAction(m_forward);
    toolBar->addAction(m_up);
}

void NavigationActions::updateEnabled()
{
    // The guard is already empty when the navigation announces its destruction.
    const bool alive = !m_navigation.isNull();
    m_back->setEnabled(alive && m_navigation->canGoBack());
    m_forward->setEnabled(alive && m_navigation->canGoForward());
    m_up->setEnabled(alive && m_navigation->canGoUp());
}

} // namespace LumoFM
