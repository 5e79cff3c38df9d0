#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QStringList>

// The image formats the image library reads and writes, and the file-name patterns and
// file-dialog filters made from them. The process-wide instance is safe to use from any thread.
class ImageFormats
{
    Q_DECLARE_TR_FUNCTIONS(ImageFormats)

public:
    // Built from the reader's and writer's format lists on first use.
    static const ImageFormats* instance();

    // Format names are lower-cased, sorted and made unique.
    ImageFormats(const QList<QByteArray>& readable, const QList<QByteArray>& writable);

    const QStringList& readableFormats() const { return m_readable; }
    const QStringList& writableFormats() const { return m_writable; }

    // The suffix is compared without regard to case: "JPG" is readable when "jpg" is.
    bool canRead(const QString& suffix) const;
    bool canWrite(const QString& suffix) const;
    // Whether the text after the name's last dot is a readable suffix.
    bool hasReadableSuffix(const QString& fileName) const;

    // "*.png", "*.PNG" for each format, in list order.
    QStringList readPatterns() const;
    QStringList writePatterns() const;

    // "PNG (*.png *.PNG)" for any spelling of png.
    static QString formatFilter(const QString& format);
    QStringList readFilters() const;
    QStringList writeFilters() const;

    // "All image files (*.bmp *.BMP ...)" over the readable formats.
    QString allImagesFilter() const;

private:
    QStringList m_readable;
    QStringList m_writable;
};
