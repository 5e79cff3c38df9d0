#pragma once

#include <QByteArray>
#include <QSize>

class QIODevice;

namespace imaging {

// What a file's own framing says before any of it is decoded: whether every part it declares
// ends within the file, and how many bits a pixel takes as stored. Several readers allocate the
// length a part declares before reading it, so a tiny file announcing a part of gigabytes must
// be turned away before such a reader is even asked for the picture's size. Only the formats
// whose framing is known are walked (PNG, MNG, ANI, PSD, Sun raster, BMP, TGA); any other passes.
struct FileStructure
{
    bool lengthsWithinFile = true;
    // Bits a pixel takes in the stored data (PNG, BMP, TGA); 0 when the format does not say.
    int storedBitsPerPixel = 0;
    // The pixels are run-length coded (BMP, TGA), which has no fixed bits a pixel.
    bool runLengths = false;
    // The size the header announces, read here for formats whose readers may not tell it (TGA).
    QSize declaredSize;

    // Walks the file on the device, whose position is kept; format is a reader's format name.
    static FileStructure inspect(QIODevice* device, const QByteArray& format);
};

} // namespace imaging
