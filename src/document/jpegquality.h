#pragma once

#include <QByteArray>
#include <QString>

// Tells the quality a JPEG file was written at from its luminance quantisation table, so that
// re-saving a photo keeps roughly the quality it came with.
class JpegQuality
{
public:
    // The quality 1..100 whose standard scaled table is closest to the file's luminance table,
    // or -1 when the bytes are no JPEG or hold no such table before the first scan. Reads only
    // inside bytes, whatever they hold.
    static int estimate(const QByteArray& bytes);
    // Whether the file starts like a JPEG, whatever its name says.
    static bool isJpegFile(const QString& path);
    // The estimate for the file's first bytes.
    static int ofFile(const QString& path);
};
