#include "support/cmykjpegs.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace cmykjpegs {

QByteArray pressProfile()
{
    QFile file(QStringLiteral("/usr/share/color/icc/ghostscript/default_cmyk.icc"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray encoded(const QSize& size, const QVector<int>& ink, Samples samples,
                   const QByteArray& profile)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = JDIMENSION(size.width());
    info.image_height = JDIMENSION(size.height());
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 98, TRUE);
    if (samples == Samples::AdobeYcck)
        jpeg_set_colorspace(&info, JCS_YCCK);
    // libjpeg marks any CMYK file as Adobe's; a plain one goes without the marker.
    info.write_Adobe_marker = samples != Samples::Plain;
    jpeg_start_compress(&info, TRUE);
    if (!profile.isEmpty())
        jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET*>(profile.constData()),
                               unsigned(profile.size()));
    QByteArray row(size.width() * 4, '\0');
    for (int x = 0; x < size.width(); ++x) {
        for (int channel = 0; channel < 4; ++channel) {
            const int stored = samples == Samples::Plain ? ink[channel] : 255 - ink[channel];
            row[x * 4 + channel] = char(stored);
        }
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {reinterpret_cast<JSAMPLE*>(row.data())};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char*>(out), int(outSize));
    std::free(out);
    return bytes;
}

} // namespace cmykjpegs
