#pragma once

#include "imaging/readlimits.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>

#include <functional>

class QFile;

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
        QString failure; // why image is null, when more is known than that the file is unreadable
        QVector<QImage> copies; // smaller copies for the screen, when made while read ahead
    };

    // A quick look at a picture, decoded at the size it will be shown, or its top left corner
    // at full size.
    struct StandIn
    {
        // Null when the shown size is not smaller, or the picture is not readable; in sRGB.
        QImage image;
        QSize pictureSize;
        bool corner = false;
    };
    // The size a picture of the given (oriented) size is shown at; invalid for full size.
    using ShownSize = std::function<QSize(const QSize& pictureSize)>;

    static Result read(const QString& path,
                       const imaging::ReadLimits& limits = imaging::ReadLimits::forThisMachine());
    static StandIn readScaled(const QString& path, const ShownSize& shownSize,
                              const imaging::ReadLimits& limits =
                                  imaging::ReadLimits::forThisMachine());
    // Where a decoder that can fill a given image may put the pixels: a blank image of the
    // announced size and format.
    using Canvas = std::function<QImage(const QSize& size, QImage::Format format)>;

    // The same from a file open for reading, whose name tells the format when its contents do
    // not.
    static Result read(QFile* file,
                       const imaging::ReadLimits& limits = imaging::ReadLimits::forThisMachine(),
                       const Canvas& canvas = Canvas());
    static StandIn readScaled(QFile* file, const ShownSize& shownSize,
                              const imaging::ReadLimits& limits =
                                  imaging::ReadLimits::forThisMachine());
    // The top left corner of a picture larger than area, at full size and at most area large,
    // for a picture shown at 100 %: decoders that stop after the rows asked for give it in a
    // fraction of the whole read. None for a picture turned by its stored orientation, or in a
    // format whose decoder reads it whole anyway.
    static StandIn readCorner(QFile* file, const QSize& area,
                              const imaging::ReadLimits& limits =
                                  imaging::ReadLimits::forThisMachine());
    // The size a JPEG stored at stored is decoded at for a stand-in wanted at wanted. It decodes
    // at a half, a quarter or an eighth in a fraction of the time, and Qt's reader takes the
    // next larger of those and scales it down: one up to a tenth smaller than wanted is taken
    // as it is, as decoding twice the pixels costs more than the enlargement shows.
    static QSize jpegStandInSize(const QSize& stored, const QSize& wanted);
};
