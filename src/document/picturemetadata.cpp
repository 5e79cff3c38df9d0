#include "document/picturemetadata.h"

#include "decoding/decoderpool.h"
#include "document/isolatedreader.h"
#include "document/metadatasegments.h"
#include "imaging/decodeguard.h"

#include <QBuffer>
#include <QByteArray>
#include <QDataStream>
#include <QFileInfo>
#include <QImageReader>
#include <QSize>

#include <exiv2/exiv2.hpp>

#include <cstdint>
#include <exception>
#include <limits>
#include <string>

struct PictureMetadata::Data
{
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
};

namespace {

// Tags that describe how the source file stored its pixels; in another file they would lie.
bool isStorageTag(uint16_t tag)
{
    switch (tag) {
    case 0x00fe: // NewSubfileType
    case 0x0100: // ImageWidth
    case 0x0101: // ImageLength
    case 0x0102: // BitsPerSample
    case 0x0103: // Compression
    case 0x0106: // PhotometricInterpretation
    case 0x010a: // FillOrder
    case 0x0111: // StripOffsets
    case 0x0115: // SamplesPerPixel
    case 0x0116: // RowsPerStrip
    case 0x0117: // StripByteCounts
    case 0x011c: // PlanarConfiguration
    case 0x013d: // Predictor
    case 0x0140: // ColorMap
    case 0x0142: // TileWidth
    case 0x0143: // TileLength
    case 0x0144: // TileOffsets
    case 0x0145: // TileByteCounts
    case 0x014a: // SubIFDs
    case 0x0152: // ExtraSamples
    case 0x0153: // SampleFormat
    case 0x015b: // JPEGTables
    case 0x0201: // JPEGInterchangeFormat
    case 0x0202: // JPEGInterchangeFormatLength
    case 0x0212: // YCbCrSubSampling
        return true;
    default:
        return false;
    }
}

// The further images of a multi-page or raw file; the saved picture is only the main one.
bool isOtherImageGroup(const std::string& group)
{
    if (group.rfind("SubImage", 0) == 0 || group.rfind("SubThumb", 0) == 0)
        return true;
    return group.size() > 5 && group.compare(0, 5, "Image") == 0 && group[5] >= '0'
           && group[5] <= '9';
}

void adaptExif(Exiv2::ExifData& exif, const QSize& size)
{
    Exiv2::ExifThumb(exif).erase();
    for (auto it = exif.begin(); it != exif.end();) {
        const std::string group = it->groupName();
        if ((group == "Image" && isStorageTag(it->tag())) || isOtherImageGroup(group))
            it = exif.erase(it);
        else
            ++it;
    }
    const Exiv2::ExifKey orientation("Exif.Image.Orientation");
    if (exif.findKey(orientation) != exif.end())
        exif[orientation.key()] = uint16_t(1);
    exif["Exif.Photo.PixelXDimension"] = uint32_t(size.width());
    exif["Exif.Photo.PixelYDimension"] = uint32_t(size.height());
}

void adaptXmp(Exiv2::XmpData& xmp, const QSize& size)
{
    const auto setIfPresent = [&xmp](const char* key, const std::string& value) {
        if (xmp.findKey(Exiv2::XmpKey(key)) != xmp.end())
            xmp[key] = value;
    };
    setIfPresent("Xmp.tiff.Orientation", "1");
    setIfPresent("Xmp.tiff.ImageWidth", std::to_string(size.width()));
    setIfPresent("Xmp.tiff.ImageLength", std::to_string(size.height()));
    setIfPresent("Xmp.exif.PixelXDimension", std::to_string(size.width()));
    setIfPresent("Xmp.exif.PixelYDimension", std::to_string(size.height()));
}

QString describe(const std::exception& e)
{
    return QString::fromLocal8Bit(e.what());
}

QString helperFailed()
{
    return PictureMetadata::tr("the metadata reader failed");
}

// Whether the encoded picture still reads at its size.
bool readsAs(const QByteArray& encoded, const QSize& size)
{
    QByteArray bytes = encoded;
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    return imaging::DecodeGuard().judge(reader).declared == size;
}

// Bumped whenever the packed layout changes.
constexpr quint32 kPackLayout = 0x6c6d6401;

template <typename Datum> QByteArray valueBytes(const Datum& datum, Exiv2::ByteOrder order)
{
    QByteArray bytes(int(datum.size()), '\0');
    if (!bytes.isEmpty())
        datum.copy(reinterpret_cast<Exiv2::byte*>(bytes.data()), order);
    return bytes;
}

Exiv2::Value::AutoPtr valueOf(qint32 type, const QByteArray& bytes, Exiv2::ByteOrder order)
{
    Exiv2::Value::AutoPtr value = Exiv2::Value::create(Exiv2::TypeId(type));
    value->read(reinterpret_cast<const Exiv2::byte*>(bytes.constData()), long(bytes.size()), order);
    return value;
}

} // namespace

