#pragma once

#include "document/picturereader.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

class PictureAnimation;
class PictureLoader;
class PictureMetadata;

// One open picture as data: its pixels, the file and format they came from, whether the file
// was readable, and whether the pixels changed since. Files are read on a worker; the frames of
// an animated file play in place of its image until the first edit.
class Picture : public QObject
{
    Q_OBJECT

public:
    explicit Picture(QObject* parent = nullptr);

    // While an animation plays, the frame shown.
    const QImage& image() const { return m_image; }
    // For edits in place; whoever changes the pixels through it redraws, and has begun an edit
    // first so that no frame of an animation replaces them.
    QImage& image() { return m_image; }
    // Ends any preview. Pixels without a colour space take the picture's. A playing animation
    // shows its next frame over it: edits hold it.
    void setImage(const QImage& image);
    // What is on screen: the image; while an adjustment runs, its preview; while a file loads, a
    // quick decode standing in for it. The last two may be copies reduced from shownSize().
    const QImage& shownImage() const;
    QSize shownSize() const;
    // A null preview ends it. Shown in sRGB.
    void setPreview(const QImage& preview, const QSize& size);
    // The image in sRGB as read with it, while the pixels are unchanged since; else null (the
    // image shows as it is, or its copy for the screen is still to be made).
    const QImage& displayCopy() const;

    // Starts reading the file on a worker in place of any read under way; loaded() tells when
    // it is in, at once when it was read ahead. An unreadable file leaves a null image and no
    // format. Until then the picture shows what it showed, or from standInShown() on a quick
    // decode at the size shownSize gives, or on the top left corner of a picture larger than
    // corner, at full size.
    void load(const QString& path, const PictureReader::ShownSize& shownSize = {},
              const QSize& corner = {});
    bool isLoading() const;
    // Blocks until the file being read is in, for whatever needs the full pixels.
    void waitUntilLoaded();
    // Reads these files ahead, so that loading one of them next is instant; with their smaller
    // copies when they will be shown reduced.
    void preload(const QStringList& paths, bool withCopies = true);
    // During a stand-in the image is null and the stand-in is shown in the picture's place.
    // Once the file is in, the stand-in stays beside it until the pixels change: far below
    // 100 % it paints smoother than the whole image until smaller copies are made.
    const QImage& standIn() const;
    // The stand-in is the picture's top left corner at full size rather than all of it reduced.
    bool standInIsCorner() const { return m_standInCorner; }
    // Smaller copies of the image made while it was read ahead, while the pixels are unchanged
    // since; else none.
    QVector<QImage> prescaledCopies() const;
    // A picture made in memory: readable, without file or format, not yet saved anywhere.
    void adopt(const QImage& image);
    // Writes the pixels; the format is kept only once the file is written.
    bool write(const QString& path, const QString& format, int quality, QString* error,
               const PictureMetadata& metadata, QString* metadataError);

    // The animation of the file read, playing or stopped; none for a still picture.
    PictureAnimation* animation() const;
    // Read from a file of several frames: only the one shown can be written.
    bool isAnimated() const { return animation() != nullptr; }
    // Stops playing for good on the frame shown, which the image stays.
    void stopAnimation();
    // An edit under way holds the frame shown. Kept, it ends the animation on that frame;
    // dropped, the animation plays on.
    void beginEdit() { m_editing = true; }
    void endEdit(bool kept);
    // Asked whenever a frame is due; while it says so the frame shown stays.
    void setAnimationHold(const std::function<bool()>& hold) { m_animationHold = hold; }
    // Whoever writes an animated picture tells once that the other frames are lost.
    bool frameLossTold() const { return m_frameLossTold; }
    void setFrameLossTold() { m_frameLossTold = true; }

    QString path() const { return m_path; }
    QString format() const { return m_format; }
    void setFormat(const QString& format) { m_format = format; }
    bool isBroken() const { return m_broken; }
    // Why the file could not be read, when more is known than that; else empty.
    QString readFailure() const { return m_readFailure; }
    bool isModified() const { return m_modified; }
    void setModified(bool modified);
    bool isUnsavedNew() const { return m_unsavedNew; }
    void setUnsavedNew(bool unsavedNew) { m_unsavedNew = unsavedNew; }

signals:
    void imageChanged();
    void modifiedChanged(bool modified);
    void standInShown();
    void loaded(bool readable);

private:
    void apply(const QString& path, const PictureReader::Result& result);
    // New pixels with their copy for the screen (null: none needed or not made).
    void setPixels(const QImage& image, const QImage& display,
                   const QVector<QImage>& copies = {});
    void showStandIn(const QImage& standIn, const QSize& pictureSize, bool corner);
    void play();
    void showFrame(const QImage& frame, const QImage& display);
    void dropAnimation();

    PictureLoader* m_loader = nullptr;
    PictureAnimation* m_animation = nullptr;
    std::function<bool()> m_animationHold;
    bool m_frameLossTold = false;
    bool m_editing = false;
    QImage m_image;
    QImage m_display;
    QVector<QImage> m_copies;
    // The image's key when the display copy, the smaller copies and the stand-in were set.
    qint64 m_displayKey = 0;
    QImage m_preview;
    QSize m_previewSize;
    QImage m_standIn;
    QSize m_standInFor;
    bool m_standInCorner = false;
    // The file read last asked for, and the one the stand-in shows.
    QString m_loadingPath;
    QString m_standInPath;
    QString m_path;
    QString m_format;
    bool m_broken = false;
    QString m_readFailure;
    bool m_modified = false;
    bool m_unsavedNew = false;
};
