#include "document/picture.h"

#include "document/picturemetadata.h"
#include "document/picturereader.h"
#include "document/picturewriter.h"

Picture::Picture(QObject* parent)
    : QObject(parent)
{
}

void Picture::setImage(const QImage& image)
{
    m_image = image;
    m_preview = QImage();
    emit imageChanged();
}

void Picture::setPreview(const QImage& preview, const QSize& size)
{
    m_preview = preview;
    m_previewSize = size;
    emit imageChanged();
}

bool Picture::read(const QString& path)
{
    const PictureReader::Result result =
        path.isEmpty() ? PictureReader::Result() : PictureReader::read(path);
    m_path = path;
    m_broken = result.image.isNull();
    // No format for an unreadable file, so nothing offers to write a placeholder over it.
    m_format = result.format;
    m_unsavedNew = false;
    setModified(false);
    setImage(result.image);
    return !m_broken;
}

void Picture::adopt(const QImage& image)
{
    m_path.clear();
    m_broken = false;
    m_format.clear();
    m_unsavedNew = true;
    setModified(false);
    setImage(image);
}

bool Picture::write(const QString& path, const QString& format, int quality, QString* error,
                    const PictureMetadata& metadata, QString* metadataError)
{
    if (!PictureWriter::write(m_image, path, format, quality, error, metadata, metadataError))
        return false;
    m_format = format;
    return true;
}

void Picture::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}
