#include "support/animatedgif.h"

#include <QFile>

namespace animatedgif {

namespace {

const QColor colours[4] = {Qt::red, Qt::green, Qt::blue, Qt::white};

void put16(QByteArray& out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

// Two-bit pixels as 3-bit LZW codes without compression: a clear code before every two
// literals keeps the decoder's table from growing into 4-bit codes.
QByteArray lzw(int pixelCount, int colourIndex)
{
    const int clear = 4;
    const int end = 5;
    QVector<int> codes;
    for (int i = 0; i < pixelCount; ++i) {
        if (i % 2 == 0)
            codes.append(clear);
        codes.append(colourIndex);
    }
    codes.append(end);
    QByteArray bytes;
    int bits = 0;
    int held = 0;
    for (const int code : codes) {
        held |= code << bits;
        bits += 3;
        while (bits >= 8) {
            bytes.append(char(held & 0xff));
            held >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0)
        bytes.append(char(held & 0xff));
    QByteArray blocks;
    for (int i = 0; i < bytes.size(); i += 255) {
        const QByteArray block = bytes.mid(i, 255);
        blocks.append(char(block.size()));
        blocks.append(block);
    }
    blocks.append(char(0));
    return blocks;
}

} // namespace

QColor frameColour(int frame)
{
    return colours[frame % 4];
}

QByteArray build(const QSize& size, const QVector<int>& delays, int loopCount)
{
    QByteArray out("GIF89a");
    put16(out, size.width());
    put16(out, size.height());
    out.append(char(0x91)); // a global table of four colours
    out.append(char(0));
    out.append(char(0));
    for (const QColor& colour : colours) {
        out.append(char(colour.red()));
        out.append(char(colour.green()));
        out.append(char(colour.blue()));
    }
    if (loopCount >= 0) {
        out.append("\x21\xff\x0bNETSCAPE2.0\x03\x01", 16);
        put16(out, loopCount);
        out.append(char(0));
    }
    for (int i = 0; i < delays.size(); ++i) {
        out.append("\x21\xf9\x04\x04", 4); // graphic control: keep the frame, delay follows
        put16(out, delays.at(i));
        out.append(char(0));
        out.append(char(0));
        out.append(char(0x2c));
        put16(out, 0);
        put16(out, 0);
        put16(out, size.width());
        put16(out, size.height());
        out.append(char(0));
        out.append(char(2)); // LZW minimum code size
        out.append(lzw(size.width() * size.height(), i % 4));
    }
    out.append(char(0x3b));
    return out;
}

bool write(const QString& path, const QSize& size, const QVector<int>& delays, int loopCount)
{
    QFile file(path);
    const QByteArray content = build(size, delays, loopCount);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace animatedgif
