#pragma once

#include <QByteArray>
#include <QImage>
#include <QPair>
#include <QSize>
#include <QString>
#include <QVector>

// What the program and a decoder helper tell each other: a request names what to make of the
// file sent along with it, a reply carries the outcome and its pixels in shared memory.
class DecodeMessage
{
public:
    enum class Kind : qint32 {
        Probe,     // the upright size and the format, nothing decoded
        Picture,   // the whole picture and its copy for the screen
        StandIn,   // a quick decode at the shown size
        Thumbnail, // the picture reduced to an edge, in sRGB
        Frame,     // one frame of an animation
        Exif,      // the Exif data in words, for the metadata panel
        Metadata,  // the metadata to carry into a saved copy, packed
        Embed,     // packed metadata put into the encoded picture sent as the file
    };

    enum class Outcome : qint32 {
        Decoded,
        Unreadable,
        OutOfMemory,
        Crashed,
        TimedOut,
    };

    struct Request
    {
        Kind kind = Kind::Picture;
        QString path; // for telling the format by its suffix; the file itself comes as a descriptor
        QSize shownSize;
        int edge = 0;
        int frame = 0;
        QSize pictureSize;   // of the picture being saved, for Embed
        QByteArray metadata; // packed, for Embed
    };

    // What a frame request learns of the animation besides the frame.
    struct Animation
    {
        int delay = 0;
        int frameCount = 0;
        int loopCount = 0;
        int firstDelay = 0;
    };

    struct Reply
    {
        Outcome outcome = Outcome::Unreadable;
        QString format;
        QSize size; // upright size of the whole picture
        QImage image;
        QImage display;
        Animation animation;
        QVector<QPair<QString, QString>> exif; // label and value
        QByteArray bytes; // packed metadata, or the encoded picture with its metadata
        QString error;    // why metadata could not be read or embedded
    };

    // A memory file holding the bytes, read from the start, or -1; the caller closes it.
    static int memoryFile(const QByteArray& bytes);

    static QByteArray encode(const Request& request);
    static bool decode(const QByteArray& bytes, Request* request);

    // The pixels go into shared memory whose descriptors are appended to fds; the caller closes
    // them once sent. False when shared memory could not be had.
    static bool encode(const Reply& reply, QByteArray* bytes, QVector<int>* fds);
    // Takes over the descriptors in fds (closes them); false for a reply that does not parse.
    static bool decode(const QByteArray& bytes, const QVector<int>& fds, Reply* reply);
};
