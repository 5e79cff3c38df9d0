#include "document/metadatatexts.h"

#include "decoding/decoderpool.h"
#include "document/isolatedreader.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include <exiv2/exiv2.hpp>

#include <cmath>
#include <exception>
#include <limits>
#include <string>

namespace {

// Longer binary values are noise in a two-column table.
const long largestShownBinary = 64;

QString fromExiv(const std::string& text)
{
    return QString::fromLocal8Bit(text.c_str());
}

bool isDate(const std::string& key)
{
    return key == "Exif.Image.DateTime" || key == "Exif.Image.DateTimeOriginal" ||
           key == "Exif.Photo.DateTimeOriginal" || key == "Exif.Photo.DateTimeDigitized";
}

bool isMakerNoteGroup(const std::string& group)
{
    return group == "MakerNote" || Exiv2::ExifTags::isMakerGroup(group);
}

// Where the file keeps its parts, the embedded thumbnail's own tags, and the GPS references
// the position's rows already show: nothing a user reads on a row of its own.
bool isInternal(const Exiv2::Exifdatum& datum)
{
    if (datum.groupName() == "Thumbnail")
        return true;
    static const char* const names[] = {
        "ExifTag",         "GPSTag",         "InteroperabilityTag",   "SubIFDs",
        "StripOffsets",    "StripByteCounts", "TileOffsets",          "TileByteCounts",
        "RowsPerStrip",    "JPEGInterchangeFormat", "JPEGInterchangeFormatLength",
        "GPSLatitudeRef",  "GPSLongitudeRef", "GPSAltitudeRef"};
    const std::string name = datum.tagName();
    for (const char* internal : names)
        if (name == internal)
            return true;
    return false;
}

bool isBinaryType(Exiv2::TypeId type)
{
    return type == Exiv2::undefined || type == Exiv2::unsignedByte || type == Exiv2::signedByte;
}

// Tags of a binary type that Exiv2 decodes into text.
bool isText(const std::string& key)
{
    static const char* const keys[] = {"Exif.Photo.UserComment",
                                       "Exif.Image.XPTitle",
                                       "Exif.Image.XPComment",
                                       "Exif.Image.XPAuthor",
                                       "Exif.Image.XPKeywords",
                                       "Exif.Image.XPSubject",
                                       "Exif.GPSInfo.GPSProcessingMethod",
                                       "Exif.GPSInfo.GPSAreaInformation"};
    for (const char* textKey : keys)
        if (key == textKey)
            return true;
    return false;
}

QString dateText(const Exiv2::Exifdatum& datum)
{
    const QDateTime dateTime = QDateTime::fromString(fromExiv(datum.toString()).trimmed(),
                                                     QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    return dateTime.isValid() ? QLocale().toString(dateTime, QLocale::ShortFormat) : QString();
}

QString siblingText(const Exiv2::ExifData& exif, const char* key)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    return it == exif.end() ? QString() : fromExiv(it->toString()).trimmed();
}

// Degrees, minutes and seconds as three rationals, shown to a tenth of a second.
QString degreesText(const Exiv2::Exifdatum& datum, const Exiv2::ExifData& exif, const char* refKey)
{
    if (datum.count() != 3)
        return QString();
    double degrees = 0;
    double unit = 1;
    for (long i = 0; i < 3; ++i, unit *= 60) {
        const Exiv2::Rational part = datum.toRational(i);
        if (part.second == 0)
            return QString();
        degrees += double(part.first) / part.second / unit;
    }
    if (degrees < 0 || degrees > 180)
        return QString();
    // Rounding the total first carries 59.96″ over into the next minute.
    const qint64 tenths = qRound64(degrees * 36000);
    QString text = QStringLiteral("%1° %2′ %3″")
                       .arg(tenths / 36000)
                       .arg(tenths / 600 % 60)
                       .arg(QLocale().toString((tenths % 600) / 10.0, 'f', 1));
    const QString ref = siblingText(exif, refKey);
    if (!ref.isEmpty())
        text += QLatin1Char(' ') + ref;
    return text;
}

QString altitudeText(const Exiv2::Exifdatum& datum, const Exiv2::ExifData& exif)
{
    if (datum.count() != 1)
        return QString();
    const Exiv2::Rational altitude = datum.toRational(0);
    if (altitude.second == 0)
        return QString();
    double metres = double(altitude.first) / altitude.second;
    if (siblingText(exif, "Exif.GPSInfo.GPSAltitudeRef") == QLatin1String("1"))
        metres = -metres; // below sea level
    return MetadataTexts::tr("%1 m").arg(QLocale().toString(metres, 'f', 1));
}

// The first rational of a datum as a number; false when it has none or divides by zero.
bool number(const Exiv2::Exifdatum& datum, double* value)
{
    if (datum.count() < 1)
        return false;
    const Exiv2::Rational ratio = datum.toRational(0);
    if (ratio.second == 0)
        return false;
    *value = double(ratio.first) / ratio.second;
    return true;
}

QString apexText(const Exiv2::Exifdatum& datum, QString (*text)(double))
{
    double apex = 0;
    // Beyond these the camera's number is nonsense, and pow() would overflow.
    return number(datum, &apex) && apex > -64 && apex < 64 ? text(apex) : QString();
}

QString valueText(const Exiv2::Exifdatum& datum, QString (*text)(double))
{
    double value = 0;
    return number(datum, &value) ? text(value) : QString();
}

QString shutterText(double apex)
{
    return MetadataTexts::exposureText(std::pow(2.0, -apex));
}

QString apertureApexText(double apex)
{
    return MetadataTexts::apertureText(std::pow(2.0, apex / 2));
}

QString sensitivityTypeText(long type)
{
    switch (type) {
    case 1:
        return MetadataTexts::tr("Standard output sensitivity");
    case 2:
        return MetadataTexts::tr("Recommended exposure index");
    case 3:
        return MetadataTexts::tr("ISO speed");
    case 4:
        return MetadataTexts::tr("Standard output sensitivity and recommended exposure index");
    case 5:
        return MetadataTexts::tr("Standard output sensitivity and ISO speed");
    case 6:
        return MetadataTexts::tr("Recommended exposure index and ISO speed");
    case 7:
        return MetadataTexts::tr(
            "Standard output sensitivity, recommended exposure index and ISO speed");
    default:
        return MetadataTexts::tr("Unknown");
    }
}

bool isPixelCount(const std::string& key)
{
    return key == "Exif.Photo.PixelXDimension" || key == "Exif.Photo.PixelYDimension" ||
           key == "Exif.Image.ImageWidth" || key == "Exif.Image.ImageLength";
}

QString interpretedText(const Exiv2::Exifdatum& datum, const Exiv2::ExifData& exif)
{
    const std::string key = datum.key();
    if (isDate(key))
        return dateText(datum);
    if (key == "Exif.Photo.ExposureTime")
        return valueText(datum, &MetadataTexts::exposureText);
    if (key == "Exif.Photo.ShutterSpeedValue")
        return apexText(datum, &shutterText);
    if (key == "Exif.Photo.FNumber")
        return valueText(datum, &MetadataTexts::apertureText);
    if (key == "Exif.Photo.ApertureValue" || key == "Exif.Photo.MaxApertureValue")
        return apexText(datum, &apertureApexText);
    if (key == "Exif.Photo.FocalLength" || key == "Exif.Photo.FocalLengthIn35mmFilm")
        return valueText(datum, &MetadataTexts::focalLengthText);
    if (key == "Exif.Photo.Flash" && datum.count() == 1)
        return MetadataTexts::flashText(datum.toLong(0));
    if (key == "Exif.Photo.SensitivityType" && datum.count() == 1)
        return sensitivityTypeText(datum.toLong(0));
    if (isPixelCount(key) && datum.count() == 1)
        return MetadataTexts::tr("%1 pixels").arg(QLocale().toString(qlonglong(datum.toLong(0))));
    if (key == "Exif.GPSInfo.GPSLatitude")
        return degreesText(datum, exif, "Exif.GPSInfo.GPSLatitudeRef");
    if (key == "Exif.GPSInfo.GPSLongitude")
        return degreesText(datum, exif, "Exif.GPSInfo.GPSLongitudeRef");
    if (key == "Exif.GPSInfo.GPSAltitude")
        return altitudeText(datum, exif);
    // Exiv2 prints the comment's character set in front of it.
    if (const auto* comment = dynamic_cast<const Exiv2::CommentValue*>(&datum.value()))
        return fromExiv(comment->comment());
    return QString();
}

} // namespace

