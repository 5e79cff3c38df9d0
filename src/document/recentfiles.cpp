#include "document/recentfiles.h"

#include "document/recentfilerecord.h"
#include "settings/settings.h"

#include <QTimer>

#include <algorithm>

RecentFiles::RecentFiles(QObject* parent) : QObject(parent) {}

bool RecentFiles::shown() const
{
    return Settings::instance()->general()->showLastFiles();
}

QStringList RecentFiles::entries()
{
    Settings::General* general = Settings::instance()->general();
    const QStringList lasts = general->lasts();
    const QStringList kept = lasts.mid(0, std::max(0, general->lastN()));
    // An unchanged list is not written again, so showing a menu costs no disk write.
    if (kept.size() != lasts.size()) {
        general->setLasts(kept);
        Settings::sync();
    }
    return kept;
}

QString RecentFiles::pathAt(int position) const
{
    const QStringList lasts = Settings::instance()->general()->lasts();
    return position >= 0 && position < lasts.size() ? lasts.at(position) : QString();
}

void RecentFiles::add(const QString& path)
{
    Settings::General* general = Settings::instance()->general();
    const QStringList lasts = general->lasts();
    general->setLastDir(RecentFileRecord::directoryOf(path));
    general->setLasts(RecentFileRecord::listWith(lasts, path, general->lastN()));
    // Writing the store to disk waits for the disk; the picture is shown first.
    QTimer::singleShot(0, Settings::instance(), [] { Settings::sync(); });
    emit changed();
}

void RecentFiles::clear()
{
    Settings::General* general = Settings::instance()->general();
    general->setLasts(QStringList());
    general->setLastDir(QString());
    Settings::sync();
    emit changed();
}
