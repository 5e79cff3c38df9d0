// Reading a 24-megapixel photo that carries a colour profile, against decoding it alone: an
// Adobe RGB JPEG (decode, then the sRGB copy for the screen, Qt's conversion already spread over
// the cores) should cost at most twice the decode; a CMYK JPEG read through its profile at most
// 2.5 times Qt's own plain decode of it.

#include "document/picturereader.h"
#include "support/benchsupport.h"

#include <QColorSpace>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

#include <vector>

namespace {

const int runs = 7;

qint64 readNanoseconds(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    const PictureReader::Result result = PictureReader::read(path);
    const qint64 elapsed = timer.nsecsElapsed();
    return result.image.isNull() ? -1 : elapsed;
}

// Median of the paired ratios read/decode, -1 when a read failed.
double pairedRatio(const QString& path, qint64* read, qint64* decode)
{
    std::vector<double> ratios;
    std::vector<qint64> reads;
    std::vector<qint64> decodes;
    for (int i = 0; i < runs; ++i) {
        const qint64 d = bench::decodeNanoseconds(path);
        const qint64 r = readNanoseconds(path);
        if (d < 0 || r < 0)
            return -1.0;
        decodes.push_back(d);
        reads.push_back(r);
        ratios.push_back(double(r) / double(d));
    }
    *read = bench::median(reads);
    *decode = bench::median(decodes);
    return bench::median(ratios);
}

} // namespace

int main(int argc, char** argv)
{
    bench::IsolatedHome home;
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);

    QImage photo = bench::noisyPhoto(QSize(6000, 4000), 7);
    photo.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    const QString adobe = home.filePath(QStringLiteral("adobe.jpg"));
    if (!photo.save(adobe, "JPEG", 90)) {
        out << "could not write " << adobe << '\n';
        return 1;
    }
    qint64 read = 0;
    qint64 decode = 0;
    const double adobeRatio = pairedRatio(adobe, &read, &decode);
    out << "24 MP Adobe RGB JPEG, median of " << runs << " runs\n"
        << "  decode alone:            " << decode / 1e6 << " ms\n"
        << "  read with the sRGB copy: " << read / 1e6 << " ms\n"
        << "  ratio: " << adobeRatio << " (target at most 2)\n";

    // ImageMagick writes the CMYK file; without it that half is left out.
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    const QString cmyk = home.filePath(QStringLiteral("cmyk.jpg"));
    if (convert.isEmpty()
        || QProcess::execute(convert, {adobe, QStringLiteral("-colorspace"), QStringLiteral("CMYK"),
                                       cmyk})
            != 0) {
        out << "no CMYK file (ImageMagick's convert is missing)\n";
        return 0;
    }
    const double cmykRatio = pairedRatio(cmyk, &read, &decode);
    out << "24 MP CMYK JPEG, median of " << runs << " runs\n"
        << "  Qt's plain decode:        " << decode / 1e6 << " ms\n"
        << "  read through the profile: " << read / 1e6 << " ms\n"
        << "  ratio: " << cmykRatio << " (target at most 2.5)\n";
    return 0;
}
