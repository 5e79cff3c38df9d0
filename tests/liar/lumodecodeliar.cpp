// lumo-decode-liar: a decoder helper that speaks the protocol and lies, as one taken over by a
// hostile file might. The name of each request's file, without its suffix, says which lie.

#include "decoding/decodemessage.h"
#include "decoding/decoderchannel.h"
#include "decoding/sharedimage.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDataStream>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QThread>

#include <climits>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// A memory file of that size, its pixels written where given, sealed or not.
int memoryFile(qint64 size, const QByteArray& content, bool sealed)
{
    const int fd = ::memfd_create("liar", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (::ftruncate(fd, size) != 0
        || ::pwrite(fd, content.constData(), size_t(content.size()), 0) != content.size()
        || (sealed && !SharedImage::seal(fd)))
        ::_exit(3);
    return fd;
}

struct Lie
{
    QSize size = QSize(4, 4);
    qint64 fileBytes = 64;
    bool sealed = true;
    qint32 frames = 1;
    qint64 bytes = 0;
    QByteArray content;
    quint32 number = 0;
};

// The reply as an honest helper lays it out, with whatever it claims.
QByteArray forge(const Lie& lie, QVector<int>* fds)
{
    QByteArray honest;
    QVector<int> none;
    DecodeMessage::encode(DecodeMessage::Reply(), &honest, &none);
    quint32 layout = 0;
    QDataStream(honest) >> layout;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << layout << qint32(DecodeMessage::Outcome::Decoded) << QStringLiteral("png") << lie.size
        << qint32(10) << lie.frames << qint32(0) << qint32(10) << QString() << qint32(0);
    out << (lie.bytes == 0);
    if (lie.bytes == 0) {
        out << qint32(QImage::Format_RGB32) << lie.size << qint64(lie.size.width()) * 4
            << QByteArray() << qint32(0) << qint32(0) << QMap<QString, QString>()
            << QVector<QRgb>();
        fds->append(memoryFile(lie.fileBytes, QByteArray(64, '\x7f'), lie.sealed));
    }
    out << false << lie.bytes << lie.number;
    if (lie.bytes > 0)
        fds->append(memoryFile(lie.bytes, lie.content, true));
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const DecoderChannel channel(3);
    channel.send(QByteArray());
    QByteArray bytes;
    QVector<int> fds;
    while (channel.receive(&bytes, &fds)) {
        DecodeMessage::Request request;
        const bool understood = DecodeMessage::decode(bytes, &fds, &request);
        for (const int fd : qAsConst(fds))
            ::close(fd);
        fds.clear();
        if (!understood)
            return 2;
        const QString name = QFileInfo(request.path).completeBaseName();
        Lie lie;
        lie.number = request.number;
        if (name == QLatin1String("oversize")) {
            lie.size = QSize(200000, 100000);
            lie.fileBytes = qint64(200000) * 100000 * 4;
        } else if (name == QLatin1String("unsealed")) {
            lie.sealed = false;
        } else if (name == QLatin1String("frames")) {
            lie.frames = INT_MAX;
        } else if (name == QLatin1String("huge-bytes")) {
            lie.bytes = INT_MAX;
        } else if (name == QLatin1String("wrong-number")) {
            ++lie.number;
        } else if (request.kind == DecodeMessage::Kind::Embed) {
            // Another picture than the one sent, of the same size.
            QImage other(request.pictureSize, QImage::Format_RGB32);
            other.fill(Qt::red);
            QByteArray jpeg;
            QBuffer buffer(&jpeg);
            other.save(&buffer, "JPEG");
            lie.bytes = jpeg.size();
            lie.content = jpeg;
        }
        QVector<int> sent;
        const QByteArray reply = forge(lie, &sent);
        if (name == QLatin1String("silent")) {
            channel.receive(&bytes, &fds);
            return 0;
        }
        if (name == QLatin1String("trickle")) {
            // A byte at a time, each well within any wait for the next.
            const quint32 length = quint32(reply.size());
            const QByteArray whole = QByteArray(reinterpret_cast<const char*>(&length), 4) + reply;
            for (const char byte : whole) {
                if (::write(3, &byte, 1) != 1)
                    return 0;
                QThread::msleep(50);
            }
        } else if (!channel.send(reply, sent)) {
            return 0;
        }
        // Changed after the program checked it: only an unsealed file lets this through.
        if (!lie.sealed)
            ::ftruncate(sent.first(), 0);
        for (const int fd : qAsConst(sent))
            ::close(fd);
    }
    return 0;
}
