#pragma once

#include "imaging/readlimits.h"

#include <QByteArray>
#include <QImage>

class QIODevice;

namespace imaging {

// Whether the JPEG on the device holds four channels (CMYK, or YCCK that decodes to CMYK),
// told from its markers alone; the device is left where it was. False for anything else.
bool isCmykJpeg(QIODevice* device);

// Decodes a four-channel JPEG to an sRGB image (Format_RGB32, colour space sRGB), through its
// embedded CMYK profile, else through fallbackProfile, else by the plain ink formula. Adobe's
// inverted samples are told by its marker. scaleDenominator 1, 2, 4 or 8 decodes that much
// smaller. Null for data that is not such a JPEG, is too large for the limits or is corrupt;
// a truncated file decodes as far as it goes.
QImage decodeCmykJpeg(const QByteArray& data, const ReadLimits& limits,
                      const QByteArray& fallbackProfile, int scaleDenominator = 1);

// The size decodeCmykJpeg() gives, from the header alone; invalid when it would fail.
QSize cmykJpegSize(const QByteArray& data, int scaleDenominator = 1);

// A CMYK profile installed on this machine for pictures that carry none (empty when there is
// none): read once.
QByteArray defaultCmykProfile();

} // namespace imaging
