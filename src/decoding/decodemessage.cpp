#include "decoding/decodemessage.h"

#include "decoding/sharedimage.h"

#include <QDataStream>

#include <unistd.h>

namespace {

// Bumped whenever the layout changes, so a helper left from another build is never misread.
constexpr quint32 kLayout = 0x6c756d01;

} // namespace

QByteArray DecodeMessage::encode(const Request& request)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << kLayout << qint32(request.kind) << request.path << request.shownSize
           << qint32(request.edge) << qint32(request.frame);
    return bytes;
}

bool DecodeMessage::decode(const QByteArray& bytes, Request* request)
{
    QDataStream stream(bytes);
    quint32 layout = 0;
    qint32 kind = 0;
    qint32 edge = 0;
    qint32 frame = 0;
    stream >> layout >> kind >> request->path >> request->shownSize >> edge >> frame;
    if (stream.status() != QDataStream::Ok || layout != kLayout || kind < 0
        || kind > qint32(Kind::Frame))
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
           << qint32(reply.animation.loopCount) << qint32(reply.animation.firstDelay);
    for (const QImage* image : {&reply.image, &reply.display}) {
        stream << !image->isNull();
        if (image->isNull())
            continue;
        const int fd = SharedImage::store(*image, stream);
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
        >> animation[2] >> animation[3];
    reply->animation = {animation[0], animation[1], animation[2], animation[3]};
    bool ok = stream.status() == QDataStream::Ok && layout == kLayout && outcome >= 0
        && outcome <= qint32(Outcome::TimedOut);
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
    for (const int fd : fds)
        ::close(fd);
    return ok && next == fds.size();
}
