#pragma once

#include <QCoreApplication>
#include <QByteArray>
#include <QString>

#include <memory>

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

    // Read through a decoder helper, or here while the decoder pool says so. Empty when the
    // file holds none or its type carries none. When the metadata is there but cannot be
    // read, the result is empty and *error says why.
    static PictureMetadata read(const QString& path, QString* error = nullptr);
    // Read from the file's bytes in this process.
    static PictureMetadata readHere(const uchar* data, qint64 size, QString* error = nullptr);

    bool isEmpty() const;

    // Whether files of the format (a name or suffix, any case) can hold the metadata.
    static bool canCarry(const QString& format);

    // Puts the metadata into the encoded file of a picture of the given size, through a decoder
    // helper or here as read() does. The pixels are upright and may have changed, so the
    // orientation becomes 1, the pixel dimensions follow the size and the embedded thumbnail
    // is dropped. On failure the bytes stay as they were and *error says why.
    bool embedInto(QByteArray* encoded, const QSize& size, QString* error) const;
    bool embedHere(QByteArray* encoded, const QSize& size, QString* error) const;

    // The metadata as bytes for a helper, and back; only unpacked where metadata is parsed.
    QByteArray pack() const;
    static PictureMetadata unpack(const QByteArray& packed, QString* error);

private:
    struct Data;
    // What this process parsed, or what a helper packed; never both.
    std::shared_ptr<const Data> m_data;
    QByteArray m_packed;
};
