#include "decoding/decodemessage.h"

#include "decoding/sharedimage.h"

#include <QDataStream>

#include <limits>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bumped whenever the layout changes, so a helper left from another build is never misread.
constexpr quint32 kLayout = 0x6c756d02;

} // namespace

int DecodeMessage::memoryFile(const QByteArray& bytes)
{
    const int fd = ::memfd_create("lumo-bytes", MFD_CLOEXEC);
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
    if (::lseek(fd, 0, SEEK_SET) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

namespace {

bool loadBytes(int fd, qint64 length, QByteArray* bytes)
{
    struct stat info = {};
    if (length < 0 || length > std::numeric_limits<int>::max() || ::fstat(fd, &info) != 0
        || info.st_size != length)
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

QByteArray DecodeMessage::encode(const Request& request)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << kLayout << qint32(request.kind) << request.path << request.shownSize
           << qint32(request.edge) << qint32(request.frame) << request.pictureSize
           << request.metadata;
    return bytes;
}

bool DecodeMessage::decode(const QByteArray& bytes, Request* request)
{
    QDataStream stream(bytes);
    quint32 layout = 0;
    qint32 kind = 0;
    qint32 edge = 0;
    qint32 frame = 0;
    stream >> layout >> kind >> request->path >> request->shownSize >> edge >> frame
        >> request->pictureSize >> request->metadata;
    if (stream.status() != QDataStream::Ok || layout != kLayout || kind < 0
        || kind > qint32(Kind::Embed))
        return false;
    request->kind = Kind(kind);
    request->edge = edge;
    request->frame = frame;
    return true;
}

bool DecodeMessage::encode(const Reply& reply, QByteArray* bytes, QVector<int>* fds)
{
    QDataStream stream(bytes, QIODevice::WriteOnly);
    stream << kLayout << qint32(reply.outcome) << reply.format << reply.size
           << qint32(reply.animation.delay) << qint32(reply.animation.frameCount)
           << qint32(reply.animation.loopCount) << qint32(reply.animation.firstDelay)
           << reply.error << qint32(reply.exif.size());
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
    stream << qint64(reply.bytes.size());
    if (!reply.bytes.isEmpty()) {
        const int fd = memoryFile(reply.bytes);
        if (fd < 0)
            return false;
        fds->append(fd);
    }
    return stream.status() == QDataStream::Ok;
}

bool DecodeMessage::decode(const QByteArray& bytes, const QVector<int>& fds, Reply* reply)
{
    QDataStream stream(bytes);
    quint32 layout = 0;
    qint32 outcome = 0;
    qint32 animation[4] = {};
    stream >> layout >> outcome >> reply->format >> reply->size >> animation[0] >> animation[1]
        >> animation[2] >> animation[3] >> reply->error;
    reply->animation = {animation[0], animation[1], animation[2], animation[3]};
    bool ok = stream.status() == QDataStream::Ok && layout == kLayout && outcome >= 0
        && outcome <= qint32(Outcome::TimedOut) && readRows(stream, bytes.size(), &reply->exif);
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
        *image = SharedImage::map(fds.at(next++), stream);
        ok = ok && !image->isNull();
    }
    qint64 length = 0;
    stream >> length;
    ok = ok && stream.status() == QDataStream::Ok;
    if (ok && length > 0)
        ok = next < fds.size() && loadBytes(fds.at(next++), length, &reply->bytes);
    for (const int fd : fds)
        ::close(fd);
    return ok && next == fds.size();
}
