#include "view/picturesettings.h"

#include "document/picturewriter.h"
#include "settings/settings.h"

int PictureSettings::writeQuality(const QString& format, const QString& sourcePath)
{
    const Settings::General* general = Settings::instance()->general();
    return PictureWriter::quality(format, {general->qualityJPEG(), general->qualityPNG(),
                                           general->qualityWEBP()},
                                  sourcePath);
}
