#include "document/picturewriter.h"

#include "document/jpegquality.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include <cerrno>

#include <unistd.h>

namespace {

bool failed(QString* error, const QString& why)
{
    *error = why;
    return false;
}

// Qt keeps the reason of a failed write only when not a byte went out; the system's code tells
// why a write stopped part way (a full disk, a file-size limit).
bool failedWriting(QString* error, const QFileDevice& file)
{
    return failed(error, errno != 0 ? qt_error_string(errno) : file.errorString());
}

bool writeAll(QFileDevice& file, const QByteArray& bytes, QString* error)
{
    errno = 0;
    return file.write(bytes) == bytes.size() || failedWriting(error, file);
}

// Every byte on the disk, and the file as long as intended. QSaveFile::commit() alone is not
// enough: it drops the error of its own last flush and then replaces the old file all the same.
bool reachesDisk(QFileDevice& file, qint64 size, QString* error)
{
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return failedWriting(error, file);
    // A full disk may show only here, when the data leaves the page cache.
    if (::fsync(file.handle()) != 0)
        return failed(error, qt_error_string(errno));
    if (file.size() != size)
        return failed(error, PictureWriter::tr("The file was cut short."));
    return true;
}

// Puts bytes in place of the file at path, whole or not at all.
bool store(const QByteArray& bytes, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        if (writeAll(file, bytes, error) && reachesDisk(file, bytes.size(), error)) {
            if (file.commit())
                return true;
            return failed(error, file.errorString());
        }
        file.cancelWriting();
        return false;
    }
    // No temporary file can be made beside it, but the file itself may still take new content.
    const QFileInfo existing(path);
    if (existing.isFile() && existing.isWritable())
        return PictureWriter::rewriteInPlace(bytes, path, error);
    return failed(error, file.errorString());
}

bool isJpeg(const QString& format)
{
    return format.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) == 0
           || format.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0;
}

} // namespace

int PictureWriter::quality(const QString& format, const Stored& stored)
{
    const auto percent = [](int value) { return value >= 1 && value <= 100 ? value : -1; };
    if (isJpeg(format))
        return percent(stored.jpeg);
    if (format.compare(QLatin1String("webp"), Qt::CaseInsensitive) == 0)
        return percent(stored.webp);
    if (format.compare(QLatin1String("png"), Qt::CaseInsensitive) == 0)
        return stored.png;
    return -1;
}

int PictureWriter::quality(const QString& format, const Stored& stored, const QString& sourcePath)
{
    const int chosen = quality(format, stored);
    if (chosen != -1 || !isJpeg(format) || sourcePath.isEmpty()
        || !JpegQuality::isJpegFile(sourcePath))
        return chosen;
    const int estimated = JpegQuality::ofFile(sourcePath);
    return estimated > 0 ? estimated : 90;
}

int PictureWriter::effectiveQuality(const QString& format, int quality)
{
    if (quality >= 0)
        return qMin(quality, 100);
    return isJpeg(format) || format.compare(QLatin1String("webp"), Qt::CaseInsensitive) == 0
               ? 75
               : -1;
}

QString PictureWriter::targetPath(const QString& path)
{
    QFileInfo info(path);
    // Bounded, so a loop of links cannot hang the write; such a path then fails to open.
    for (int hops = 0; info.isSymLink() && hops < 40; ++hops)
        info.setFile(info.symLinkTarget());
    return info.absoluteFilePath();
}

bool PictureWriter::write(const QImage& image, const QString& path, const QString& format,
                          int quality, QString* error, const PictureMetadata& metadata,
                          QString* metadataError)
{
    const QString effectiveFormat = format.isEmpty() ? QFileInfo(path).suffix() : format;
    // The whole file is made in memory first: metadata goes into the encoded bytes, and nothing
    // on disk is touched before the new content is known.
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, effectiveFormat.toLocal8Bit());
    writer.setQuality(quality);
    if (!writer.write(image))
        return failed(error, writer.errorString());
    buffer.close();
    if (!metadata.isEmpty() && PictureMetadata::canCarry(effectiveFormat)) {
        QString why;
        if (!metadata.embedInto(&encoded, image.size(), &why) && metadataError)
            *metadataError = why;
    }
    return store(encoded, targetPath(path), error);
}

bool PictureWriter::rewriteInPlace(const QByteArray& bytes, const QString& path, QString* error)
{
    QFile file(path);
    // Unbuffered, so that a failed write leaves nothing pending that would block putting back.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return failed(error, file.errorString());
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(error, file.errorString());
    const auto writeAt = [&file, error](qint64 at, const QByteArray& part) {
        return (file.seek(at) || failed(error, file.errorString())) && writeAll(file, part, error);
    };
    // Growing the file first shows whether the new content fits before any old byte changes.
    const int oldSize = old.size();
    if (bytes.size() > oldSize
        && !(writeAt(oldSize, bytes.mid(oldSize)) && reachesDisk(file, bytes.size(), error))) {
        file.resize(oldSize);
        return false;
    }
    if (writeAt(0, bytes.left(oldSize))
        && (bytes.size() >= oldSize || file.resize(bytes.size())
            || failed(error, file.errorString()))
        && reachesDisk(file, bytes.size(), error))
        return true;
    // Whatever was overwritten goes back; a limit stops writes at the same place both times.
    file.unsetError();
    if (file.seek(0))
        file.write(old);
    file.resize(oldSize);
    return false;
}
