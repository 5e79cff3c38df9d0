#include "support/fuzzentries.h"

#include "browser/filethumbnailprovider.h"
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
