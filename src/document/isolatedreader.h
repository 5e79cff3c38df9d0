#pragma once

#include "decoding/decodemessage.h"
#include "document/picturereader.h"

#include <QCoreApplication>
#include <QFile>

// Reads pictures through the decoder helpers, so that no file can take the program down; or
// in this process while the pool is told to decode here. A read that cost its helper says why.
class IsolatedReader
{
    Q_DECLARE_TR_FUNCTIONS(IsolatedReader)

public:
    static PictureReader::Result read(const QString& path);
    static PictureReader::StandIn readScaled(const QString& path,
                                             const PictureReader::ShownSize& shownSize);
    static PictureReader::StandIn readCorner(const QString& path, const QSize& area);
    // An encoded picture that came from elsewhere than a file, such as another program's copy.
    static PictureReader::Result readBytes(const QByteArray& bytes);
    // Helpers only: the caller reads in this process itself when the pool says so.
    static QImage readThumbnail(const QString& path, int edge);

    // The file mapped in this process and handed to read(data, size), with no bytes when it
    // cannot be mapped.
    template <typename Read>
    static auto readMapped(const QString& path, const Read& read)
    {
        QFile file(path);
        const qint64 size = file.open(QIODevice::ReadOnly) ? file.size() : 0;
        const uchar* data = size > 0 ? file.map(0, size) : nullptr;
        return read(data, data ? size : 0);
    }

    // The status text of a read that failed so; empty where the plain read error says it all.
    static QString failureText(DecodeMessage::Outcome outcome);
};
