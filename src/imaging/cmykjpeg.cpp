#include "imaging/cmykjpeg.h"

#include "imaging/decodeguard.h"
#include "imaging/scanlinepass.h"

#include <QColorSpace>
#include <QFile>
#include <QIODevice>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <lcms2.h>

namespace imaging {

namespace {

// Where Debian puts a general-purpose CMYK profile (libgs-common).
const char* const defaultProfilePath = "/usr/share/color/icc/ghostscript/default_cmyk.icc";

struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void leave(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void keepQuiet(j_common_ptr) {}

// A decompressor over bytes in memory whose fatal errors jump back to the caller's setjmp
// instead of ending the process.
struct Decompressor
{
    explicit Decompressor(const QByteArray& data)
    {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = leave;
        errors.base.output_message = keepQuiet;
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                     static_cast<unsigned long>(data.size()));
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct info{};
    ErrorManager errors{};
};

bool validDenominator(int denominator)
{
    return denominator == 1 || denominator == 2 || denominator == 4 || denominator == 8;
}

// Reads the header and asks for CMYK rows at the scale; false for anything but a
// four-channel JPEG. The embedded profile, when asked for, comes along.
bool prepare(Decompressor& d, int scaleDenominator, QByteArray* profile)
{
    if (setjmp(d.errors.jump))
        return false;
    if (profile)
        jpeg_save_markers(&d.info, JPEG_APP0 + 2, 0xFFFF);
    if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (d.info.num_components != 4
        || (d.info.jpeg_color_space != JCS_CMYK && d.info.jpeg_color_space != JCS_YCCK))
        return false;
    d.info.out_color_space = JCS_CMYK;
    d.info.scale_num = 1;
    d.info.scale_denom = static_cast<unsigned int>(scaleDenominator);
    jpeg_calc_output_dimensions(&d.info);
    JOCTET* icc = nullptr;
    unsigned int iccLength = 0;
    if (profile && jpeg_read_icc_profile(&d.info, &icc, &iccLength) && icc) {
        *profile = QByteArray(reinterpret_cast<const char*>(icc), int(iccLength));
        std::free(icc);
    }
    return true;
}

cmsHPROFILE openCmykProfile(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return nullptr;
    cmsHPROFILE profile =
        cmsOpenProfileFromMem(bytes.constData(), static_cast<cmsUInt32Number>(bytes.size()));
    if (profile && cmsGetColorSpace(profile) != cmsSigCmykData) {
        cmsCloseProfile(profile);
        return nullptr;
    }
    return profile;
}

// Turns rows of CMYK samples into sRGB pixels: through a profile when one is usable, else by
// the plain formula every reader without colour management uses.
class InkConversion
{
public:
    InkConversion(const QByteArray& embedded, const QByteArray& fallback, bool inverted)
        : m_inverted(inverted)
    {
        cmsHPROFILE cmyk = openCmykProfile(embedded);
        if (!cmyk)
            cmyk = openCmykProfile(fallback);
        if (!cmyk)
            return;
        cmsHPROFILE srgb = cmsCreate_sRGBProfile();
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        const cmsUInt32Number output = TYPE_BGRA_8;
#else
        const cmsUInt32Number output = TYPE_ARGB_8;
#endif
        // Adobe's inverted samples count 255 as no ink.
        // Without its one-pixel cache the transform may run on several threads at once.
        m_transform = cmsCreateTransform(cmyk, inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8, srgb,
                                         output, INTENT_RELATIVE_COLORIMETRIC,
                                         cmsFLAGS_BLACKPOINTCOMPENSATION | cmsFLAGS_NOCACHE);
        cmsCloseProfile(srgb);
        cmsCloseProfile(cmyk);
    }
    ~InkConversion()
    {
        if (m_transform)
            cmsDeleteTransform(m_transform);
    }
    InkConversion(const InkConversion&) = delete;
    InkConversion& operator=(const InkConversion&) = delete;

    // A row of CMYK samples turned into opaque pixels in place: both take four bytes.
    void convert(QRgb* row, int width) const
    {
        if (m_transform) {
            cmsDoTransform(m_transform, row, row, static_cast<cmsUInt32Number>(width));
            // The transform leaves the fourth byte alone, which still holds the black ink.
            for (int x = 0; x < width; ++x)
                row[x] |= 0xFF000000u;
            return;
        }
        const auto* cmyk = reinterpret_cast<const JSAMPLE*>(row);
        for (int x = 0; x < width; ++x, cmyk += 4) {
            // Remaining paper per channel, 255 for none of the ink.
            const int c = m_inverted ? cmyk[0] : 255 - cmyk[0];
            const int m = m_inverted ? cmyk[1] : 255 - cmyk[1];
            const int y = m_inverted ? cmyk[2] : 255 - cmyk[2];
            const int k = m_inverted ? cmyk[3] : 255 - cmyk[3];
            row[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
        }
    }

private:
    cmsHTRANSFORM m_transform = nullptr;
    bool m_inverted;
};

// Decodes the CMYK samples straight into the image's rows, four bytes a pixel as its own.
bool decodeRows(Decompressor& d, uchar* bits, qsizetype bytesPerLine)
{
    if (setjmp(d.errors.jump))
        return false;
    jpeg_start_decompress(&d.info);
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW rows[] = {bits + qsizetype(d.info.output_scanline) * bytesPerLine};
        if (jpeg_read_scanlines(&d.info, rows, 1) != 1)
            return false;
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

// The rows are split over the cores: converting takes longer than decoding.
void convertRows(QImage& image, const InkConversion& ink)
{
    uchar* const bits = image.bits();
    const int width = image.width();
    const qsizetype bytesPerLine = image.bytesPerLine();
    forEachRowBand(image.height(), width, [&](int first, int end) {
        for (int y = first; y < end; ++y)
            ink.convert(reinterpret_cast<QRgb*>(bits + y * bytesPerLine), width);
    });
}

} // namespace

bool isCmykJpeg(QIODevice* device)
{
    if (!device || !device->isReadable() || device->isSequential())
        return false;
    const qint64 start = device->pos();
    const auto components = [device]() -> int {
        if (device->read(2) != QByteArray("\xFF\xD8", 2))
            return 0;
        // Each segment before the frame header is skipped by its length.
        for (;;) {
            char c = 0;
            if (!device->getChar(&c) || uchar(c) != 0xFF)
                return 0;
            while (uchar(c) == 0xFF) {
                if (!device->getChar(&c))
                    return 0;
            }
            const uchar marker = uchar(c);
            if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
                continue;
            if (marker == 0xD9 || marker == 0xDA)
                return 0;
            const QByteArray length = device->read(2);
            if (length.size() != 2)
                return 0;
            const int bytes = (uchar(length[0]) << 8) | uchar(length[1]);
            const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4
                && marker != 0xC8 && marker != 0xCC;
            if (frame) {
                // Precision, height, width, then the number of components.
                const QByteArray header = device->read(6);
                return header.size() == 6 ? uchar(header[5]) : 0;
            }
            const qint64 next = device->pos() + bytes - 2;
            if (bytes < 2 || next > device->size() || !device->seek(next))
                return 0;
        }
    }();
    device->seek(start);
    return components == 4;
}

QSize cmykJpegSize(const QByteArray& data, int scaleDenominator)
{
    if (data.isEmpty() || !validDenominator(scaleDenominator))
        return {};
    Decompressor d(data);
    if (!prepare(d, scaleDenominator, nullptr))
        return {};
    return QSize(int(d.info.output_width), int(d.info.output_height));
}

QImage decodeCmykJpeg(const QByteArray& data, const ReadLimits& limits,
                      const QByteArray& fallbackProfile, int scaleDenominator)
{
    if (data.isEmpty() || !validDenominator(scaleDenominator))
        return {};
    Decompressor d(data);
    QByteArray embedded;
    if (!prepare(d, scaleDenominator, &embedded))
        return {};
    const QSize size(int(d.info.output_width), int(d.info.output_height));
    const DeclaredPicture declared{"jpeg", QSize(int(d.info.image_width), int(d.info.image_height)),
                                   data.size(), 0};
    if (size.isEmpty() || !DecodeGuard(limits).judge(declared, size, 32).allowed())
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    if (!decodeRows(d, image.bits(), image.bytesPerLine()))
        return {};
    const InkConversion ink(embedded, fallbackProfile, d.info.saw_Adobe_marker);
    convertRows(image, ink);
    image.setColorSpace(QColorSpace(QColorSpace::SRgb));
    return image;
}

QByteArray defaultCmykProfile()
{
    static const QByteArray profile = [] {
        QFile file(QString::fromLatin1(defaultProfilePath));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    return profile;
}

} // namespace imaging
