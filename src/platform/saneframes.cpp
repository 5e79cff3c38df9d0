#include "platform/saneframes.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace SaneFrames {

namespace {

int channels(const SANE_Parameters& parameters)
{
    return parameters.format == SANE_FRAME_RGB ? 3 : 1;
}

// Sample `index` of a line scaled to 0..255; 16-bit samples are in the machine's byte order.
inline int sample(const uchar* line, int index, int depth)
{
    switch (depth) {
    case 1:
        return (line[index >> 3] >> (7 - (index & 7))) & 1 ? 255 : 0;
    case 8:
        return line[index];
    default: {
        quint16 value;
        std::memcpy(&value, line + 2 * index, sizeof value);
        return (value + 128) / 257;
    }
    }
}

QImage decodeGrey(const SANE_Parameters& parameters, const QByteArray& data, int lines)
{
    const int width = parameters.pixels_per_line;
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    if (parameters.depth == 1) {
        // The bits are already the picture: MSB first, a set bit is black.
        QImage image(width, lines, QImage::Format_Mono);
        if (image.isNull())
            return image;
        image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        const int rowBytes = (width + 7) / 8;
        for (int y = 0; y < lines; ++y)
            std::memcpy(image.scanLine(y), bytes + qint64(y) * parameters.bytes_per_line, rowBytes);
        return image;
    }
    QImage image(width, lines, QImage::Format_Grayscale8);
    if (image.isNull())
        return image;
    for (int y = 0; y < lines; ++y) {
        const uchar* line = bytes + qint64(y) * parameters.bytes_per_line;
        uchar* out = image.scanLine(y);
        for (int x = 0; x < width; ++x)
            out[x] = uchar(sample(line, x, parameters.depth));
    }
    return image;
}

QImage decodeRgb(const SANE_Parameters& parameters, const QByteArray& data, int lines)
{
    const int width = parameters.pixels_per_line;
    QImage image(width, lines, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    for (int y = 0; y < lines; ++y) {
        const uchar* line = bytes + qint64(y) * parameters.bytes_per_line;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            out[x] = qRgb(sample(line, 3 * x, parameters.depth),
                          sample(line, 3 * x + 1, parameters.depth),
                          sample(line, 3 * x + 2, parameters.depth));
        }
    }
    return image;
}

} // namespace

bool isSupported(const SANE_Parameters& parameters)
{
    switch (parameters.format) {
    case SANE_FRAME_GRAY:
    case SANE_FRAME_RGB:
    case SANE_FRAME_RED:
    case SANE_FRAME_GREEN:
    case SANE_FRAME_BLUE:
        break;
    default:
        return false;
    }
    if (parameters.depth != 1 && parameters.depth != 8 && parameters.depth != 16)
        return false;
    if (parameters.pixels_per_line <= 0 || parameters.lines < -1)
        return false;
    // A line must hold its pixels, or reading it would run past the data.
    const qint64 bits =
        qint64(parameters.pixels_per_line) * channels(parameters) * parameters.depth;
    return parameters.bytes_per_line >= (bits + 7) / 8;
}

bool isBand(const SANE_Parameters& parameters)
{
    return parameters.format == SANE_FRAME_RED || parameters.format == SANE_FRAME_GREEN ||
           parameters.format == SANE_FRAME_BLUE;
}

int lineCount(const SANE_Parameters& parameters, qint64 bytes)
{
    if (parameters.bytes_per_line <= 0 || bytes <= 0)
        return 0;
    const qint64 whole = bytes / parameters.bytes_per_line;
    const qint64 lines = parameters.lines >= 0 ? std::min<qint64>(parameters.lines, whole) : whole;
    return int(std::min<qint64>(lines, std::numeric_limits<int>::max()));
}

QImage decode(const SANE_Parameters& parameters, const QByteArray& data)
{
    if (!isSupported(parameters) || isBand(parameters))
        return QImage();
    const int lines = lineCount(parameters, data.size());
    if (lines == 0)
        return QImage();
    return parameters.format == SANE_FRAME_RGB ? decodeRgb(parameters, data, lines)
                                               : decodeGrey(parameters, data, lines);
}

bool mergeBand(QImage& rgb, const SANE_Parameters& parameters, const QByteArray& data)
{
    if (!isSupported(parameters) || !isBand(parameters) || rgb.format() != QImage::Format_RGB32)
        return false;
    const int shift = parameters.format == SANE_FRAME_RED     ? 16
                      : parameters.format == SANE_FRAME_GREEN ? 8
                                                              : 0;
    const QRgb keep = ~(QRgb(0xff) << shift);
    const int lines = std::min(rgb.height(), lineCount(parameters, data.size()));
    const int width = std::min(rgb.width(), parameters.pixels_per_line);
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    for (int y = 0; y < lines; ++y) {
        const uchar* line = bytes + qint64(y) * parameters.bytes_per_line;
        auto* out = reinterpret_cast<QRgb*>(rgb.scanLine(y));
        for (int x = 0; x < width; ++x)
            out[x] = (out[x] & keep) | (QRgb(sample(line, x, parameters.depth)) << shift);
    }
    return true;
}

} // namespace SaneFrames
