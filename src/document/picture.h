#pragma once

#include "document/picturereader.h"

#include <QImage>
#include <QObject>
#include <QString>

class PictureLoader;
class PictureMetadata;

// One open picture as data: its pixels, the file and format they came from, whether the file
// was readable, and whether the pixels changed since. Files are read on a worker.
class Picture : public QObject
{
    Q_OBJECT

public:
    explicit Picture(QObject* parent = nullptr);

    const QImage& image() const { return m_image; }
    // For edits in place; whoever changes the pixels through it redraws.
    QImage& image() { return m_image; }
    // Ends any preview. Pixels without a colour space take the picture's.
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
    // decode at the size shownSize gives.
    void load(const QString& path, const PictureReader::ShownSize& shownSize = {});
    bool isLoading() const;
    // Blocks until the file being read is in, for whatever needs the full pixels.
    void waitUntilLoaded();
    // Reads these files ahead, so that loading one of them next is instant.
    void preload(const QStringList& paths);
    // During a stand-in the image is null and the stand-in is shown in the picture's place.
    const QImage& standIn() const { return m_standIn; }
    // A picture made in memory: readable, without file or format, not yet saved anywhere.
    void adopt(const QImage& image);
    // Writes the pixels; the format is kept only once the file is written.
    bool write(const QString& path, const QString& format, int quality, QString* error,
               const PictureMetadata& metadata, QString* metadataError);

    QString path() const { return m_path; }
    QString format() const { return m_format; }
    void setFormat(const QString& format) { m_format = format; }
    bool isBroken() const { return m_broken; }
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
    void setPixels(const QImage& image, const QImage& display);
    void showStandIn(const QImage& standIn, const QSize& pictureSize);

    PictureLoader* m_loader = nullptr;
    QImage m_image;
    QImage m_display;
    qint64 m_displayKey = 0;
    QImage m_preview;
    QSize m_previewSize;
    QImage m_standIn;
    QSize m_standInFor;
    QString m_path;
    QString m_format;
    bool m_broken = false;
    bool m_modified = false;
    bool m_unsavedNew = false;
};
