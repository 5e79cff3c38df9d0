#pragma once

#include <QImage>

class QDataStream;

// Pixels handed between processes in shared memory: decoded straight into a memory file where
// the decoder allows, else copied into one, and mapped by the other process into a QImage that
// unmaps it when the last copy goes.
class SharedImage
{
public:
    // A blank image over a memory file of its own, for a decoder to fill; null when there is no
    // memory for it.
    static QImage allocate(const QSize& size, QImage::Format format);
    // A memory file holding the image's pixels, or -1; its description goes to stream. An image
    // from allocate() is handed on as it is.
    static int store(const QImage& image, QDataStream& stream);
    // The image described in stream over the memory file fd (which stays the caller's to close);
    // null when the description and the file do not agree, when the image would be larger than
    // the largest edges or bytes given, or when the file is not sealed.
    static QImage map(int fd, QDataStream& stream, const QSize& largest, qint64 largestBytes);

    // Seals a memory file against shrinking, growing and writing; no writable mapping of it may
    // remain. True when it is sealed so.
    static bool seal(int fd);
    // Whether fd is a memory file sealed so.
    static bool isSealed(int fd);
};
