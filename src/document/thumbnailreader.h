#pragma once

#include <QImage>

class QFile;

// Decodes a picture file at thumbnail size, in sRGB with its orientation applied, shrinking
// while decoding where the format can.
class ThumbnailReader
{
public:
    // The file is open for reading and named, so its suffix can tell the format. Null when it
    // cannot be read.
    static QImage read(QFile* file, int edge);

    // The decoded size for a picture of fullSize: aspect kept, long edge at most edge, never
    // enlarged.
    static QSize scaledSize(const QSize& fullSize, int edge);
};
