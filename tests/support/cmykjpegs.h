#pragma once

// CMYK JPEGs made with libjpeg, the way print software writes them, for the tests of reading
// and showing them.

#include <QByteArray>
#include <QSize>
#include <QVector>

namespace cmykjpegs {

enum class Samples { Plain, AdobeInverted, AdobeYcck };

// A JPEG of one ink colour (per channel 0 no ink, 255 full), stored as samples says, with the
// profile embedded when one is given.
QByteArray encoded(const QSize& size, const QVector<int>& ink, Samples samples,
                   const QByteArray& profile = QByteArray());

// The press profile Debian installs (libgs-common); empty without it.
QByteArray pressProfile();

} // namespace cmykjpegs
