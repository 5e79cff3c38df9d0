#pragma once

#include <QImage>

namespace imaging {

// Fills the part of area inside the picture with opaque black, in place. A picture with a
// colour table gets a black entry when it has room; one without room changes to a format that
// holds black.
void blackenArea(QImage& image, const QRect& area);

} // namespace imaging
