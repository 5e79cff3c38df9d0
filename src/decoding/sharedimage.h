#pragma once

#include <QImage>

class QDataStream;

// Pixels handed between processes in shared memory: written once into a memory file by the one
// that decoded them, mapped by the other into a QImage that unmaps it when the last copy goes.
class SharedImage
{
public:
    // A memory file holding the image's pixels, or -1; its description goes to stream.
    static int store(const QImage& image, QDataStream& stream);
    // The image described in stream over the memory file fd (which stays the caller's to close);
    // null when the description and the file do not agree.
    static QImage map(int fd, QDataStream& stream);
};
