#include "decoding/sharedimage.h"

#include <QColorSpace>
#include <QDataStream>
#include <QMap>

#include <algorithm>
#include <cstring>
#include <limits>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Mapping
{
    void* address;
    size_t length;
};

void unmap(void* info)
{
    const Mapping* mapping = static_cast<Mapping*>(info);
    ::munmap(mapping->address, mapping->length);
    delete mapping;
}

QMap<QString, QString> texts(const QImage& image)
{
    QMap<QString, QString> texts;
    const QStringList keys = image.textKeys();
    for (const QString& key : keys)
        texts.insert(key, image.text(key));
    return texts;
}

bool indicesWithin(const QImage& image, int colours)
{
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        if (*std::max_element(line, line + image.width()) >= colours)
            return false;
    }
    return true;
}

} // namespace

int SharedImage::store(const QImage& image, QDataStream& stream)
{
    const size_t length = size_t(image.sizeInBytes());
    const int fd = ::memfd_create("lumo-pixels", MFD_CLOEXEC);
    if (fd < 0)
        return -1;
    void* address = MAP_FAILED;
    if (::ftruncate(fd, off_t(length)) == 0)
        address = ::mmap(nullptr, length, PROT_WRITE, MAP_SHARED, fd, 0);
    if (address == MAP_FAILED) {
        ::close(fd);
        return -1;
    }
    std::memcpy(address, image.constBits(), length);
    ::munmap(address, length);
    stream << qint32(image.format()) << image.size() << qint64(image.bytesPerLine())
           << image.colorSpace().iccProfile() << qint32(image.dotsPerMeterX())
           << qint32(image.dotsPerMeterY()) << texts(image) << image.colorTable();
    return fd;
}

QImage SharedImage::map(int fd, QDataStream& stream)
{
    qint32 format = 0;
    QSize size;
    qint64 bytesPerLine = 0;
    QByteArray icc;
    qint32 dotsX = 0;
    qint32 dotsY = 0;
    QMap<QString, QString> texts;
    QVector<QRgb> colours;
    stream >> format >> size >> bytesPerLine >> icc >> dotsX >> dotsY >> texts >> colours;
    if (stream.status() != QDataStream::Ok || format <= QImage::Format_Invalid
        || format >= QImage::NImageFormats || size.isEmpty())
        return QImage();
    const int depth = QImage::toPixelFormat(QImage::Format(format)).bitsPerPixel();
    if ((format == QImage::Format_Mono || format == QImage::Format_MonoLSB) && colours.size() < 2)
        return QImage();
    const qint64 minimumLine = (qint64(size.width()) * depth + 7) / 8;
    // A line must hold its pixels, and the whole must fit the file and an int of QImage.
    if (bytesPerLine < minimumLine || bytesPerLine > std::numeric_limits<int>::max()
        || bytesPerLine % 4 != 0)
        return QImage();
    const qint64 length = bytesPerLine * size.height();
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || info.st_size < length)
        return QImage();
    // Private: edits in place stay in this process. Populated at once, as every pixel is read.
    void* address = ::mmap(nullptr, size_t(length), PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (address == MAP_FAILED)
        return QImage();
    QImage image(static_cast<uchar*>(address), size.width(), size.height(), int(bytesPerLine),
                 QImage::Format(format), unmap, new Mapping{address, size_t(length)});
    // Pixels of an indexed picture point into its colours, every one of them.
    if (format == QImage::Format_Indexed8 && !indicesWithin(image, colours.size()))
        return QImage();
    image.setColorTable(colours);
    if (!icc.isEmpty())
        image.setColorSpace(QColorSpace::fromIccProfile(icc));
    image.setDotsPerMeterX(dotsX);
    image.setDotsPerMeterY(dotsY);
    for (auto text = texts.constBegin(); text != texts.constEnd(); ++text)
        image.setText(text.key(), text.value());
    return image;
}
