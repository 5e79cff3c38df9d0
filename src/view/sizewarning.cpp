#include "view/sizewarning.h"

#include "settings/settings.h"

#include <QApplication>

namespace {

std::function<void()>& installedBeeper()
{
    static std::function<void()> beeper;
    return beeper;
}

} // namespace

PictureStatus::WatchLimits SizeWarning::limits()
{
    const Settings::General* general = Settings::instance()->general();
    PictureStatus::WatchLimits limits;
    limits.widthMin = general->watchWidthMin();
    limits.widthMax = general->watchWidthMax();
    limits.heightMin = general->watchHeightMin();
    limits.heightMax = general->watchHeightMax();
    limits.widthMinValue = general->widthMinValue();
    limits.widthMaxValue = general->widthMaxValue();
    limits.heightMinValue = general->heightMinValue();
    limits.heightMaxValue = general->heightMaxValue();
    return limits;
}

void SizeWarning::beep()
{
    if (installedBeeper())
        installedBeeper()();
    else
        QApplication::beep();
}

void SizeWarning::setBeeper(std::function<void()> beeper)
{
    installedBeeper() = std::move(beeper);
}
