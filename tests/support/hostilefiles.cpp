#include "support/hostilefiles.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>

namespace hostilefiles {

QByteArray littleEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= uchar(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

namespace {

QByteArray bigEndian16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

} // namespace

QByteArray pngChunk(const QByteArray& type, const QByteArray& data, qint64 declaredLength)
{
    const quint32 length = quint32(declaredLength >= 0 ? declaredLength : data.size());
    return bigEndian32(length) + type + data + bigEndian32(crc32(type + data));
}

QByteArray png(const QSize& size, int bitDepth, int colourType, bool interlaced,
               const QByteArray& data)
{
    const QByteArray header = bigEndian32(quint32(size.width())) + bigEndian32(quint32(size.height()))
        + char(bitDepth) + char(colourType) + char(0) + char(0) + char(interlaced ? 1 : 0);
    // qCompress puts the length before the zlib stream.
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header)
        + pngChunk("IDAT", qCompress(data, 9).mid(4)) + pngChunk("IEND", QByteArray());
}

QByteArray jpegClaiming(const QSize& size)
{
    QImage tiny(8, 8, QImage::Format_RGB32);
    tiny.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    tiny.save(&buffer, "JPEG", 50);
    const int frame = bytes.indexOf("\xff\xc0");
    if (frame >= 0) {
        // Marker, length, precision, then height and width.
        bytes.replace(frame + 5, 2, bigEndian16(quint16(size.height())));
        bytes.replace(frame + 7, 2, bigEndian16(quint16(size.width())));
    }
    return bytes;
}

QByteArray gifClaiming(const QSize& size)
{
    QByteArray dimensions(4, '\0');
    qToLittleEndian(quint16(size.width()), dimensions.data());
    qToLittleEndian(quint16(size.height()), dimensions.data() + 2);
    // A global table of two colours, then the frame.
    return QByteArray("GIF89a") + dimensions + QByteArray("\x80\x00\x00\x00\x00\x00\xff\xff\xff", 9)
        + QByteArray("\x2c\x00\x00\x00\x00", 5) + dimensions + QByteArray("\x00", 1)
        + QByteArray("\x02\x02\x44\x01\x00\x3b", 6);
}

QByteArray bmpClaiming(const QSize& size)
{
    const QByteArray row(64, '\x40');
    return QByteArray("BM") + littleEndian32(quint32(54 + row.size())) + littleEndian32(0)
        + littleEndian32(54) + littleEndian32(40) + littleEndian32(quint32(size.width()))
        + littleEndian32(quint32(size.height())) + bigEndian16(0x0100) + bigEndian16(0x1800)
        + littleEndian32(0) + littleEndian32(0) + QByteArray(16, '\0') + row;
}

QByteArray sunRaster(quint32 mapLength)
{
    QByteArray bytes;
    for (const quint32 word : {0x59a66a95u, 100u, 100u, 8u, 10000u, 1u, 1u, mapLength})
        bytes += bigEndian32(word);
    return bytes + QByteArray(16, '\0');
}

QByteArray photoshop(quint32 resourcesLength)
{
    return QByteArray("8BPS") + bigEndian16(1) + QByteArray(6, '\0') + bigEndian16(3)
        + bigEndian32(100) + bigEndian32(100) + bigEndian16(8) + bigEndian16(3)
        + bigEndian32(0) + bigEndian32(resourcesLength) + QByteArray(16, '\0');
}

QByteArray animatedCursor(quint32 listLength)
{
    QByteArray header;
    for (const quint32 word : {36u, 1u, 1u, 32u, 32u, 32u, 1u, 10u, 1u})
        header += littleEndian32(word);
    QByteArray body = QByteArray("ACON") + "anih" + littleEndian32(36) + header + "LIST"
        + littleEndian32(listLength) + "fram" + "icon" + littleEndian32(listLength)
        + QByteArray(16, '\0');
    return QByteArray("RIFF") + littleEndian32(quint32(body.size())) + body;
}

QByteArray mng(quint32 chunkLength)
{
    QByteArray header;
    for (const quint32 word : {100u, 100u, 1u, 1u, 1u, 1u, 1u})
        header += bigEndian32(word);
    return QByteArray("\x8aMNG\r\n\x1a\n", 8) + pngChunk("MHDR", header)
        + bigEndian32(chunkLength) + "IHDR" + QByteArray(32, '\0');
}

} // namespace hostilefiles