MetadataTexts::Table MetadataTexts::read(const QString& path)
{
    // Opening a pipe would wait for a writer for ever.
    if (!QFileInfo(path).isFile())
        return Table();
    if (DecoderPool::inProcess())
        return IsolatedReader::readMapped(path, &MetadataTexts::readHere);
    DecodeMessage::Request request;
    request.kind = DecodeMessage::Kind::Exif;
    request.path = path;
    const DecodeMessage::Reply reply = DecoderPool::shared().decode(request);
    Table table;
    table.readable = reply.outcome == DecodeMessage::Outcome::Decoded;
    if (table.readable)
        table.rows = reply.exif;
    return table;
}

MetadataTexts::Table MetadataTexts::readHere(const uchar* data, qint64 size)
{
    Table table;
    if (!data || size <= 0 || size > std::numeric_limits<long>::max())
        return table;
    // Exiv2 lets standard exceptions (bad_alloc, out_of_range) escape on some damaged files.
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(data, long(size));
        if (!image.get())
            return table;
        image->readMetadata();
        table.rows = rows(image->exifData());
        table.readable = true;
    } catch (...) {
        table.rows.clear();
    }
    return table;
}

QVector<MetadataTexts::Row> MetadataTexts::rows(const Exiv2::ExifData& exif)
{
    QVector<Row> result;
    for (const Exiv2::Exifdatum& datum : exif) {
        if (isMakerNoteGroup(datum.groupName()) || isInternal(datum))
            continue;
        QString label = fromExiv(datum.tagLabel());
        if (label.isEmpty())
            label = fromExiv(datum.tagName());
        result.append({label, value(datum, exif)});
    }
    return result;
}

