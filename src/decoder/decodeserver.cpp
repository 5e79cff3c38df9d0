#include "decoder/decodeserver.h"

#include "decoding/decoderchannel.h"
#include "decoding/sharedimage.h"
#include "document/animationframes.h"
#include "document/metadatalog.h"
#include "document/metadatatexts.h"
#include "document/picturemetadata.h"
#include "document/picturereader.h"
#include "document/thumbnailreader.h"
#include "imaging/cmykjpeg.h"
#include "imaging/decodeguard.h"
#include "imaging/displaycolours.h"
#include "imaging/readlimits.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <csignal>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The animation last asked for, known by the file it came from.
struct DecodeServer::Animation
{
    dev_t device = 0;
    ino_t inode = 0;
    qint64 modified = 0;
    qint64 size = 0;
    std::unique_ptr<QFile> file;
    std::unique_ptr<AnimationFrames> frames;
};

namespace {

struct stat statusOf(QFile* file)
{
    struct stat status = {};
    if (::fstat(file->handle(), &status) != 0)
        status.st_ino = 0;
    return status;
}

} // namespace

DecodeServer::DecodeServer(int channel, qint64 memoryLimitBytes)
    : m_channel(channel)
    , m_memoryLimitBytes(memoryLimitBytes)
    , m_crashName(qEnvironmentVariable("LUMO_DECODE_TEST_CRASH"))
    , m_killName(qEnvironmentVariable("LUMO_DECODE_TEST_KILL"))
{
}

DecodeServer::~DecodeServer() = default;

