#include "platformwidgets/lumofm/refreshaction.h"

#include "platform/lumofm/navigation.h"

#include <QIcon>
#include <QToolBar>

namespace LumoFM {

RefreshAction::RefreshAction(Navigation* navigation, QObject* parent)
    : QAction(QIcon::fromTheme(QStringLiteral("view-refresh")), tr("Refresh"), parent)
    , m_navigation(navigation)
{
    setShortcut(QKeySequence(Qt::Key_F5));
    setToolTip(tr("Refresh (%1)").arg(shortcut().toString(QKeySequence::NativeText)));
    if (m_navigation) {
        connect(this, &QAction::triggered, m_navigation, &Navigation::refresh);
        connect(m_navigation, &Navigation::currentChanged, this, &RefreshAction::updateEnabled);
        connect(m_navigation, &QObject::destroyed, this, &RefreshAction::updateEnabled);
    }
    updateEnabled();
}

void RefreshAction::addToToolBar(QToolBar* toolBar)
{
    if (toolBar)
        toolBar->addAction(this);
}

void RefreshAction::updateEnabled()
{
    setEnabled(m_navigation && m_navigation->current().isValid());
}

} // namespace LumoFM
