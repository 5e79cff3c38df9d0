#pragma once

#include "imaging/readlimits.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// Reads a picture file with its stored orientation applied, without trusting the size its
// header announces: a picture too big for the machine's memory is an unreadable file. Pixels
// keep the colour space the file gives them, beside an sRGB copy for the screen; CMYK JPEGs
// are read as sRGB pixels through their profile.
class PictureReader
{
public:
    struct Result
    {
        QImage image; // null when the file cannot be read
        QString format;
        QImage display; // image in sRGB for the screen; null when image shows as it is
    };

    // A quick look at a picture, decoded at the size it will be shown.
    struct StandIn
    {
        // Null when the shown size is not smaller, or the picture is not readable; in sRGB.
        QImage image;
        QSize pictureSize;
    };
    // The size a picture of the given (oriented) size is shown at; invalid for full size.
    using ShownSize = std::function<QSize(const QSize& pictureSize)>;

    static Result read(const QString& path,
                       const imaging::ReadLimits& limits = imaging::ReadLimits::forThisMachine());
    static StandIn readScaled(const QString& path, const ShownSize& shownSize,
                              const imaging::ReadLimits& limits =
                                  imaging::ReadLimits::forThisMachine());
};
