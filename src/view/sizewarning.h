#pragma once

#include "document/picturestatus.h"

#include <functional>

// The picture size limits the user watches, from the settings, and the beep that warns of a
// picture outside them.
class SizeWarning
{
public:
    static PictureStatus::WatchLimits limits();
    static void beep();
    // Tests count beeps instead of sounding them; an empty function restores the real beep.
    static void setBeeper(std::function<void()> beeper);
};
