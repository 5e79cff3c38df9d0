#include "imagewindow/recentfilesmenu.h"

#include "settings/settings.h"

#include <QActionGroup>
#include <QMenu>

#include <algorithm>

QList<QAction*> RecentFilesMenu::rebuildEntries(QActionGroup* group, QMenu* menu)
{
    // The old entries may sit in the other File menu, so they leave every widget at once.
    const QList<QAction*> old = group->actions();
    for (QAction* action : old) {
        group->removeAction(action);
        for (QWidget* widget : action->associatedWidgets())
            widget->removeAction(action);
        action->deleteLater();
    }
    QList<QAction*> entries;
    Settings::General* general = Settings::instance()->general();
    if (!general->showLastFiles())
        return entries;
    group->addAction(menu->addSeparator());
    const QStringList lasts = general->lasts();
    const QStringList shown = kept(lasts, general->lastN());
    for (int i = 0; i < shown.size(); ++i) {
        QAction* entry = menu->addAction(entryText(i, shown.at(i)));
        entry->setData(i);
        group->addAction(entry);
        entries.append(entry);
    }
    // A lowered limit shortens the stored list too; an unchanged one is not written again, so
    // opening the menu costs no disk write.
    if (shown.size() != lasts.size()) {
        general->setLasts(shown);
        Settings::sync();
    }
    return entries;
}

QString RecentFilesMenu::pathOf(const QAction* entry)
{
    if (!entry)
        return QString();
    bool ok = false;
    const int position = entry->data().toInt(&ok);
    const QStringList lasts = Settings::instance()->general()->lasts();
    return ok && position >= 0 && position < lasts.size() ? lasts.at(position) : QString();
}

QStringList RecentFilesMenu::kept(const QStringList& lasts, int lastN)
{
    return lasts.mid(0, std::max(0, lastN));
}

QString RecentFilesMenu::entryText(int position, const QString& path)
{
    return QLatin1Char('&') + QString::number(position) + QLatin1String(": ") + path;
}
