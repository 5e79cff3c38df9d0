#pragma once

#include <QAction>
#include <QList>
#include <QObject>
#include <QStringList>

class QActionGroup;
class QMenu;

// The numbered recent-files entries at the end of a File menu, rebuilt from the settings each
// time the menu is about to show, and the file an entry opens. The image window's entries call
// its loadLast slot, which opens RecentFilesMenu::pathOf(sender()) through ImageFileCommands.
//
// The browser's FilesCentralWidget::updateFileMenu() calls rebuild with its own File menu,
// the image window's group and the image window as receiver. Recording a file that was read is
// RecentFileRecord's part; "&Delete all entries" is the settings dialog's.
class RecentFilesMenu
{
public:
    // Puts the entries of the stored list into menu, replacing those the group held in any
    // menu, and connects each to the receiver's slot.
    template <typename Receiver>
    static void rebuild(QActionGroup* group, QMenu* menu, Receiver* receiver,
                        void (Receiver::*loadLast)())
    {
        for (QAction* entry : rebuildEntries(group, menu))
            QObject::connect(entry, &QAction::triggered, receiver, loadLast);
    }

    // As rebuild, returning the new entries; none when the list is not to be shown.
    static QList<QAction*> rebuildEntries(QActionGroup* group, QMenu* menu);

    // The stored file an entry stands for; empty when the list changed and it has none.
    static QString pathOf(const QAction* entry);

    // The list as far as it is kept: its first lastN entries.
    static QStringList kept(const QStringList& lasts, int lastN);
    // "&" and the position counted from 0, ": ", then the path.
    static QString entryText(int position, const QString& path);
};
