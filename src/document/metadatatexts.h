#pragma once

#include <QCoreApplication>
#include <QPair>
#include <QString>
#include <QVector>

namespace Exiv2 {
class ExifData;
class Exifdatum;
} // namespace Exiv2

// The Exif data of a picture in words for the metadata panel: Exiv2's interpreted values, dates
// and positions in the user's locale, maker notes and binary blobs summarised, never dumped.
class MetadataTexts
{
    Q_DECLARE_TR_FUNCTIONS(MetadataTexts)

public:
    using Row = QPair<QString, QString>; // label, value

    // What the metadata panel shows of a file.
    struct Table
    {
        bool readable = false; // false when Exiv2 does not know the file or it is damaged
        QVector<Row> rows;     // none in a readable file that carries no Exif
    };

    // Read through a decoder helper, or here while the decoder pool says so; only regular
    // files are read.
    static Table read(const QString& path);
    // Read from the file's bytes in this process.
    static Table readHere(const uchar* data, qint64 size);

    // One row per datum, in the data's order; the vendors' maker-note groups, what only
    // locates parts of the file (pointers, offsets, byte counts, the thumbnail's tags) and the
    // GPS references shown within the position's rows are left out.
    static QVector<Row> rows(const Exiv2::ExifData& exif);

    // The datum's value; exif gives the context some values are printed in.
    static QString value(const Exiv2::Exifdatum& datum, const Exiv2::ExifData& exif);

    // Values as a photographer reads them: "1/125 s", "f/2.8", "50 mm", "Fired, auto mode".
    // Empty for a value no camera could have meant.
    static QString exposureText(double seconds);
    static QString apertureText(double fNumber);
    static QString focalLengthText(double millimetres);
    static QString flashText(long flash);
};
