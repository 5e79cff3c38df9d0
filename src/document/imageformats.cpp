#include "document/imageformats.h"

#include <QImageReader>
#include <QImageWriter>

#include <algorithm>

namespace {

QStringList formatNames(const QList<QByteArray>& formats)
{
    QStringList names;
    names.reserve(formats.size());
    for (const QByteArray& format : formats)
        names << QString::fromLatin1(format).toLower();
    names.sort(Qt::CaseSensitive);
    names.removeDuplicates();
    return names;
}

QStringList patterns(const QStringList& formats)
{
    QStringList result;
    result.reserve(formats.size() * 2);
    for (const QString& format : formats)
        result << QStringLiteral("*.") + format << QStringLiteral("*.") + format.toUpper();
    return result;
}

QStringList filters(const QStringList& formats)
{
    QStringList result;
    result.reserve(formats.size());
    for (const QString& format : formats)
        result << ImageFormats::formatFilter(format);
    return result;
}

// Directory listings ask this once a file: a binary search in the sorted lower-case names.
bool containsFormat(const QStringList& formats, const QString& suffix)
{
    return !suffix.isEmpty() && std::binary_search(formats.cbegin(), formats.cend(), suffix.toLower());
}

} // namespace

const ImageFormats* ImageFormats::instance()
{
    // Thumbnail workers may get here first; a local static is built exactly once.
    static const ImageFormats formats(QImageReader::supportedImageFormats(),
                                      QImageWriter::supportedImageFormats());
    return &formats;
}

ImageFormats::ImageFormats(const QList<QByteArray>& readable, const QList<QByteArray>& writable)
    : m_readable(formatNames(readable))
    , m_writable(formatNames(writable))
{
}

bool ImageFormats::canRead(const QString& suffix) const
{
    return containsFormat(m_readable, suffix);
}

bool ImageFormats::hasReadableSuffix(const QString& fileName) const
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && canRead(fileName.mid(dot + 1));
}

bool ImageFormats::canWrite(const QString& suffix) const
{
    return containsFormat(m_writable, suffix);
}

QStringList ImageFormats::readPatterns() const
{
    return patterns(m_readable);
}

QStringList ImageFormats::writePatterns() const
{
    return patterns(m_writable);
}

QString ImageFormats::formatFilter(const QString& format)
{
    const QString lower = format.toLower();
    const QString upper = lower.toUpper();
    return QStringLiteral("%1 (*.%2 *.%3)").arg(upper, lower, upper);
}

QStringList ImageFormats::readFilters() const
{
    return filters(m_readable);
}

QStringList ImageFormats::writeFilters() const
{
    return filters(m_writable);
}

QString ImageFormats::allImagesFilter() const
{
    return tr("All image files") + QStringLiteral(" (") + readPatterns().join(QLatin1Char(' '))
        + QLatin1Char(')');
}
