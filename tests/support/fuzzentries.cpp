#include "support/fuzzentries.h"

#include "browser/filethumbnailprovider.h"
#include "decoding/decodemessage.h"
#include "document/metadatasegments.h"
#include "document/metadatatexts.h"
#include "document/picturemetadata.h"
#include "document/picturereader.h"
#include "platform/desktopthumbnailcache.h"
#include "platform/localpath.h"
#include "platform/lumofm/vfs.h"
#include "platform/saneframes.h"
#include "platform/sanepageassembler.h"
#include "platform/trashinfo.h"
#include "platformwidgets/fileoperations.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QSize>
#include <QStandardPaths>
#include <QtEndian>

#include <cstring>

#include <unistd.h>

namespace fuzzentries {

namespace {

// A folder inside the thumbnail cache, whose files the browser reads without caching them.
QString scratchFile(const QString& name)
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/thumbnails/scratch");
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + name;
}

QString written(const QByteArray& bytes, const QString& name)
{
    const QString path = scratchFile(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

QByteArray encoded(const char* format)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Reads values off the front of the input; zero once it runs out.
class Input
{
public:
    explicit Input(const QByteArray& bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_pos >= m_bytes.size(); }

    template <typename T> T take()
    {
        T value{};
        const int count = std::min<int>(sizeof value, m_bytes.size() - m_pos);
        if (count > 0)
            std::memcpy(&value, m_bytes.constData() + m_pos, size_t(count));
        m_pos += int(sizeof value);
        return value;
    }

    QByteArray takeBytes(int count)
    {
        const QByteArray part = m_bytes.mid(m_pos, std::max(0, count));
        m_pos += std::max(0, count);
        return part;
    }

private:
    const QByteArray& m_bytes;
    int m_pos = 0;
};

} // namespace

bool readPicture(const QByteArray& bytes)
{
    const QString path = written(bytes, QStringLiteral("picture"));
    PictureReader::readScaled(path, [](const QSize& size) { return size / 8; });
    return !PictureReader::read(path).image.isNull();
}

bool readThumbnail(const QByteArray& bytes)
{
    const QString path = written(bytes, QStringLiteral("thumbnail"));
    // Within the second of the file's time, what an earlier input left in the cache would
    // answer for this one.
    const DesktopThumbnailCache cache;
    for (const auto size : {DesktopThumbnailCache::Size::Normal, DesktopThumbnailCache::Size::Large})
        QFile::remove(cache.thumbnailPath(path, size));
    QFile::remove(cache.failurePath(path));
    return !FileThumbnailProvider::readThumbnail(path).isNull();
}

bool carryMetadata(const QByteArray& bytes)
{
    static const QList<QByteArray> pictures = {encoded("JPEG"), encoded("PNG"), encoded("WEBP"),
                                               encoded("TIFF")};
    static const char* const formats[] = {"jpeg", "png", "webp", "tiff"};
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    MetadataTexts::readHere(data, bytes.size());
    QString error;
    // Packed and unpacked on the way, as between the program and a helper.
    const PictureMetadata metadata =
        PictureMetadata::unpack(PictureMetadata::readHere(data, bytes.size(), &error).pack(), &error);
    for (int i = 0; i < pictures.size(); ++i) {
        if (pictures[i].isEmpty() || !PictureMetadata::canCarry(QLatin1String(formats[i])))
            continue;
        QByteArray picture = pictures[i];
        metadata.embedHere(&picture, QSize(8, 8), &error);
    }
    return !metadata.isEmpty();
}

bool readReply(const QByteArray& bytes)
{
    static const QList<QByteArray> pictures = {encoded("JPEG"), encoded("PNG"), encoded("WEBP")};
    Input input(bytes);
    DecodeMessage::Request request;
    request.kind =
        DecodeMessage::Kind(input.take<quint8>() % (qint32(DecodeMessage::Kind::Corner) + 1));
    request.shownSize = QSize(input.take<quint8>(), input.take<quint8>());
    request.edge = input.take<quint8>();
    request.metadata = input.takeBytes(input.take<quint8>());

    DecodeMessage::Reply reply;
    reply.number = input.take<quint32>();
    reply.outcome = DecodeMessage::Outcome(input.take<quint8>() % 6);
    reply.format = QString::fromLatin1(input.takeBytes(input.take<quint8>() % 16));
    reply.size = QSize(input.take<qint32>(), input.take<qint32>());
    reply.animation = {input.take<qint32>(), input.take<qint32>(), input.take<qint32>(),
                       input.take<qint32>()};
    for (int rows = input.take<quint8>() % 4; rows > 0; --rows)
        reply.exif.append({QString::fromUtf8(input.takeBytes(input.take<quint8>() % 32)),
                           QString::fromUtf8(input.takeBytes(input.take<quint8>() % 32))});
    for (QImage* image : {&reply.image, &reply.display}) {
        const quint8 shape = input.take<quint8>();
        if (shape == 0)
            continue;
        *image = QImage(1 + shape % 16, 1 + input.take<quint8>() % 16,
                        QImage::Format(1 + input.take<quint8>() % (QImage::NImageFormats - 1)));
        if (image->format() == QImage::Format_Indexed8 || image->format() == QImage::Format_Mono)
            image->setColorCount(1 + input.take<quint8>() % 8);
        const QByteArray pixels = input.takeBytes(int(image->sizeInBytes()));
        std::memcpy(image->bits(), pixels.constData(), size_t(pixels.size()));
    }
    const QByteArray original = pictures.at(input.take<quint8>() % pictures.size());
    reply.bytes = input.take<quint8>() & 1 ? original + input.takeBytes(input.take<quint16>())
                                           : input.takeBytes(input.take<quint16>());

    QByteArray message;
    QVector<int> fds;
    if (!DecodeMessage::encode(reply, &message, &fds)) {
        for (const int fd : fds)
            ::close(fd);
        return false;
    }
    // What a helper taken over could change on the way: any byte of the message, and which
    // memory files come with it.
    for (int changes = input.take<quint8>() % 8; changes > 0 && !message.isEmpty(); --changes) {
        const int at = input.take<quint16>() % message.size();
        message[at] = char(message.at(at) ^ input.take<quint8>());
    }
    const quint8 files = input.take<quint8>();
    if (files & 1 && !fds.isEmpty())
        ::close(fds.takeLast());
    if (files & 2 && fds.size() > 1)
        std::swap(fds.first(), fds.last());

    DecodeMessage::Reply read;
    const bool ok = DecodeMessage::decode(
        message, fds, DecodeMessage::limitsFor(request, original.size()), &read);
    MetadataSegments::differOnlyInMetadata(original, read.bytes, QSize(8, 8));
    MetadataSegments::differOnlyInMetadata(read.bytes, original, QSize(8, 8));
    return ok;
}

bool assembleScan(const QByteArray& bytes)
{
    Input input(bytes);
    SanePageAssembler page;
    for (int frame = 0; frame < 8 && !input.atEnd(); ++frame) {
        SANE_Parameters parameters{};
        parameters.format = SANE_Frame(input.take<quint8>() % 6);
        parameters.last_frame = input.take<quint8>() & 1 ? SANE_TRUE : SANE_FALSE;
        parameters.bytes_per_line = input.take<qint32>();
        parameters.pixels_per_line = input.take<qint32>();
        parameters.lines = input.take<qint32>();
        parameters.depth = input.take<quint8>();
        const QByteArray data = input.takeBytes(input.take<quint16>());
        SaneFrames::decode(parameters, data);
        if (!page.beginFrame(parameters))
            continue;
        const int half = data.size() / 2;
        page.addData(data.constData(), half);
        page.progress();
        page.addData(data.constData() + half, data.size() - half);
        page.progress();
        if (!page.endFrame())
            return false;
        if (page.isComplete())
            return !page.image().isNull();
    }
    return false;
}

bool parsePaths(const QByteArray& bytes)
{
    const int end = bytes.indexOf('\n');
    const QString first = QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
    QStringList typed;
    // Normalising compares every path with every other.
    for (const QByteArray& line : bytes.split('\n').mid(0, 64)) {
        typed << QString::fromUtf8(line);
        absoluteLocalPath(typed.last());
        LumoFM::VFS::ptr()->entry(typed.last());
    }
    FileOperations::normalized(typed);
    TrashInfo::withEncodedPath(end < 0 ? QByteArray() : bytes.mid(end), first);
    return LumoFM::VFS::ptr()->entry(first).isValid();
}

} // namespace fuzzentries
