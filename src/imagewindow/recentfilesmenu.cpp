#include "imagewindow/recentfilesmenu.h"

#include "document/recentfiles.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

RecentFilesMenu::RecentFilesMenu(RecentFiles* files, QMenu* menu)
    : QObject(menu), m_files(files), m_menu(menu), m_group(new QActionGroup(this))
{
    m_group->setExclusive(false);
    connect(files, &RecentFiles::changed, this, &RecentFilesMenu::rebuild);
}

void RecentFilesMenu::rebuild()
{
    // Later, not now: an entry being triggered may be what changed the list.
    const QList<QAction*> old = m_group->actions();
    for (QAction* action : old) {
        m_group->removeAction(action);
        m_menu->removeAction(action);
        action->deleteLater();
    }
    if (!m_files->shown())
        return;
    m_group->addAction(m_menu->addSeparator());
    const QStringList entries = m_files->entries();
    for (int i = 0; i < entries.size(); ++i) {
        QAction* entry = m_menu->addAction(entryText(i, entries.at(i)));
        m_group->addAction(entry);
        entry->setData(i);
        if (m_connectEntry) {
            m_connectEntry(entry);
            continue;
        }
        // The position, not the path: an entry of a list that shrank since opens nothing.
        connect(entry, &QAction::triggered, this, [this, i] {
            const QString path = m_files->pathAt(i);
            if (!path.isEmpty())
                emit chosen(path);
        });
    }
}

QString RecentFilesMenu::entryText(int position, const QString& path)
{
    return QLatin1Char('&') + QString::number(position) + QLatin1String(": ") + path;
}
