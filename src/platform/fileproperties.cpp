#include "platform/fileproperties.h"

#include "decoding/decoderpool.h"
#include "imaging/decodeguard.h"
#include "platform/localpath.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLocale>
#include <QMimeDatabase>

FileProperties::FileProperties(const QString& path)
{
    const QFileInfo entry(absoluteLocalPath(path));
    m_exists = entry.exists() || entry.isSymLink();
    if (!m_exists)
        return;

    set(Field::Name, entry.fileName().isEmpty() ? entry.absoluteFilePath() : entry.fileName());
    set(Field::Location, QDir::toNativeSeparators(entry.absolutePath()));

    if (!entry.exists()) {
        set(Field::Type, tr("Link to a missing file"));
        set(Field::LinkTarget, entry.symLinkTarget());
        return;
    }

    // Pipes and devices are only ever named: reading one could block the tool for good.
    const QMimeType type = QMimeDatabase().mimeTypeForFile(entry);
    set(Field::Type, type.comment());
    if (entry.isDir())
        set(Field::Contents, contentsText(entry));
    else if (entry.isFile())
        set(Field::Size, sizeText(entry.size()));
    set(Field::Modified, QLocale().toString(entry.lastModified(), QLocale::LongFormat));
    set(Field::Dimensions,
        dimensionsText(entry, type.name().startsWith(QLatin1String("image/"))));
    if (entry.isSymLink())
        set(Field::LinkTarget, entry.symLinkTarget());
}

QList<FileProperties::Field> FileProperties::fields() const
{
    QList<Field> result;
    for (const auto& row : m_rows)
        result << row.first;
    return result;
}

QString FileProperties::text(Field field) const
{
    for (const auto& row : m_rows) {
        if (row.first == field)
            return row.second;
    }
    return QString();
}

QString FileProperties::label(Field field)
{
    switch (field) {
    case Field::Name:
        return tr("Name:");
    case Field::Location:
        return tr("Location:");
    case Field::Type:
        return tr("Type:");
    case Field::Size:
        return tr("Size:");
    case Field::Contents:
        return tr("Contents:");
    case Field::Modified:
        return tr("Modified:");
    case Field::Dimensions:
        return tr("Dimensions:");
    case Field::LinkTarget:
        return tr("Link target:");
    }
    return QString();
}

QString FileProperties::sizeText(qint64 bytes)
{
    const QLocale locale;
    if (bytes == 1)
        return tr("1 byte");
    if (bytes < 1024)
        return tr("%1 bytes").arg(locale.toString(bytes));
    return tr("%1 (%2 bytes)").arg(locale.formattedDataSize(bytes), locale.toString(bytes));
}

void FileProperties::set(Field field, const QString& text)
{
    if (!text.isEmpty())
        m_rows.append({field, text});
}

QSize FileProperties::uprightSize(const QString& path)
{
    // Even the size is the image plug-ins' to tell, and some allocate on the word of the file.
    if (!DecoderPool::inProcess()) {
        DecodeMessage::Request request;
        request.kind = DecodeMessage::Kind::Probe;
        request.path = path;
        const DecodeMessage::Reply reply = DecoderPool::shared().decode(request);
        return reply.outcome == DecodeMessage::Outcome::Decoded ? reply.size : QSize();
    }
    QImageReader reader(path);
    // A size too large to decode is still the picture's size; a broken framing tells none.
    QSize size = reader.canRead() ? imaging::DecodeGuard().judge(reader).declared : QSize();
    // The picture is shown upright, so its upright size is the one that means something.
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

QString FileProperties::dimensionsText(const QFileInfo& entry, bool isImageType)
{
    if (!entry.isFile())
        return QString();
    const QSize size = uprightSize(entry.absoluteFilePath());
    if (!size.isValid())
        return isImageType ? tr("Cannot be read") : QString();
    return tr("%1 × %2 pixels").arg(size.width()).arg(size.height());
}

QString FileProperties::contentsText(const QFileInfo& entry)
{
    if (!entry.isReadable())
        return tr("Cannot be read");
    const int count =
        QDir(entry.absoluteFilePath())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
            .size();
    if (count == 1)
        return tr("1 item");
    return tr("%1 items").arg(count);
}
