#include "document/jpegquality.h"

#include <QFile>

#include <array>
#include <cstdlib>
#include <limits>

namespace {

// The luminance table the JPEG standard suggests, which libjpeg scales by quality; row by row.
constexpr std::array<int, 64> standardLuminance{
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

// A table in a file lists its values in zigzag order; the row-by-row index of each.
constexpr std::array<int, 64> zigzagToRow{
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Camera files carry large Exif and colour profile segments before their tables.
constexpr qint64 headerLimit = 1 << 20;

using Table = std::array<int, 64>;

int scaled(int base, int quality)
{
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    // Baseline files keep every value within one byte.
    return qBound(1, (base * scale + 50) / 100, 255);
}

int closestQuality(const Table& zigzag)
{
    int best = -1;
    long bestDistance = std::numeric_limits<long>::max();
    // From the top down, so a tie goes to the higher quality.
    for (int quality = 100; quality >= 1; --quality) {
        long distance = 0;
        for (int i = 0; i < 64; ++i)
            distance += std::abs(zigzag[i] - scaled(standardLuminance[zigzagToRow[i]], quality));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = quality;
        }
    }
    return best;
}

int byteAt(const QByteArray& bytes, int at)
{
    return static_cast<unsigned char>(bytes.at(at));
}

// Looks for table 0 in one DQT segment's payload [begin, end).
bool luminanceIn(const QByteArray& bytes, int begin, int end, Table* table)
{
    int at = begin;
    while (at < end) {
        const int precisionAndId = byteAt(bytes, at++);
        const int width = (precisionAndId >> 4) == 0 ? 1 : 2;
        if (end - at < 64 * width)
            return false;
        if ((precisionAndId & 0x0f) == 0) {
            for (int i = 0; i < 64; ++i, at += width)
                (*table)[i] = width == 1 ? byteAt(bytes, at)
                                         : byteAt(bytes, at) << 8 | byteAt(bytes, at + 1);
            return true;
        }
        at += 64 * width;
    }
    return false;
}

} // namespace

int JpegQuality::estimate(const QByteArray& bytes)
{
    const int size = bytes.size();
    if (size < 4 || byteAt(bytes, 0) != 0xff || byteAt(bytes, 1) != 0xd8)
        return -1;
    int at = 2;
    while (at + 1 < size) {
        if (byteAt(bytes, at) != 0xff)
            return -1;
        const int marker = byteAt(bytes, at + 1);
        at += 2;
        if (marker == 0xff) { // fill byte before a marker
            --at;
            continue;
        }
        // Markers that stand alone, without a length.
        if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd8))
            continue;
        // Tables for the first scan come before it.
        if (marker == 0xd9 || marker == 0xda || at + 2 > size)
            return -1;
        const int length = byteAt(bytes, at) << 8 | byteAt(bytes, at + 1);
        if (length < 2 || length > size - at)
            return -1;
        Table table{};
        if (marker == 0xdb && luminanceIn(bytes, at + 2, at + length, &table)) {
            for (const int value : table) {
                if (value == 0)
                    return -1;
            }
            return closestQuality(table);
        }
        at += length;
    }
    return -1;
}

bool JpegQuality::isJpegFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(3) == QByteArray("\xff\xd8\xff", 3);
}

int JpegQuality::ofFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? estimate(file.read(headerLimit)) : -1;
}