PictureMetadata::PictureMetadata() = default;
PictureMetadata::~PictureMetadata() = default;
PictureMetadata::PictureMetadata(const PictureMetadata& other) = default;
PictureMetadata& PictureMetadata::operator=(const PictureMetadata& other) = default;

PictureMetadata PictureMetadata::read(const QString& path, QString* error)
{
    // Opening a pipe would wait for a writer for ever.
    if (!QFileInfo(path).isFile())
        return PictureMetadata();
    if (DecoderPool::inProcess()) {
        return IsolatedReader::readMapped(
            path, [error](const uchar* data, qint64 size) { return readHere(data, size, error); });
    }
    DecodeMessage::Request request;
    request.kind = DecodeMessage::Kind::Metadata;
    request.path = path;
    const DecodeMessage::Reply reply = DecoderPool::shared().decode(request);
    PictureMetadata result;
    if (reply.outcome == DecodeMessage::Outcome::Decoded)
        result.m_packed = reply.bytes;
    if (error && reply.outcome != DecodeMessage::Outcome::Unreadable)
        *error = reply.outcome == DecodeMessage::Outcome::Decoded ? reply.error : helperFailed();
    return result;
}

PictureMetadata PictureMetadata::readHere(const uchar* data, qint64 size, QString* error)
{
    PictureMetadata result;
    if (!data || size <= 0 || size > std::numeric_limits<long>::max())
        return result;
    // Exiv2 throws more than its own error type on damaged files (bad_alloc, out_of_range).
    try {
        if (Exiv2::ImageFactory::getType(data, long(size)) == Exiv2::ImageType::none)
            return result;
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(data, long(size));
        if (!image.get())
            return result;
        image->readMetadata();
        auto parsed = std::make_shared<Data>();
        parsed->exif = image->exifData();
        parsed->iptc = image->iptcData();
        parsed->xmp = image->xmpData();
        if (!parsed->exif.empty() || !parsed->iptc.empty() || !parsed->xmp.empty())
            result.m_data = std::move(parsed);
    } catch (const std::exception& e) {
        if (error)
            *error = describe(e);
    } catch (...) {
        if (error)
            *error = tr("unreadable metadata");
    }
    return result;
}

bool PictureMetadata::isEmpty() const
{
    return !m_data && m_packed.isEmpty();
}

bool PictureMetadata::canCarry(const QString& format)
{
    static const QStringList carriers = {QStringLiteral("jpeg"), QStringLiteral("jpg"),
                                         QStringLiteral("png"),  QStringLiteral("tif"),
                                         QStringLiteral("tiff"), QStringLiteral("webp")};
    return carriers.contains(format, Qt::CaseInsensitive);
}

bool PictureMetadata::embedInto(QByteArray* encoded, const QSize& size, QString* error) const
{
    if (isEmpty())
        return true;
    if (DecoderPool::inProcess()) {
        if (m_data)
            return embedHere(encoded, size, error);
        const PictureMetadata unpacked = unpack(m_packed, error);
        return !unpacked.isEmpty() && unpacked.embedHere(encoded, size, error);
    }
    // The helper may be in the hands of the file the metadata came from: what it hands back is
    // taken only where it can be told to be this picture.
    if (!MetadataSegments::differOnlyInMetadata(*encoded, *encoded, size)) {
        *error = tr("the picture did not survive adding the metadata");
        return false;
    }
    DecodeMessage::Request request;
    request.kind = DecodeMessage::Kind::Embed;
    request.pictureSize = size;
    request.metadata = pack();
    const DecodeMessage::Reply reply = DecoderPool::shared().decodeBytes(request, *encoded);
    if (reply.outcome != DecodeMessage::Outcome::Decoded) {
        *error = helperFailed();
        return false;
    }
    if (reply.bytes.isEmpty()) {
        *error = reply.error.isEmpty() ? tr("unreadable metadata") : reply.error;
        return false;
    }
    if (!MetadataSegments::differOnlyInMetadata(*encoded, reply.bytes, size)) {
        *error = tr("the picture did not survive adding the metadata");
        return false;
    }
    *encoded = reply.bytes;
    return true;
}