void DecodeServer::warmUp()
{
    // Plug-ins complain about the empty files; nothing there is worth telling.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // Each plug-in is loaded when first asked for its format; an empty file asks no more of it.
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    for (const QByteArray& format : formats) {
        QBuffer empty;
        empty.open(QIODevice::ReadOnly);
        QImageReader(&empty, format).read();
    }
    // The common formats once through, for what their libraries set up on first use.
    QImage tiny(8, 8, QImage::Format_ARGB32);
    tiny.fill(Qt::red);
    for (const char* format : {"png", "jpeg", "webp", "tiff", "bmp"}) {
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        if (!QImageWriter(&buffer, format).write(tiny))
            continue;
        buffer.seek(0);
        QImageReader(&buffer).read();
    }
    // Exiv2 prepares its XMP toolkit, and opens the catalogue of its labels in the user's
    // language, on first use.
    MetadataLog::install();
    Exiv2::XmpParser::initialize();
    Exiv2::ExifKey("Exif.Image.Make").tagLabel();
    imaging::defaultCmykProfile();
    imaging::ReadLimits::forThisMachine();
    tiny.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    imaging::displayColours(tiny);
    // Large enough for Qt to spread the work over its pool of threads.
    QImage(2048, 2048, QImage::Format_RGB32)
        .scaled(64, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Font files are opened on first use, which the filter will not allow later: text in SVG
    // finds the common faces open.
    QPainter painter(&tiny);
    for (const QFont::StyleHint hint : {QFont::SansSerif, QFont::Serif, QFont::Monospace}) {
        QFont font;
        font.setStyleHint(hint);
        for (const bool bold : {false, true}) {
            font.setBold(bold);
            painter.setFont(font);
            painter.drawText(tiny.rect(), QStringLiteral("Ag"));
        }
    }
    qInstallMessageHandler(previous);
}

void DecodeServer::run()
{
    const DecoderChannel channel(m_channel);
    // An empty message: ready, so the program starts timing its requests from here.
    if (!channel.send(QByteArray()))
        return;
    for (;;) {
        QByteArray bytes;
        QVector<int> fds;
        if (!channel.receive(&bytes, &fds))
            return;
        DecodeMessage::Request request;
        DecodeMessage::Reply reply;
        if (DecodeMessage::decode(bytes, &fds, &request) && fds.size() == 1) {
            QFile file(request.path);
            try {
                if (file.open(fds.takeFirst(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
                    reply = serve(request, &file);
            } catch (const std::bad_alloc&) {
                reply = DecodeMessage::Reply();
                reply.outcome = DecodeMessage::Outcome::OutOfMemory;
            }
        }
        for (const int fd : qAsConst(fds))
            ::close(fd);
        reply.number = request.number;
        QByteArray answer;
        QVector<int> pixels;
        if (!DecodeMessage::encode(reply, &answer, &pixels)) {
            // No shared memory for the pixels: the limit is what stopped them.
            for (const int fd : qAsConst(pixels))
                ::close(fd);
            pixels.clear();
            answer.clear();
            DecodeMessage::Reply failed;
            failed.number = request.number;
            failed.outcome = DecodeMessage::Outcome::OutOfMemory;
            DecodeMessage::encode(failed, &answer, &pixels);
        }
        const bool sent = channel.send(answer, pixels);
        for (const int fd : qAsConst(pixels))
            ::close(fd);
        if (!sent)
            return;
    }
}

DecodeMessage::Reply DecodeServer::serve(const DecodeMessage::Request& request, QFile* file)
{
    const QString name = QFileInfo(request.path).fileName();
    if (!m_crashName.isEmpty() && name == m_crashName)
        ::raise(SIGSEGV);
    if (!m_killName.isEmpty() && name == m_killName)
        ::raise(SIGKILL);
    DecodeMessage::Reply reply;
    switch (request.kind) {
    case DecodeMessage::Kind::Exif:
    case DecodeMessage::Kind::Metadata:
    case DecodeMessage::Kind::Embed:
        return serveMetadata(request, file);
    case DecodeMessage::Kind::Probe: {
        QImageReader reader(file);
        reader.setAutoTransform(true);
        reply.size = reader.size();
        if (reader.transformation() & QImageIOHandler::TransformationRotate90)
            reply.size.transpose();
        reply.format = QString::fromLatin1(reader.format());
        if (reply.size.isValid())
            reply.outcome = DecodeMessage::Outcome::Decoded;
        return reply;
    }
    case DecodeMessage::Kind::Picture: {
        // Decoded straight into shared memory where the decoder fills what it is given.
        const PictureReader::Result result = PictureReader::read(
            file, imaging::ReadLimits::forThisMachine(), &SharedImage::allocate);
        reply.image = result.image;
        reply.display = result.display;
        // A file opened from its descriptor has no name, so formats told only by their suffix
        // (ORA, KRA) take it from the path.
        reply.format = result.format.isEmpty() ? QFileInfo(request.path).suffix().toLower()
                                               : result.format;
        reply.size = result.image.size();
        break;
    }
    case DecodeMessage::Kind::StandIn: {
        const QSize shown = request.shownSize;
        const PictureReader::StandIn standIn =
            PictureReader::readScaled(file, [shown](const QSize&) { return shown; });
        reply.image = standIn.image;
        reply.size = standIn.pictureSize;
        break;
    }
    case DecodeMessage::Kind::Corner: {
        const PictureReader::StandIn corner = PictureReader::readCorner(file, request.shownSize);
        reply.image = corner.image;
        reply.size = corner.pictureSize;
        break;
    }
    case DecodeMessage::Kind::Thumbnail:
        reply.image = ThumbnailReader::read(file, request.edge);
        reply.size = reply.image.size();
        break;
    case DecodeMessage::Kind::Frame:
        reply = serveFrame(request, file);
        break;
    }
    if (!reply.image.isNull())
        reply.outcome = DecodeMessage::Outcome::Decoded;
    else if (needsMoreMemory(file))
        reply.outcome = DecodeMessage::Outcome::OutOfMemory;
    return reply;
}

DecodeMessage::Reply DecodeServer::serveMetadata(const DecodeMessage::Request& request, QFile* file)
{
    DecodeMessage::Reply reply;
    reply.outcome = DecodeMessage::Outcome::Decoded;
    if (request.kind == DecodeMessage::Kind::Embed) {
        QByteArray encoded = file->readAll();
        const PictureMetadata metadata = PictureMetadata::unpack(request.metadata, &reply.error);
        if (!metadata.isEmpty() && metadata.embedHere(&encoded, request.pictureSize, &reply.error))
            reply.bytes = encoded;
        return reply;
    }
    const qint64 size = file->size();
    const uchar* data = size > 0 ? file->map(0, size) : nullptr;
    if (size > 0 && !data) {
        // A file larger than the helper may map: said, so a saved copy does not lose the
        // metadata without a word.
        reply.outcome = DecodeMessage::Outcome::OutOfMemory;
        return reply;
    }
    if (request.kind == DecodeMessage::Kind::Exif) {
        const MetadataTexts::Table table = MetadataTexts::readHere(data, size);
        reply.exif = table.rows;
        if (!table.readable)
            reply.outcome = DecodeMessage::Outcome::Unreadable;
    } else {
        reply.bytes = PictureMetadata::readHere(data, size, &reply.error).pack();
    }
    return reply;
}

DecodeMessage::Reply DecodeServer::serveFrame(const DecodeMessage::Request& request, QFile* file)
{
    const struct stat status = statusOf(file);
    const qint64 modified = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    if (!m_animation || m_animation->device != status.st_dev || m_animation->inode != status.st_ino
        || m_animation->modified != modified || m_animation->size != status.st_size) {
        m_animation.reset();
        const int kept = ::fcntl(file->handle(), F_DUPFD_CLOEXEC, 0);
        auto animation = std::make_unique<Animation>();
        animation->file = std::make_unique<QFile>(request.path);
        if (kept < 0
            || !animation->file->open(kept, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            if (kept >= 0)
                ::close(kept);
            return DecodeMessage::Reply();
        }
        animation->device = status.st_dev;
        animation->inode = status.st_ino;
        animation->modified = modified;
        animation->size = status.st_size;
        animation->frames = std::make_unique<AnimationFrames>(animation->file.get());
        m_animation = std::move(animation);
    }
    const AnimationFrames::Frame frame = m_animation->frames->read(request.frame);
    DecodeMessage::Reply reply;
    reply.image = frame.image;
    reply.size = frame.image.size();
    reply.animation = {frame.delay, m_animation->frames->frameCount(),
                       m_animation->frames->loopCount(), m_animation->frames->firstDelay()};
    return reply;
}

bool DecodeServer::needsMoreMemory(QFile* file) const
{
    if (!file->seek(0))
        return false;
    QImageReader reader(file);
    // The same check as before decoding, against the smaller of the two limits; it asks the
    // reader for the size only once the file's framing is sound.
    const qint64 physical = imaging::physicalMemoryBytes();
    const qint64 limit = m_memoryLimitBytes < physical / 4 ? m_memoryLimitBytes * 4 : physical;
    return imaging::DecodeGuard(imaging::ReadLimits(limit)).judge(reader).refusal
           == imaging::DecodeRefusal::TooLarge;
}
