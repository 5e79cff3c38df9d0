#pragma once

#include <QImage>

namespace imaging {

// The source as its negative, in its own format: every colour's red, green and blue turned
// round, alpha kept. An indexed picture has its colour table turned, not its indexes.
QImage invertedColours(const QImage& source);

} // namespace imaging