bool PictureMetadata::embedHere(QByteArray* encoded, const QSize& size, QString* error) const
{
    if (!m_data)
        return true;
    QByteArray result;
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte*>(encoded->constData()), long(encoded->size()));
        if (!image.get()) {
            *error = tr("unknown file type");
            return false;
        }
        image->readMetadata();
        // Only formats that hold metadata come here; Exiv2's WebP claims to hold none but writes
        // Exif and XMP all the same, so what each keeps is left to its writer.
        if (!m_data->exif.empty()) {
            Exiv2::ExifData exif = m_data->exif;
            adaptExif(exif, size);
            image->setExifData(exif);
        }
        if (!m_data->iptc.empty())
            image->setIptcData(m_data->iptc);
        if (!m_data->xmp.empty()) {
            Exiv2::XmpData xmp = m_data->xmp;
            adaptXmp(xmp, size);
            image->setXmpData(xmp);
        }
        image->writeMetadata();
        Exiv2::BasicIo& io = image->io();
        if (io.open() != 0) {
            *error = tr("cannot read back the written metadata");
            return false;
        }
        const Exiv2::DataBuf written = io.read(long(io.size()));
        io.close();
        result = QByteArray(reinterpret_cast<const char*>(written.pData_), int(written.size_));
    } catch (const std::exception& e) {
        *error = describe(e);
        return false;
    } catch (...) {
        *error = tr("unreadable metadata");
        return false;
    }
    // A writer that mangled the file must not cost the picture: it still has to read as before.
    if (!readsAs(result, size)) {
        *error = tr("the picture did not survive adding the metadata");
        return false;
    }
    *encoded = result;
    return true;
}

QByteArray PictureMetadata::pack() const
{
    if (!m_data)
        return m_packed;
    QByteArray packed;
    QDataStream stream(&packed, QIODevice::WriteOnly);
    stream << kPackLayout << qint32(m_data->exif.count());
    for (const Exiv2::Exifdatum& datum : m_data->exif)
        stream << QByteArray::fromStdString(datum.key()) << qint32(datum.idx())
               << qint32(datum.typeId()) << valueBytes(datum, Exiv2::littleEndian);
    stream << qint32(m_data->iptc.count());
    for (const Exiv2::Iptcdatum& datum : m_data->iptc)
        stream << QByteArray::fromStdString(datum.key()) << qint32(datum.typeId())
               << valueBytes(datum, Exiv2::bigEndian);
    std::string xmp;
    if (!m_data->xmp.empty() && Exiv2::XmpParser::encode(xmp, m_data->xmp) != 0)
        xmp.clear();
    stream << QByteArray::fromStdString(xmp);
    return packed;
}

PictureMetadata PictureMetadata::unpack(const QByteArray& packed, QString* error)
{
    PictureMetadata result;
    if (packed.isEmpty())
        return result;
    try {
        auto data = std::make_shared<Data>();
        QDataStream stream(packed);
        quint32 layout = 0;
        qint32 count = 0;
        stream >> layout >> count;
        if (layout != kPackLayout)
            count = -1;
        for (qint32 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
            QByteArray key;
            qint32 idx = 0;
            qint32 type = 0;
            QByteArray value;
            stream >> key >> idx >> type >> value;
            Exiv2::ExifKey exifKey(key.toStdString());
            exifKey.setIdx(idx);
            data->exif.add(exifKey, valueOf(type, value, Exiv2::littleEndian).get());
        }
        stream >> count;
        for (qint32 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
            QByteArray key;
            qint32 type = 0;
            QByteArray value;
            stream >> key >> type >> value;
            data->iptc.add(Exiv2::IptcKey(key.toStdString()),
                           valueOf(type, value, Exiv2::bigEndian).get());
        }
        QByteArray xmp;
        stream >> xmp;
        if (layout != kPackLayout || stream.status() != QDataStream::Ok
            || (!xmp.isEmpty() && Exiv2::XmpParser::decode(data->xmp, xmp.toStdString()) != 0)) {
            *error = tr("unreadable metadata");
            return result;
        }
        result.m_data = std::move(data);
    } catch (...) {
        *error = tr("unreadable metadata");
    }
    return result;
}
