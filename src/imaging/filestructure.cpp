#include "imaging/filestructure.h"

#include <QIODevice>

#include <algorithm>

namespace imaging {

namespace {

// Reads a random-access device through a window of its own, so walking many small parts costs
// one read per window rather than one per part.
class Window
{
public:
    explicit Window(QIODevice* device) : m_device(device), m_size(device->size()) {}

    qint64 size() const { return m_size; }

    // The bytes at [pos, pos + count), or fewer at the end of the file.
    QByteArray at(qint64 pos, int count)
    {
        if (pos < m_start || pos + count > m_start + m_bytes.size()) {
            m_start = pos;
            m_bytes = m_device->seek(pos) ? m_device->read(windowBytes) : QByteArray();
        }
        return m_bytes.mid(int(pos - m_start), count);
    }

private:
    static constexpr int windowBytes = 64 * 1024;
    QIODevice* m_device;
    qint64 m_size;
    qint64 m_start = 0;
    QByteArray m_bytes;
};

quint32 bigEndian32(const QByteArray& bytes, int offset)
{
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData()) + offset;
    return quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | b[3];
}

quint32 littleEndian32(const QByteArray& bytes, int offset)
{
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData()) + offset;
    return quint32(b[3]) << 24 | quint32(b[2]) << 16 | quint32(b[1]) << 8 | b[0];
}

int pngChannels(int colourType)
{
    switch (colourType) {
    case 0: // grey
    case 3: // palette
        return 1;
    case 4: // grey and alpha
        return 2;
    case 2: // RGB
        return 3;
    case 6: // RGBA
        return 4;
    default:
        return 0;
    }
}

// PNG, MNG and JNG: a signature, then chunks of length, type, data and checksum.
void walkChunks(Window& file, FileStructure& structure)
{
    qint64 pos = 8;
    while (pos + 8 <= file.size()) {
        const QByteArray header = file.at(pos, 8 + 13);
        if (header.size() < 8)
            return;
        const qint64 length = bigEndian32(header, 0);
        const QByteArray type = header.mid(4, 4);
        const qint64 next = pos + 12 + length;
        if (length > 0x7fffffff || next > file.size()) {
            structure.lengthsWithinFile = false;
            return;
        }
        if (type == "IHDR" && length >= 13 && header.size() == 8 + 13) {
            const int bitDepth = uchar(header[16]);
            structure.storedBitsPerPixel = bitDepth * pngChannels(uchar(header[17]));
        }
        if (type == "IEND" || type == "MEND")
            return;
        pos = next;
    }
}

// RIFF (ANI): chunks of identifier, little-endian length and data padded to even, lists
// holding chunks of their own.
void walkRiff(Window& file, qint64 pos, qint64 end, int depth, FileStructure& structure)
{
    while (structure.lengthsWithinFile && pos + 8 <= end) {
        const QByteArray header = file.at(pos, 8);
        if (header.size() < 8)
            return;
        const qint64 length = littleEndian32(header, 4);
        const qint64 next = pos + 8 + length;
        if (next > end) {
            structure.lengthsWithinFile = false;
            return;
        }
        if (header.startsWith("LIST") && depth < 4)
            walkRiff(file, pos + 12, next, depth + 1, structure);
        pos = next + (length & 1);
    }
}

// Photoshop: a header, then the colour mode data, the image resources and the layers, each
// after its length (the layers' a 64-bit one in the large-document variant).
void walkPsd(Window& file, FileStructure& structure)
{
    const QByteArray header = file.at(0, 26);
    if (header.size() < 26)
        return;
    const bool large = uchar(header[5]) == 2;
    qint64 pos = 26;
    for (int section = 0; section < 3; ++section) {
        const bool wide = large && section == 2;
        const QByteArray length = file.at(pos, wide ? 8 : 4);
        if (length.size() < (wide ? 8 : 4)) {
            structure.lengthsWithinFile = false;
            return;
        }
        const qint64 bytes = wide ? qint64(bigEndian32(length, 0)) << 32 | bigEndian32(length, 4)
                                  : qint64(bigEndian32(length, 0));
        pos += length.size();
        if (bytes < 0 || bytes > file.size() - pos) {
            structure.lengthsWithinFile = false;
            return;
        }
        pos += bytes;
    }
}

// Sun raster: eight big-endian words, the colour map's and the pixel data's lengths among them.
void walkSunRaster(Window& file, FileStructure& structure)
{
    const QByteArray header = file.at(0, 32);
    if (header.size() < 32)
        return;
    const qint64 dataBytes = bigEndian32(header, 16);
    const qint64 mapBytes = bigEndian32(header, 28);
    structure.lengthsWithinFile = 32 + mapBytes + dataBytes <= file.size();
}

// BMP: a file header, then an information header whose depth and compression say how the
// pixels are stored.
void readBmpHeader(Window& file, FileStructure& structure)
{
    const QByteArray header = file.at(0, 34);
    if (header.size() < 34 || littleEndian32(header, 14) < 40)
        return;
    const int bits = uchar(header[28]) | uchar(header[29]) << 8;
    const quint32 compression = littleEndian32(header, 30);
    if (compression == 0 || compression == 3) // plain samples, or samples under bit masks
        structure.storedBitsPerPixel = bits;
    else if (compression == 1 || compression == 2) // eight- or four-bit runs
        structure.runLengths = true;
}

// TGA: an eighteen-byte header of which the image type, the size and the depth matter.
void readTgaHeader(Window& file, FileStructure& structure)
{
    const QByteArray header = file.at(0, 18);
    if (header.size() < 18)
        return;
    const auto* h = reinterpret_cast<const uchar*>(header.constData());
    structure.declaredSize = QSize(h[12] | h[13] << 8, h[14] | h[15] << 8);
    const int type = h[2];
    if (type >= 1 && type <= 3) // colour-mapped, true-colour or grey samples as they are
        structure.storedBitsPerPixel = h[16];
    else if (type >= 9 && type <= 11) // the same in runs
        structure.runLengths = true;
}

} // namespace

FileStructure FileStructure::inspect(QIODevice* device, const QByteArray& format)
{
    FileStructure structure;
    if (!device || !device->isReadable() || device->isSequential())
        return structure;
    const qint64 start = device->pos();
    Window file(device);
    const QByteArray name = format.toLower();
    if (name == "png" || name == "mng" || name == "jng")
        walkChunks(file, structure);
    else if (name == "ani")
        walkRiff(file, 12, file.size(), 0, structure);
    else if (name == "psd" || name == "psb")
        walkPsd(file, structure);
    else if (name == "ras")
        walkSunRaster(file, structure);
    else if (name == "bmp")
        readBmpHeader(file, structure);
    else if (name == "tga")
        readTgaHeader(file, structure);
    device->seek(start);
    return structure;
}

} // namespace imaging
