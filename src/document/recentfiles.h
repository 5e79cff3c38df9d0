#pragma once

#include <QObject>
#include <QStringList>

// The recently read files, newest first, and the directory of the last one, as the settings
// store them. Everything that changes them goes through here, so whoever shows them hears of it.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    explicit RecentFiles(QObject* parent = nullptr);

    // Whether the File menus list them at all.
    bool shown() const;
    // The stored list as far as it is kept; a lowered limit shortens the stored list too.
    QStringList entries();
    // Empty when the list has no such position (it shrank since an entry was made).
    QString pathAt(int position) const;

public slots:
    // A file that was read: first in the list, its directory the last one.
    void add(const QString& path);
    // Forgets the list and the last directory.
    void clear();

signals:
    void changed();
};
