#pragma once

#include <QAction>
#include <QObject>

#include <functional>

class QActionGroup;
class QMenu;
class RecentFiles;

// The numbered recent-files entries at the end of one File menu, made again from the list when
// the owner asks (before the menu shows) and whenever the list changes. Each menu has its own
// entries; choosing one names its file, and the owner decides where it opens. Each entry carries
// its position in the list as its data.
class RecentFilesMenu : public QObject
{
    Q_OBJECT

public:
    // A child of menu; files outlives it.
    RecentFilesMenu(RecentFiles* files, QMenu* menu);

    // "&" and the position counted from 0, ": ", then the path.
    static QString entryText(int position, const QString& path);

    // The entries made from now on trigger slot, which finds the position in its sender's data,
    // instead of announcing chosen.
    template <typename Receiver>
    void setEntrySlot(Receiver* receiver, void (Receiver::*slot)())
    {
        m_connectEntry = [receiver, slot](QAction* entry) {
            QObject::connect(entry, &QAction::triggered, receiver, slot);
        };
    }

public slots:
    void rebuild();

signals:
    void chosen(const QString& path);

private:
    RecentFiles* m_files;
    QMenu* m_menu;
    // The separator and the entries, so they leave together.
    QActionGroup* m_group;
    std::function<void(QAction*)> m_connectEntry;
};
