#include "document/picturecache.h"

#include "imaging/readlimits.h"

#include <QFile>

#include <sys/stat.h>

#include <algorithm>

namespace {

// Five 12-megapixel photos: the ones ahead and behind and a few back, while a walk through a
// big folder stays well under a gigabyte in all.
const qint64 maximumBudget = qint64(256) << 20;

} // namespace

PictureCache::Stamp PictureCache::Stamp::of(const QString& path)
{
    // The file system's clock as it is: a local time would read the time zone each time, which
    // the C library guards with a lock of its own that threads reading beside it cannot see.
    struct stat info = {};
    Stamp stamp;
    if (::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode)) {
        stamp.size = info.st_size;
        stamp.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    }
    return stamp;
}

bool PictureCache::Stamp::operator==(const Stamp& other) const
{
    return size == other.size && modifiedNs == other.modifiedNs;
}

PictureCache::PictureCache(qint64 budget)
    : m_budget(budget)
{
}

PictureCache* PictureCache::shared()
{
    static PictureCache cache;
    return &cache;
}

qint64 PictureCache::defaultBudget()
{
    return budgetFor(imaging::physicalMemoryBytes());
}

qint64 PictureCache::budgetFor(qint64 physicalMemory)
{
    return std::min(physicalMemory / 16, maximumBudget);
}

void PictureCache::insert(const QString& path, const Stamp& stamp,
                          const PictureReader::Result& result)
{
    remove(path);
    qint64 bytes = result.image.sizeInBytes() + result.display.sizeInBytes();
    for (const QImage& copy : result.copies)
        bytes += copy.sizeInBytes();
    if (result.image.isNull() || stamp.size < 0 || bytes > m_budget)
        return;
    while (m_used + bytes > m_budget && !m_entries.empty())
        erase(std::prev(m_entries.end()));
    m_entries.push_front(Entry{path, stamp, result, bytes});
    m_index.insert(path, m_entries.begin());
    m_used += bytes;
}

std::optional<PictureReader::Result> PictureCache::find(const QString& path)
{
    const auto found = m_index.constFind(path);
    if (found == m_index.constEnd())
        return std::nullopt;
    const Entries::iterator it = found.value();
    // Rewritten since it was read: the pixels on disk are not these any more.
    if (!(it->stamp == Stamp::of(path))) {
        erase(it);
        return std::nullopt;
    }
    m_entries.splice(m_entries.begin(), m_entries, it);
    return it->result;
}

bool PictureCache::contains(const QString& path)
{
    return find(path).has_value();
}

void PictureCache::remove(const QString& path)
{
    const auto found = m_index.constFind(path);
    if (found != m_index.constEnd())
        erase(found.value());
}

void PictureCache::makeRoom(qint64 bytes, const QStringList& kept)
{
    auto it = m_entries.end();
    while (m_used + bytes > m_budget && it != m_entries.begin()) {
        const auto older = std::prev(it);
        if (kept.contains(older->path))
            it = older;
        else
            erase(older);
    }
}

void PictureCache::erase(Entries::iterator it)
{
    m_used -= it->bytes;
    m_index.remove(it->path);
    m_entries.erase(it);
}
