#pragma once

#include "imaging/readlimits.h"

#include <QImage>
#include <QString>

// Reads a picture file with its stored orientation applied, without trusting the size its
// header announces: a picture too big for the machine's memory is an unreadable file.
class PictureReader
{
public:
    struct Result
    {
        QImage image; // null when the file cannot be read
        QString format;
    };

    static Result read(const QString& path,
                       const imaging::ReadLimits& limits = imaging::ReadLimits::forThisMachine());
};
