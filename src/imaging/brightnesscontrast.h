#pragma once

#include "imaging/channeltables.h"

#include <QImage>

namespace imaging {

// Brightness, contrast and gamma through one 256-entry table applied to red, green and blue.

// Output channel value for each input value; each control runs from -100 to 100 (values
// outside are clamped) and all three at 0 give the identity. Contrast is applied first, then
// brightness, then gamma.
ChannelTable brightnessContrastGammaTable(int brightness, int contrast, int gamma);

// Writes into target the source with the table of the three slider values applied to red,
// green and blue and alpha made 255. A picture with a colour table is left as it is (target
// becomes the source). Other layouts than 32-bit words are converted first, so the result then
// is a 32-bit picture. False when memory for the result could not be had.
bool adjustBrightnessContrastGamma(const QImage& source, QImage& target, int brightness,
                                   int contrast, int gamma);

} // namespace imaging
