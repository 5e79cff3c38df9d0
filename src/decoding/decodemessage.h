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
    enum class Kind : qint32
    {
        Probe,     // the upright size and the format, nothing decoded
        Picture,   // the whole picture and its copy for the screen
        StandIn,   // a quick decode at the shown size
        Thumbnail, // the picture reduced to an edge, in sRGB
        Frame,     // one frame of an animation
        Exif,      // the Exif data in words, for the metadata panel
        Metadata,  // the metadata to carry into a saved copy, packed
        Embed,     // packed metadata put into the encoded picture sent as the file
        Corner,    // the top left corner at full size, at most the shown size
    };

    enum class Outcome : qint32
    {
        Decoded,
        Unreadable,
        OutOfMemory,
        Crashed,
        TimedOut,
    };

    struct Request
    {
        quint32 number = 0; // which the reply must repeat
        Kind kind = Kind::Picture;
        QString path; // for telling the format by its suffix; the file itself comes as a descriptor
        QSize shownSize;
        int edge = 0;
        int frame = 0;
        QSize pictureSize;   // of the picture being saved, for Embed
        QByteArray metadata; // packed, for Embed; sent as a memory file
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
        quint32 number = 0; // of the request answered
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

    // What a reply may hold, checked before anything of it is mapped or allocated: a helper
    // may have been taken over by the file it read.
    struct Limits
    {
        QSize largest;         // edges of any image; empty where the request asks for none
        qint64 imageBytes = 0; // pixels of any image
        qint64 bytes = 0;      // returned bytes
    };
    // More frames than this are not counted: an animation that long plays up to here.
    static constexpr int kMaxFrames = 100000;

    static Limits limitsFor(const Request& request, qint64 fileBytes);

    // A sealed memory file holding the bytes, read from the start, or -1; the caller closes it.
    static int memoryFile(const QByteArray& bytes);

    // The packed metadata goes into a memory file appended to fds, which the caller closes.
    static bool encode(const Request& request, QByteArray* bytes, QVector<int>* fds);
    // Takes over the descriptor of the metadata, if any, from the end of fds.
    static bool decode(const QByteArray& bytes, QVector<int>* fds, Request* request);

    // The pixels go into sealed shared memory whose descriptors are appended to fds; the caller
    // closes them once sent. False when shared memory could not be had.
    static bool encode(const Reply& reply, QByteArray* bytes, QVector<int>* fds);
    // Takes over the descriptors in fds (closes them); false for a reply that does not parse or
    // claims more than the limits.
    static bool decode(const QByteArray& bytes, const QVector<int>& fds, const Limits& limits,
                       Reply* reply);
};
