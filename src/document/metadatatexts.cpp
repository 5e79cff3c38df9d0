#include "document/metadatatexts.h"

#include "decoding/decoderpool.h"
#include "document/isolatedreader.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include <exiv2/exiv2.hpp>

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

QString interpretedText(const Exiv2::Exifdatum& datum, const Exiv2::ExifData& exif)
{
    const std::string key = datum.key();
    if (isDate(key))
        return dateText(datum);
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
        if (isMakerNoteGroup(datum.groupName()))
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
