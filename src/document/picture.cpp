#include "document/picture.h"

#include "document/pictureloader.h"
#include "document/picturemetadata.h"
#include "document/picturewriter.h"
#include "imaging/displaycolours.h"

#include <QColorSpace>
#include <QStringList>

Picture::Picture(QObject* parent)
    : QObject(parent)
    , m_loader(new PictureLoader(PictureCache::shared(), this))
{
    connect(m_loader, &PictureLoader::standInReady, this, &Picture::showStandIn);
    connect(m_loader, &PictureLoader::loaded, this,
            [this](const QString& path, const QImage& image, const QString& format,
                   const QImage& display) {
                apply(path, PictureReader::Result{image, format, display});
                emit loaded(!m_broken);
            });
}

void Picture::setImage(const QImage& image)
{
    // Edited pixels stay in the picture's colour space; some of Qt's passes (quarter turns)
    // drop it from their result.
    if (image.isNull() || image.colorSpace().isValid() || !m_image.colorSpace().isValid()) {
        setPixels(image, QImage());
        return;
    }
    QImage edited = image;
    edited.setColorSpace(m_image.colorSpace());
    setPixels(edited, QImage());
}

void Picture::setPixels(const QImage& image, const QImage& display)
{
    m_image = image;
    m_display = display;
    m_displayKey = m_image.cacheKey();
    m_preview = QImage();
    m_standIn = QImage();
    emit imageChanged();
}

void Picture::setPreview(const QImage& preview, const QSize& size)
{
    // A preview is made at about the size shown, on this thread like its pass.
    m_preview = imaging::displayColours(preview);
    m_previewSize = size;
    emit imageChanged();
}

const QImage& Picture::displayCopy() const
{
    static const QImage none;
    return m_image.cacheKey() == m_displayKey ? m_display : none;
}

void Picture::load(const QString& path, const PictureReader::ShownSize& shownSize)
{
    m_loader->load(path, shownSize);
}

bool Picture::isLoading() const
{
    return m_loader->isLoading();
}

void Picture::waitUntilLoaded()
{
    m_loader->finish();
}

void Picture::preload(const QStringList& paths)
{
    m_loader->preload(paths);
}

const QImage& Picture::shownImage() const
{
    if (!m_preview.isNull())
        return m_preview;
    return m_image.isNull() && !m_standIn.isNull() ? m_standIn : m_image;
}

QSize Picture::shownSize() const
{
    if (!m_preview.isNull())
        return m_previewSize;
    return m_image.isNull() && !m_standIn.isNull() ? m_standInFor : m_image.size();
}

void Picture::showStandIn(const QImage& standIn, const QSize& pictureSize)
{
    m_standIn = standIn;
    m_standInFor = pictureSize;
    m_broken = false;
    m_image = QImage();
    emit imageChanged();
    emit standInShown();
}

void Picture::apply(const QString& path, const PictureReader::Result& result)
{
    m_path = path;
    m_broken = result.image.isNull();
    // No format for an unreadable file, so nothing offers to write a placeholder over it.
    m_format = result.format;
    m_unsavedNew = false;
    setModified(false);
    setPixels(result.image, result.display);
}

void Picture::adopt(const QImage& image)
{
    m_loader->cancel();
    m_path.clear();
    m_broken = false;
    m_format.clear();
    m_unsavedNew = true;
    setModified(false);
    setPixels(image, QImage());
}

bool Picture::write(const QString& path, const QString& format, int quality, QString* error,
                    const PictureMetadata& metadata, QString* metadataError)
{
    if (!PictureWriter::write(m_image, path, format, quality, error, metadata, metadataError))
        return false;
    m_format = format;
    m_loader->forget(path);
    return true;
}

void Picture::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}
