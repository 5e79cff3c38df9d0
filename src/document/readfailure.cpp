#include "document/readfailure.h"

#include "document/isolatedreader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>

#include <cstring>

namespace {

// Enough for every magic number the MIME database knows.
const qint64 headLength = 4096;

QString damagedText()
{
    return ReadFailure::tr("Read error: the file is damaged or incomplete");
}

bool isReadable(const QMimeType& type)
{
    const QList<QByteArray> readable = QImageReader::supportedMimeTypes();
    if (readable.contains(type.name().toLatin1()))
        return true;
    for (const QString& alias : type.aliases())
        if (readable.contains(alias.toLatin1()))
            return true;
    return false;
}

} // namespace

QString ReadFailure::text(const QString& path)
{
    // Opening a pipe would wait for a writer for ever.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return QString();
    if (file.size() == 0)
        return tr("Read error: the file is empty");
    const QMimeType type = QMimeDatabase().mimeTypeForData(file.read(headLength));
    if (!type.name().startsWith(QLatin1String("image/")))
        return tr("Read error: the file is not a picture");
    if (!isReadable(type))
        return tr("Read error: no plug-in reads this format (%1)").arg(type.comment());
    return damagedText();
}

QString ReadFailure::partlyReadText(const QString& path)
{
    const bool cutShort = IsolatedReader::readMapped(
        path, [](const uchar* data, qint64 size) { return isCutShortJpeg(data, size); });
    return cutShort ? damagedText() : QString();
}

bool ReadFailure::isCutShortJpeg(const uchar* data, qint64 size)
{
    if (!data || size < 4 || data[0] != 0xff || data[1] != 0xd8)
        return false;
    qint64 at = 2;
    bool inScan = false;
    while (at < size) {
        if (inScan) {
            // Entropy-coded data: only a 0xff that is neither stuffed nor a restart ends it.
            const void* next = std::memchr(data + at, 0xff, size_t(size - at));
            if (!next)
                return true;
            at = static_cast<const uchar*>(next) - data;
            if (at + 1 >= size)
                return true;
            const uchar code = data[at + 1];
            if (code == 0x00 || (code >= 0xd0 && code <= 0xd7)) {
                at += 2;
                continue;
            }
            inScan = false;
        }
        if (data[at] != 0xff)
            return false; // not a marker where one belongs: damaged, but not cut short
        while (at + 1 < size && data[at + 1] == 0xff)
            ++at; // fill bytes
        if (at + 1 >= size)
            return true;
        const uchar code = data[at + 1];
        at += 2;
        if (code == 0xd9)
            return false; // the end of the picture; whatever follows is not ours to judge
        if (code == 0x01 || (code >= 0xd0 && code <= 0xd7))
            continue; // markers without a length
        if (at + 2 > size)
            return true;
        const qint64 length = (qint64(data[at]) << 8) | data[at + 1];
        if (length < 2)
            return false;
        at += length;
        if (at > size)
            return true;
        inScan = code == 0xda;
    }
    return true;
}