QString MetadataTexts::value(const Exiv2::Exifdatum& datum, const Exiv2::ExifData& exif)
{
    const std::string key = datum.key();
    const QString size = QLocale().toString(qlonglong(datum.size()));
    if (key == "Exif.Photo.MakerNote")
        return tr("(maker note, %1 bytes)").arg(size);
    if (isBinaryType(datum.typeId()) && datum.size() > largestShownBinary && !isText(key))
        return tr("(binary, %1 bytes)").arg(size);
    // Exiv2 throws standard exceptions on some damaged values; one such value costs only its row.
    try {
        const QString interpreted = interpretedText(datum, exif);
        if (!interpreted.isEmpty())
            return interpreted;
        return fromExiv(datum.print(&exif));
    } catch (const std::exception&) {
        return tr("(unreadable)");
    }
}

QString MetadataTexts::exposureText(double seconds)
{
    if (!(seconds > 0) || seconds > 1e6)
        return QString();
    // Short exposures are read as fractions of a second, as cameras show them.
    if (seconds < 0.5)
        return tr("1/%1 s").arg(qRound64(1 / seconds));
    return tr("%1 s").arg(QLocale().toString(seconds, 'g', 3));
}

QString MetadataTexts::apertureText(double fNumber)
{
    if (!(fNumber > 0) || fNumber > 1e4)
        return QString();
    return QStringLiteral("f/%1").arg(QLocale().toString(fNumber, 'g', 2 + (fNumber >= 10)));
}

QString MetadataTexts::focalLengthText(double millimetres)
{
    if (!(millimetres > 0) || millimetres > 1e6)
        return QString();
    // Whole millimetres read better; a phone's few millimetres keep their tenth.
    const double rounded = std::round(millimetres * 10) / 10;
    const int decimals = rounded == std::round(rounded) ? 0 : 1;
    return tr("%1 mm").arg(QLocale().toString(rounded, 'f', decimals));
}

QString MetadataTexts::flashText(long flash)
{
    if (flash & 0x20)
        return tr("No flash function");
    QStringList parts{flash & 0x1 ? tr("Fired") : tr("Did not fire")};
    switch ((flash >> 3) & 0x3) {
    case 1:
        parts << tr("compulsory");
        break;
    case 2:
        parts << tr("suppressed");
        break;
    case 3:
        parts << tr("auto mode");
        break;
    default:
        break;
    }
    if (flash & 0x40)
        parts << tr("red-eye reduction");
    if ((flash & 0x6) == 0x4)
        parts << tr("no return light");
    else if ((flash & 0x6) == 0x6)
        parts << tr("return light");
    return parts.join(QStringLiteral(", "));
}
