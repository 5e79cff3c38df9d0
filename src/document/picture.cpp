#include "document/picture.h"

#include "document/pictureanimation.h"
#include "document/pictureloader.h"
#include "document/picturemetadata.h"
#include "document/picturewriter.h"
#include "imaging/displaycolours.h"

#include <QColorSpace>
#include <QMovie>
#include <QStringList>

namespace {

bool mayAnimate(const QString& format)
{
    static const QList<QByteArray> animated = QMovie::supportedFormats();
    return animated.contains(format.toLatin1().toLower());
}

} // namespace

Picture::Picture(QObject* parent)
    : QObject(parent)
    , m_loader(new PictureLoader(PictureCache::shared(), this))
{
    connect(m_loader, &PictureLoader::standInReady, this, &Picture::showStandIn);
    connect(m_loader, &PictureLoader::loaded, this,
            [this](const QString& path, const QImage& image, const QString& format,
                   const QImage& display, const QString& failure,
                   const QVector<QImage>& copies) {
                apply(path, PictureReader::Result{image, format, display, failure, copies});
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

void Picture::setPixels(const QImage& image, const QImage& display,
                        const QVector<QImage>& copies)
{
    m_image = image;
    m_display = display;
    m_copies = copies;
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

const QImage& Picture::standIn() const
{
    static const QImage none;
    return m_image.isNull() || m_image.cacheKey() == m_displayKey ? m_standIn : none;
}

QVector<QImage> Picture::prescaledCopies() const
{
    return m_image.cacheKey() == m_displayKey ? m_copies : QVector<QImage>();
}

const QImage& Picture::displayCopy() const
{
    static const QImage none;
    return m_image.cacheKey() == m_displayKey ? m_display : none;
}

void Picture::load(const QString& path, const PictureReader::ShownSize& shownSize,
                   const QSize& corner)
{
    dropAnimation();
    m_loadingPath = path;
    // A stand-in on screen stays until the next one, but belongs to no later read.
    m_standInPath.clear();
    m_loader->load(path, shownSize, corner);
}

bool Picture::isLoading() const
{
    return m_loader->isLoading();
}

void Picture::waitUntilLoaded()
{
    m_loader->finish();
}

void Picture::preload(const QStringList& paths, bool withCopies)
{
    m_loader->preload(paths, withCopies);
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

void Picture::showStandIn(const QImage& standIn, const QSize& pictureSize, bool corner)
{
    m_standIn = standIn;
    m_standInFor = pictureSize;
    m_standInCorner = corner;
    m_standInPath = m_loadingPath;
    m_broken = false;
    m_readFailure.clear();
    m_image = QImage();
    emit imageChanged();
    emit standInShown();
}

void Picture::apply(const QString& path, const PictureReader::Result& result)
{
    m_path = path;
    m_broken = result.image.isNull();
    m_readFailure = result.failure;
    // No format for an unreadable file, so nothing offers to write a placeholder over it.
    m_format = result.format;
    m_unsavedNew = false;
    setModified(false);
    dropAnimation();
    const QImage standIn = m_standIn;
    setPixels(result.image, result.display, result.copies);
    // A corner paints no smoother than the whole picture, and covers too little of it.
    if (!m_broken && m_standInPath == path && m_standInFor == m_image.size() && !m_standInCorner)
        m_standIn = standIn;
    if (!m_broken && mayAnimate(m_format))
        play();
}

void Picture::play()
{
    m_animation = new PictureAnimation(m_path, m_image, displayCopy(), this);
    m_animation->setHold([this] { return m_editing || (m_animationHold && m_animationHold()); });
    connect(m_animation, &PictureAnimation::frameShown, this, &Picture::showFrame);
    m_animation->start();
}

void Picture::showFrame(const QImage& frame, const QImage& display)
{
    m_image = frame;
    m_display = display;
    m_copies.clear();
    m_standIn = QImage();
    m_displayKey = frame.cacheKey();
    emit imageChanged();
}

PictureAnimation* Picture::animation() const
{
    // A file of a format that can animate counts as animated until its frames are counted.
    return m_animation && m_animation->frameCount() != 1 ? m_animation : nullptr;
}

void Picture::stopAnimation()
{
    if (m_animation)
        m_animation->stop();
}

void Picture::endEdit(bool kept)
{
    m_editing = false;
    if (kept)
        stopAnimation();
}

void Picture::dropAnimation()
{
    m_frameLossTold = false;
    m_editing = false;
    if (!m_animation)
        return;
    m_animation->stop();
    // Not deleted at once: it may be what is telling of its last frame just now.
    m_animation->disconnect(this);
    m_animation->deleteLater();
    m_animation = nullptr;
}

void Picture::adopt(const QImage& image)
{
    m_loader->cancel();
    dropAnimation();
    m_path.clear();
    m_broken = false;
    m_readFailure.clear();
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
