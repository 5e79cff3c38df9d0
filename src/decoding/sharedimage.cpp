#include "decoding/sharedimage.h"

#include <QColorSpace>
#include <QDataStream>
#include <QMap>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
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

// Below this, work on pages is not worth a thread of its own.
constexpr size_t kLarge = size_t(8) << 20;

// The last mapping of a memory file frees its pages, which for a photo takes tens of
// milliseconds: done aside, so dropping a picture does not hold up the thread that drops it.
void unmapAside(void* info)
{
    if (static_cast<Mapping*>(info)->length < kLarge) {
        unmap(info);
        return;
    }
    try {
        std::thread(unmap, info).detach();
    } catch (const std::system_error&) {
        unmap(info);
    }
}

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

// Puts the pages of a fresh mapping in place on a thread of its own, ahead of the decoder that
// writes them top down: page allocation is about a third of a photo's read in a helper, and it
// runs on another core beside the decode instead of before it.
class PageFiller
{
public:
    PageFiller(char* address, size_t length)
        : m_thread(&PageFiller::fill, this, address, length)
    {
    }
    ~PageFiller()
    {
        m_stop = true;
        m_thread.join();
    }

    // Whether this kernel populates a mapping on request (since Linux 5.14).
    static bool available()
    {
        static const bool populates = [] {
            const size_t page = size_t(::sysconf(_SC_PAGESIZE));
            void* probe = ::mmap(nullptr, page, PROT_READ | PROT_WRITE,
                                 MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (probe == MAP_FAILED)
                return false;
            const bool done = ::madvise(probe, page, MADV_POPULATE_WRITE) == 0;
            ::munmap(probe, page);
            return done;
        }();
        return populates;
    }

private:
    void fill(char* address, size_t length)
    {
        // Only a core nothing else wants: a decode beside this one, such as the stand-in shown
        // first, must not wait for pages the decoder here would fault in itself.
        ::setpriority(PRIO_PROCESS, 0, 19);
        constexpr size_t kChunk = size_t(4) << 20;
        for (size_t offset = 0; offset < length && !m_stop; offset += kChunk)
            ::madvise(address + offset, std::min(kChunk, length - offset), MADV_POPULATE_WRITE);
    }

    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

struct Allocation
{
    int fd;
    size_t length;
    std::unique_ptr<PageFiller> filler;
};

// The memory files under images made by allocate(), by the address of their pixels.
struct Allocations
{
    std::mutex mutex;
    std::map<const void*, Allocation> files;
};

Allocations& allocations()
{
    static Allocations shared;
    return shared;
}

void release(void* info)
{
    const Mapping* mapping = static_cast<Mapping*>(info);
    {
        Allocations& all = allocations();
        const std::lock_guard<std::mutex> lock(all.mutex);
        const auto file = all.files.find(mapping->address);
        if (file != all.files.end()) {
            ::close(file->second.fd);
            all.files.erase(file);
        }
    }
    unmap(info);
}

enum class Pages { Now, Aside };

// A memory file of that length with every page in place, now or by a filler started for it,
// written to through address: pages allocated at once cost far less than one fault each.
int createFile(size_t length, void** address, Pages pages)
{
    const int fd = ::memfd_create("lumo-pixels", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0)
        return -1;
    *address = MAP_FAILED;
    // The helper's filter refuses reserving space; the mapping's population does as well.
    if (::ftruncate(fd, off_t(length)) == 0) {
        ::fallocate(fd, 0, 0, off_t(length));
        const int populate = pages == Pages::Now ? MAP_POPULATE : 0;
        *address = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED | populate, fd, 0);
    }
    if (*address == MAP_FAILED) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void describe(const QImage& image, QDataStream& stream)
{
    QMap<QString, QString> texts;
    const QStringList keys = image.textKeys();
    for (const QString& key : keys)
        texts.insert(key, image.text(key));
    stream << qint32(image.format()) << image.size() << qint64(image.bytesPerLine())
           << image.colorSpace().iccProfile() << qint32(image.dotsPerMeterX())
           << qint32(image.dotsPerMeterY()) << texts << image.colorTable();
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

constexpr int kSeals = F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL;

} // namespace

bool SharedImage::seal(int fd)
{
    const int seals = ::fcntl(fd, F_GET_SEALS);
    return seals >= 0 && ((seals & kSeals) == kSeals || ::fcntl(fd, F_ADD_SEALS, kSeals) == 0);
}

bool SharedImage::isSealed(int fd)
{
    // Only memory files take seals, and a file sealed so can no longer change under a mapping.
    const int seals = ::fcntl(fd, F_GET_SEALS);
    return seals >= 0 && (seals & kSeals) == kSeals;
}

QImage SharedImage::allocate(const QSize& size, QImage::Format format)
{
    const QImage shape(1, 1, format);
    if (size.isEmpty() || shape.isNull())
        return QImage();
    const qint64 bytesPerLine = ((qint64(size.width()) * shape.depth() + 31) / 32) * 4;
    if (bytesPerLine > std::numeric_limits<int>::max())
        return QImage();
    const size_t length = size_t(bytesPerLine * size.height());
    void* address = nullptr;
    const bool aside = length >= kLarge && PageFiller::available();
    const int fd = createFile(length, &address, aside ? Pages::Aside : Pages::Now);
    if (fd < 0)
        return QImage();
    std::unique_ptr<PageFiller> filler;
    if (aside) {
        try {
            filler = std::make_unique<PageFiller>(static_cast<char*>(address), length);
        } catch (const std::system_error&) {
            ::madvise(address, length, MADV_POPULATE_WRITE);
        }
    }
    {
        Allocations& all = allocations();
        const std::lock_guard<std::mutex> lock(all.mutex);
        all.files[address] = {fd, length, std::move(filler)};
    }
    return QImage(static_cast<uchar*>(address), size.width(), size.height(), int(bytesPerLine),
                  format, release, new Mapping{address, length});
}

int SharedImage::store(const QImage& image, QDataStream& stream)
{
    const size_t length = size_t(image.sizeInBytes());
    {
        Allocations& all = allocations();
        const std::lock_guard<std::mutex> lock(all.mutex);
        const auto file = all.files.find(image.constBits());
        if (file != all.files.end() && file->second.length >= length) {
            file->second.filler.reset();
            // No seal against writing holds while a writable mapping exists: the pixels stay
            // where they are, mapped again read-only and private.
            void* address = const_cast<uchar*>(image.constBits());
            const int fd = file->second.fd;
            if (!isSealed(fd)
                && (::mmap(address, file->second.length, PROT_READ, MAP_PRIVATE | MAP_FIXED, fd, 0)
                        == MAP_FAILED
                    || !seal(fd)))
                return -1;
            describe(image, stream);
            return ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        }
    }
    void* address = nullptr;
    const int fd = createFile(length, &address, Pages::Now);
    if (fd < 0)
        return -1;
    std::memcpy(address, image.constBits(), length);
    ::munmap(address, length);
    if (!seal(fd)) {
        ::close(fd);
        return -1;
    }
    describe(image, stream);
    return fd;
}

QImage SharedImage::map(int fd, QDataStream& stream, const QSize& largest, qint64 largestBytes)
{
    qint32 format = 0;
    QSize size;
    qint64 bytesPerLine = 0;
    QByteArray icc;
    qint32 dotsX = 0;
    qint32 dotsY = 0;
    QMap<QString, QString> texts;
    stream >> format >> size >> bytesPerLine >> icc >> dotsX >> dotsY >> texts;
    // Counted here: the stream's own reading would reserve whatever count it is sent.
    quint32 colourCount = 0;
    stream >> colourCount;
    if (colourCount > 256)
        return QImage();
    QVector<QRgb> colours(static_cast<int>(colourCount));
    for (QRgb& colour : colours)
        stream >> colour;
    if (stream.status() != QDataStream::Ok || format <= QImage::Format_Invalid
        || format >= QImage::NImageFormats || size.isEmpty() || size.width() > largest.width()
        || size.height() > largest.height())
        return QImage();
    const int depth = QImage::toPixelFormat(QImage::Format(format)).bitsPerPixel();
    if ((format == QImage::Format_Mono || format == QImage::Format_MonoLSB) && colours.size() < 2)
        return QImage();
    const qint64 minimumLine = (qint64(size.width()) * depth + 7) / 8;
    // A line must hold its pixels, and the whole must fit the file and an int of QImage.
    if (bytesPerLine < minimumLine || bytesPerLine > std::numeric_limits<int>::max()
        || bytesPerLine % 4 != 0)
        return QImage();
    // What the file claims is bounded before it is mapped: a sparse file makes any size cheap
    // to claim, and reading its holes would fill memory.
    const qint64 length = bytesPerLine * size.height();
    struct stat info = {};
    if (length > largestBytes || !isSealed(fd) || ::fstat(fd, &info) != 0 || info.st_size < length)
        return QImage();
    // Private: edits in place stay in this process, a page copied only when an edit writes to
    // it. Not populated: faults map the sealed file's pages many at a time, which costs less
    // than populating even when every pixel is read.
    void* address = ::mmap(nullptr, size_t(length), PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0);
    if (address == MAP_FAILED)
        return QImage();
    QImage image(static_cast<uchar*>(address), size.width(), size.height(), int(bytesPerLine),
                 QImage::Format(format), unmapAside, new Mapping{address, size_t(length)});
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
