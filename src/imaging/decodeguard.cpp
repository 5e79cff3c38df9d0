#include "imaging/decodeguard.h"

#include "imaging/filestructure.h"

#include <QImageReader>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace imaging {

namespace {

// Deflate codes a run of 258 bytes in two bits at best.
constexpr qint64 deflateMaximumRatio = 1032;
// Huffman-coded JPEG spends at least a bit on each block of a scan's component, which covers
// at most 32 x 32 pixels (sampling factors go up to 4). Progressive runs of empty blocks and
// arithmetic coding could take less, but no real picture does.
constexpr qint64 jpegPixelsPerByte = 8 * 32 * 32;
// Twelve-bit LZW codes stand for at most 4096 pixels each, and BMP's runs with their skips
// come near; data that ends early still shows, so a few million pixels come free.
constexpr qint64 codedPixelsPerByte = 4096;
constexpr qint64 freeCodedPixels = qint64(1) << 22;
// Formats that store samples as they are show a file cut short as far as it goes: such a file
// must hold an eighth of what it declares.
constexpr qint64 truncatedShare = 8;

qint64 saturatingProduct(qint64 a, qint64 b)
{
    if (a > 0 && b > std::numeric_limits<qint64>::max() / a)
        return std::numeric_limits<qint64>::max();
    return a * b;
}

bool isJpeg(const QByteArray& format)
{
    return format == "jpeg" || format == "jpg";
}

// Some readers report a top-down picture's height as negative; it is decoded all the same.
QSize magnitude(const QSize& size)
{
    if (size.isValid() || size == QSize())
        return size;
    const auto positive = [](int length) {
        return length == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max()
                                                         : std::abs(length);
    };
    return QSize(positive(size.width()), positive(size.height()));
}

// Taken as a number: a reader whose header failed may hand back no valid format at all.
int decodedBits(int format)
{
    if (format <= QImage::Format_Invalid || format >= QImage::NImageFormats)
        return 32;
    return std::max(32, int(QImage::toPixelFormat(QImage::Format(format)).bitsPerPixel()));
}

} // namespace

DecodeGuard::DecodeGuard(const ReadLimits& limits) : m_limits(limits)
{
}

DecodeVerdict DecodeGuard::judge(QImageReader& reader, const QSize& shownBox) const
{
    DeclaredPicture picture;
    picture.format = reader.format().toLower();
    // Asking the format opened the device; a stream cannot be walked and then read again.
    QIODevice* device = reader.device();
    FileStructure structure;
    if (device && device->isOpen() && !device->isSequential()) {
        structure = FileStructure::inspect(device, picture.format);
        if (!structure.lengthsWithinFile)
            return DecodeVerdict{DecodeRefusal::LengthBeyondEnd, QSize()};
        picture.fileBytes = device->size();
        picture.storedBitsPerPixel = structure.storedBitsPerPixel;
        picture.runLengths = structure.runLengths;
    }
    picture.size = magnitude(reader.size());
    if (!picture.size.isValid())
        picture.size = structure.declaredSize;
    const QSize decoded = decodedSize(picture.format, picture.size, shownBox);
    return judge(picture, decoded, decodedBits(int(reader.imageFormat())));
}

DecodeVerdict DecodeGuard::judge(const DeclaredPicture& picture, const QSize& decodedSize,
                                 int decodedBitsPerPixel) const
{
    DecodeVerdict verdict;
    verdict.declared = picture.size;
    // Nothing to refuse before decoding a file that does not tell its size.
    if (!picture.size.isValid())
        return verdict;
    if (!m_limits.fits(decodedSize.isValid() ? decodedSize : picture.size, decodedBitsPerPixel))
        verdict.refusal = DecodeRefusal::TooLarge;
    else if (picture.fileBytes > 0 && picture.fileBytes < minimumFileBytes(picture))
        verdict.refusal = DecodeRefusal::TooDense;
    return verdict;
}

qint64 DecodeGuard::minimumFileBytes(const DeclaredPicture& picture)
{
    if (picture.size.isEmpty())
        return 0;
    const qint64 width = picture.size.width();
    const qint64 height = picture.size.height();
    const QByteArray format = picture.format.toLower();
    if (format == "png") {
        // Each row is a filter byte and its samples, at least one bit a pixel; interlacing
        // only adds rows.
        const qint64 bits = std::max(1, picture.storedBitsPerPixel);
        const qint64 rowBytes = 1 + (saturatingProduct(width, bits) + 7) / 8;
        return saturatingProduct(rowBytes, height) / deflateMaximumRatio;
    }
    const qint64 pixels = width * height;
    if (isJpeg(format))
        return pixels / jpegPixelsPerByte;
    const bool bmp = format == "bmp" || format == "dib";
    const bool tga = format == "tga";
    if (format == "gif" || ((bmp || tga) && picture.runLengths))
        return std::max<qint64>(0, pixels - freeCodedPixels) / codedPixelsPerByte;
    if ((bmp || tga) && picture.storedBitsPerPixel > 0) {
        // BMP pads its rows to whole words, TGA to whole bytes.
        const qint64 rowBits = saturatingProduct(width, picture.storedBitsPerPixel);
        const qint64 rowBytes = bmp ? (rowBits + 31) / 32 * 4 : (rowBits + 7) / 8;
        return saturatingProduct(rowBytes, height) / truncatedShare;
    }
    // Portable anymaps store at least a bit a pixel (the raw bitmap), most a byte or more.
    if (format == "pbm" || format == "pgm" || format == "ppm" || format == "pnm")
        return (pixels + 7) / 8 / truncatedShare;
    return 0;
}

QSize DecodeGuard::decodedSize(const QByteArray& format, const QSize& declared,
                               const QSize& shownBox)
{
    if (!declared.isValid() || !shownBox.isValid() || !isJpeg(format.toLower()))
        return declared;
    const QSize shown = declared.scaled(shownBox, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    if (shown.width() >= declared.width() && shown.height() >= declared.height())
        return declared;
    // The largest power of two up to eight by which the picture still covers the shown size.
    int denominator = 8;
    const auto covers = [&](int d) {
        return (declared.width() + d - 1) / d >= shown.width()
            && (declared.height() + d - 1) / d >= shown.height();
    };
    while (denominator > 1 && !covers(denominator))
        denominator /= 2;
    return QSize((declared.width() + denominator - 1) / denominator,
                 (declared.height() + denominator - 1) / denominator);
}

} // namespace imaging
