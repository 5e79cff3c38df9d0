#include "view/picturesettings.h"

#include "document/picturewriter.h"
#include "document/recentfilerecord.h"
#include "settings/settings.h"

#include <QTimer>

int PictureSettings::writeQuality(const QString& format)
{
    const Settings::General* general = Settings::instance()->general();
    return PictureWriter::quality(format, general->qualityJPEG(), general->qualityPNG());
}

void PictureSettings::recordRead(const QString& path)
{
    Settings::General* general = Settings::instance()->general();
    const QStringList lasts = general->lasts();
    general->setLastDir(RecentFileRecord::directoryOf(path));
    general->setLasts(RecentFileRecord::listWith(lasts, path, general->lastN()));
    // Writing the store to disk waits for the disk; the picture is shown first.
    QTimer::singleShot(0, Settings::instance(), [] { Settings::sync(); });
}
