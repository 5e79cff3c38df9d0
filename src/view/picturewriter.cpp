#include "view/picturewriter.h"

#include "app/settings.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

int PictureWriter::quality(const QString& format, int storedJpeg, int storedPng)
{
    if (format.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) == 0
        || format.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0)
        return storedJpeg >= 1 && storedJpeg <= 100 ? storedJpeg : -1;
    if (format.compare(QLatin1String("png"), Qt::CaseInsensitive) == 0)
        return storedPng;
    return -1;
}

int PictureWriter::configuredQuality(const QString& format)
{
    const Settings::General* general = Settings::instance()->general();
    return quality(format, general->qualityJPEG(), general->qualityPNG());
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
    // Metadata goes into the encoded bytes before the file is committed, so the old file stays
    // whole until the new one is complete.
    const bool withMetadata = !metadata.isEmpty() && PictureMetadata::canCarry(effectiveFormat);
    QByteArray encoded;
    if (withMetadata) {
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, effectiveFormat.toLocal8Bit());
        writer.setQuality(quality);
        if (!writer.write(image)) {
            *error = writer.errorString();
            return false;
        }
        QString why;
        if (!metadata.embedInto(&encoded, image.size(), &why) && metadataError)
            *metadataError = why;
    }
    QSaveFile file(targetPath(path));
    // A writable file in a folder we may not create files in can still be overwritten.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (withMetadata) {
        if (file.write(encoded) != encoded.size()) {
            *error = file.errorString();
            file.cancelWriting();
            return false;
        }
    } else {
        QImageWriter writer(&file, effectiveFormat.toLocal8Bit());
        writer.setQuality(quality);
        if (!writer.write(image)) {
            *error = writer.errorString();
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
