#pragma once

#include "document/picturemetadata.h"

#include <QCoreApplication>
#include <QString>

class QImage;

// Writes a picture file at a given quality, so that a write that fails for
// any reason, a full disk included, leaves the old file as it was.
class PictureWriter
{
    Q_DECLARE_TR_FUNCTIONS(PictureWriter)

public:
    // The qualities in the settings, as stored.
    struct Stored
    {
        int jpeg = 0;
        int png = 0;
        int webp = 0;
    };

    // JPEG and WebP take a stored quality of 1..100 and the library default otherwise; PNG takes
    // its stored value as it is; other formats take the library default.
    static int quality(const QString& format, const Stored& stored);
    // As above, except that JPEG without a stored quality, for a picture read from the JPEG file
    // at sourcePath, keeps about the quality that file has, or a high one when it cannot tell:
    // the library default would drop a camera photo to a visibly lower quality.
    static int quality(const QString& format, const Stored& stored, const QString& sourcePath);
    // The number the image library writes format at for quality, where -1 asks for its default:
    // known for JPEG and WebP, -1 for the rest.
    static int effectiveQuality(const QString& format, int quality);
    // The file a write to path lands in: the final target when path is a symbolic link.
    static QString targetPath(const QString& path);
    // False with a reason in *error when the file could not be written completely. Metadata
    // the format can hold goes into the file; when that fails the picture is written without it
    // and *metadataError says why.
    static bool write(const QImage& image, const QString& path, const QString& format,
                      int quality, QString* error,
                      const PictureMetadata& metadata = PictureMetadata(),
                      QString* metadataError = nullptr);
    // For a file in a folder that takes no new files, where it can only be overwritten in
    // place: false with a reason in *error, and the old content kept, when the new one does
    // not fit.
    static bool rewriteInPlace(const QByteArray& bytes, const QString& path, QString* error);
};
