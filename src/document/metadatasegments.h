#pragma once

#include <QByteArray>
#include <QSize>

// Tells whether a file written by a decoder helper differs from the program's own encoded
// picture only inside metadata, without decoding either: the helper may have been taken over
// by the file whose metadata it embedded, and it must not choose what picture is saved.
class MetadataSegments
{
public:
    // True when written equals original once the metadata of each is left out: in JPEG the
    // segments APP1 to APP13, APP15 and COM; in PNG the chunks eXIf, iTXt, tEXt and zTXt; in
    // WebP the chunks EXIF, XMP and ICCP, and the extended header that announces them at the
    // picture's size. False for any other format, and for files that do not parse.
    static bool differOnlyInMetadata(const QByteArray& original, const QByteArray& written,
                                     const QSize& size);
};
