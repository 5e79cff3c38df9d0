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
    // null when the description and the file do not agree.
    static QImage map(int fd, QDataStream& stream);
};
