#include "support/hostilefiles.h"

#include <QtEndian>

namespace hostilefiles {

namespace {

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    return bigEndian32(quint32(data.size())) + type + data + bigEndian32(crc32(type + data));
}

} // namespace

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

QByteArray png(const QSize& size, int bitDepth, int colourType, bool interlaced,
               const QByteArray& data)
{
    const QByteArray header = bigEndian32(quint32(size.width())) + bigEndian32(quint32(size.height()))
        + char(bitDepth) + char(colourType) + char(0) + char(0) + char(interlaced ? 1 : 0);
    // qCompress puts the length before the zlib stream.
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header)
        + pngChunk("IDAT", qCompress(data, 9).mid(4)) + pngChunk("IEND", QByteArray());
}

} // namespace hostilefiles
