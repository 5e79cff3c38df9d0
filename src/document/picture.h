#pragma once

#include <QImage>
#include <QObject>
#include <QString>

class PictureMetadata;

// One open picture as data: its pixels, the file and format they came from, whether the file
// was readable, and whether the pixels changed since.
class Picture : public QObject
{
    Q_OBJECT

public:
    explicit Picture(QObject* parent = nullptr);

    const QImage& image() const { return m_image; }
    // For edits in place; whoever changes the pixels through it redraws.
    QImage& image() { return m_image; }
    // Ends any preview.
    void setImage(const QImage& image);
    // What is on screen: the image, or while an adjustment runs its preview, which may be a copy
    // reduced from shownSize().
    const QImage& shownImage() const { return m_preview.isNull() ? m_image : m_preview; }
    QSize shownSize() const { return m_preview.isNull() ? m_image.size() : m_previewSize; }
    // A null preview ends it.
    void setPreview(const QImage& preview, const QSize& size);

    // Reads the file: true when readable. An unreadable file leaves a null image and no format.
    bool read(const QString& path);
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

private:
    QImage m_image;
    QImage m_preview;
    QSize m_previewSize;
    QString m_path;
    QString m_format;
    bool m_broken = false;
    bool m_modified = false;
    bool m_unsavedNew = false;
};
