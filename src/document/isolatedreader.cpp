#include "document/isolatedreader.h"

#include "decoding/decoderpool.h"
#include "document/readfailure.h"

#include <QFile>

#include <unistd.h>

namespace {

PictureReader::Result fromReply(const DecodeMessage::Reply& reply)
{
    PictureReader::Result result;
    if (reply.outcome == DecodeMessage::Outcome::Decoded && !reply.image.isNull()) {
        result.image = reply.image;
        result.format = reply.format;
        result.display = reply.display;
    } else {
        result.failure = IsolatedReader::failureText(reply.outcome);
    }
    return result;
}

bool isJpegFormat(const QString& format)
{
    return format.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) == 0 ||
           format.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0;
}

} // namespace

PictureReader::Result IsolatedReader::read(const QString& path)
{
    PictureReader::Result result;
    if (DecoderPool::inProcess()) {
        result = PictureReader::read(path);
    } else {
        DecodeMessage::Request request;
        request.kind = DecodeMessage::Kind::Picture;
        request.path = path;
        result = fromReply(DecoderPool::shared().decode(request));
    }
    // The decoders only say that a file failed; the file itself tells the user why.
    if (result.image.isNull() && result.failure.isEmpty())
        result.failure = ReadFailure::text(path);
    else if (!result.image.isNull() && isJpegFormat(result.format))
        result.failure = ReadFailure::partlyReadText(path);
    return result;
}

PictureReader::Result IsolatedReader::readBytes(const QByteArray& bytes)
{
    if (DecoderPool::inProcess()) {
        QFile file;
        const int fd = DecodeMessage::memoryFile(bytes);
        if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            if (fd >= 0)
                ::close(fd);
            return {};
        }
        return PictureReader::read(&file);
    }
    DecodeMessage::Request request;
    request.kind = DecodeMessage::Kind::Picture;
    return fromReply(DecoderPool::shared().decodeBytes(request, bytes));
}

PictureReader::StandIn IsolatedReader::readScaled(const QString& path,
                                                  const PictureReader::ShownSize& shownSize)
{
    if (DecoderPool::inProcess())
        return PictureReader::readScaled(path, shownSize);
    if (!shownSize)
        return {};
    // The shown size depends on the picture's, which only the file can tell.
    DecodeMessage::Request request;
    request.kind = DecodeMessage::Kind::Probe;
    request.path = path;
    const DecodeMessage::Reply probe = DecoderPool::shared().decode(request);
    if (probe.outcome != DecodeMessage::Outcome::Decoded || !probe.size.isValid())
        return {};
    const QSize shown = shownSize(probe.size);
    if (!shown.isValid() || shown.width() >= probe.size.width())
        return {};
    request.kind = DecodeMessage::Kind::StandIn;
    request.shownSize = shown;
    const DecodeMessage::Reply reply = DecoderPool::shared().decode(request);
    if (reply.outcome != DecodeMessage::Outcome::Decoded || reply.image.isNull())
        return {};
    return {reply.image, reply.size};
}

PictureReader::StandIn IsolatedReader::readCorner(const QString& path, const QSize& area)
{
    if (DecoderPool::inProcess()) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? PictureReader::readCorner(&file, area)
                                              : PictureReader::StandIn();
    }
    DecodeMessage::Request request;
    request.kind = DecodeMessage::Kind::Corner;
    request.path = path;
    request.shownSize = area;
    const DecodeMessage::Reply reply = DecoderPool::shared().decode(request);
    // The picture's size sizes the canvas until the whole picture is in: it must hold the corner
    // and be one this program would read.
    const QSize& size = reply.size;
    const QSize& corner = reply.image.size();
    if (reply.outcome != DecodeMessage::Outcome::Decoded || reply.image.isNull()
        || size.width() < corner.width() || size.height() < corner.height() || size == corner
        || qint64(size.width()) * size.height() * 4
               > imaging::ReadLimits::forThisMachine().budgetBytes())
        return {};
    return {reply.image, size, true};
}

QImage IsolatedReader::readThumbnail(const QString& path, int edge)
{
    DecodeMessage::Request request;
    request.kind = DecodeMessage::Kind::Thumbnail;
    request.path = path;
    request.edge = edge;
    const DecodeMessage::Reply reply = DecoderPool::shared().decode(request);
    return reply.outcome == DecodeMessage::Outcome::Decoded ? reply.image : QImage();
}

QString IsolatedReader::failureText(DecodeMessage::Outcome outcome)
{
    switch (outcome) {
    case DecodeMessage::Outcome::OutOfMemory:
        return tr("Read error: the picture needs more memory than allowed");
    case DecodeMessage::Outcome::Crashed:
        return tr("Read error: the decoder failed");
    case DecodeMessage::Outcome::TimedOut:
        return tr("Read error: the decoder took too long");
    case DecodeMessage::Outcome::Decoded:
    case DecodeMessage::Outcome::Unreadable:
        break;
    }
    return QString();
}
