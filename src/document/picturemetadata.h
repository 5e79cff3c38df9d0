#pragma once

#include <QCoreApplication>
#include <QString>

#include <memory>

class QByteArray;
class QSize;

// The Exif, IPTC and XMP data of a picture file, kept so that saving an edited photo does not
// throw away its camera data. Nothing here throws: damaged metadata is reported, never fatal.
class PictureMetadata
{
    Q_DECLARE_TR_FUNCTIONS(PictureMetadata)

public:
    PictureMetadata();
    ~PictureMetadata();
    PictureMetadata(const PictureMetadata& other);
    PictureMetadata& operator=(const PictureMetadata& other);

    // Empty when the file holds none or its type carries none. When the metadata is there but
    // cannot be read, the result is empty and *error says why.
    static PictureMetadata read(const QString& path, QString* error = nullptr);

    bool isEmpty() const;

    // Whether files of the format (a name or suffix, any case) can hold the metadata.
    static bool canCarry(const QString& format);

    // Puts the metadata into the encoded file of a picture of the given size. The pixels are
    // upright and may have changed, so the orientation becomes 1, the pixel dimensions follow
    // the size and the embedded thumbnail is dropped. On failure the bytes stay as they were
    // and *error says why.
    bool embedInto(QByteArray* encoded, const QSize& size, QString* error) const;

private:
    struct Data;
    std::shared_ptr<const Data> m_data;
};
