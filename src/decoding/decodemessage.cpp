#include "decoding/decodemessage.h"

#include "decoding/sharedimage.h"
#include "imaging/readlimits.h"

#include <QDataStream>

#include <algorithm>
#include <limits>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bumped whenever the layout changes, so a helper left from another build is never misread.
constexpr quint32 kLayout = 0x6c756d03;
// Packed metadata, at most; far more than any picture file's.
constexpr qint64 kMaxMetadata = 64 << 20;

} // namespace

int DecodeMessage::memoryFile(const QByteArray& bytes)
{
    const int fd = ::memfd_create("lumo-bytes", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0)
        return -1;
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written <= 0) {
            ::close(fd);
            return -1;
        }
        data += written;
        left -= written;
    }
    if (::lseek(fd, 0, SEEK_SET) != 0 || !SharedImage::seal(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

namespace {

bool loadBytes(int fd, qint64 length, qint64 limit, QByteArray* bytes)
{
    struct stat info = {};
    if (length < 0 || length > std::min<qint64>(limit, std::numeric_limits<int>::max())
        || !SharedImage::isSealed(fd) || ::fstat(fd, &info) != 0 || info.st_size != length)
        return false;
    bytes->resize(int(length));
    qint64 done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd, bytes->data() + done, size_t(length - done), off_t(done));
        if (got <= 0)
            return false;
        done += got;
    }
    return true;
}

// Rows counted before they are read, so that a count the stream cannot hold allocates nothing.
bool readRows(QDataStream& stream, int available, QVector<QPair<QString, QString>>* rows)
{
    qint32 count = 0;
    stream >> count;
    // Each row takes at least the two lengths of its texts.
    if (stream.status() != QDataStream::Ok || count < 0 || count > available / 8)
        return false;
    rows->reserve(count);
    for (qint32 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
        QPair<QString, QString> row;
        stream >> row.first >> row.second;
        rows->append(row);
    }
    return stream.status() == QDataStream::Ok;
}

} // namespace

DecodeMessage::Limits DecodeMessage::limitsFor(const Request& request, qint64 fileBytes)
{
    Limits limits;
    switch (request.kind) {
    case Kind::Picture:
    case Kind::Frame:
        // No more than this program would decode itself.
        limits.largest = QSize(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
        limits.imageBytes = imaging::ReadLimits::forThisMachine().budgetBytes();
        break;
    case Kind::StandIn:
    case Kind::Corner:
        limits.largest = request.shownSize;
        break;
    case Kind::Thumbnail:
        limits.largest = QSize(request.edge, request.edge);
        break;
    case Kind::Metadata:
        limits.bytes = kMaxMetadata;
        break;
    case Kind::Embed:
        // The picture, its metadata and the framing around them.
        limits.bytes = fileBytes + 2 * qint64(request.metadata.size()) + (1 << 20);
        break;
    case Kind::Probe:
    case Kind::Exif:
        break;
    }
    if (limits.imageBytes == 0 && limits.largest.isValid())
        limits.imageBytes = imaging::ReadLimits::imageBytes(limits.largest, 64);
    return limits;
}

bool DecodeMessage::encode(const Request& request, QByteArray* bytes, QVector<int>* fds)
{
    QDataStream stream(bytes, QIODevice::WriteOnly);
    stream << kLayout << qint32(request.kind) << request.path << request.shownSize
           << qint32(request.edge) << qint32(request.frame) << request.pictureSize
           << qint64(request.metadata.size()) << request.number;
    if (request.metadata.isEmpty())
        return true;
    const int fd = memoryFile(request.metadata);
    if (fd < 0)
        return false;
    fds->append(fd);
    return true;
}

bool DecodeMessage::decode(const QByteArray& bytes, QVector<int>* fds, Request* request)
{
    QDataStream stream(bytes);
    quint32 layout = 0;
    qint32 kind = 0;
    qint32 edge = 0;
    qint32 frame = 0;
    qint64 metadata = 0;
    stream >> layout >> kind >> request->path >> request->shownSize >> edge >> frame
        >> request->pictureSize >> metadata >> request->number;
    if (stream.status() != QDataStream::Ok || layout != kLayout || kind < 0
        || kind > qint32(Kind::Corner))
        return false;
    request->kind = Kind(kind);
    request->edge = edge;
    request->frame = frame;
    if (metadata == 0)
        return true;
    if (fds->isEmpty())
        return false;
    const int fd = fds->takeLast();
    const bool loaded = loadBytes(fd, metadata, kMaxMetadata, &request->metadata);
    ::close(fd);
    return loaded;
}

bool DecodeMessage::encode(const Reply& reply, QByteArray* bytes, QVector<int>* fds)
{
    QDataStream stream(bytes, QIODevice::WriteOnly);
    stream << kLayout << qint32(reply.outcome) << reply.format << reply.size
           << qint32(reply.animation.delay) << qint32(reply.animation.frameCount)
           << qint32(reply.animation.loopCount) << qint32(reply.animation.firstDelay) << reply.error
           << qint32(reply.exif.size());
    for (const QPair<QString, QString>& row : reply.exif)
        stream << row.first << row.second;
    for (const QImage* image : {&reply.image, &reply.display}) {
        stream << !image->isNull();
        if (image->isNull())
            continue;
        const int fd = SharedImage::store(*image, stream);
        if (fd < 0)
            return false;
        fds->append(fd);
    }
    stream << qint64(reply.bytes.size()) << reply.number;
    if (!reply.bytes.isEmpty()) {
        const int fd = memoryFile(reply.bytes);
        if (fd < 0)
            return false;
        fds->append(fd);
    }
    return stream.status() == QDataStream::Ok;
}

bool DecodeMessage::decode(const QByteArray& bytes, const QVector<int>& fds, const Limits& limits,
                           Reply* reply)
{
    QDataStream stream(bytes);
    quint32 layout = 0;
    qint32 outcome = 0;
    qint32 animation[4] = {};
    stream >> layout >> outcome >> reply->format >> reply->size >> animation[0] >> animation[1]
        >> animation[2] >> animation[3] >> reply->error;
    reply->animation = {animation[0], qBound(0, animation[1], kMaxFrames), animation[2],
                        animation[3]};
    bool ok = stream.status() == QDataStream::Ok && layout == kLayout && outcome >= 0
              && outcome <= qint32(Outcome::TimedOut)
              && readRows(stream, bytes.size(), &reply->exif);
    reply->outcome = ok ? Outcome(outcome) : Outcome::Crashed;
    int next = 0;
    for (QImage* image : {&reply->image, &reply->display}) {
        bool present = false;
        stream >> present;
        if (!ok || !present)
            continue;
        if (next >= fds.size()) {
            ok = false;
            continue;
        }
        *image = SharedImage::map(fds.at(next++), stream, limits.largest, limits.imageBytes);
        ok = ok && !image->isNull();
    }
    qint64 length = 0;
    stream >> length >> reply->number;
    ok = ok && stream.status() == QDataStream::Ok;
    if (ok && length > 0)
        ok = next < fds.size() && loadBytes(fds.at(next++), length, limits.bytes, &reply->bytes);
    for (const int fd : fds)
        ::close(fd);
    return ok && next == fds.size();
}
