#pragma once

#include "decoding/decodemessage.h"

#include <QString>

#include <memory>

class AnimationFrames;
class QFile;

// The loop of a decoder helper: takes a request and its file from the channel, decodes with the
// program's own readers (Exiv2 for metadata), answers with the pixels in shared memory, until
// the program hangs up.
class DecodeServer
{
public:
    DecodeServer(int channel, qint64 memoryLimitBytes);
    ~DecodeServer();

    // Loads every image plug-in and what the readers keep for later, while files may still be
    // opened by name.
    static void warmUp();
    // Returns when the channel closes or breaks.
    void run();

private:
    struct Animation;

    DecodeMessage::Reply serve(const DecodeMessage::Request& request, QFile* file);
    // Frames follow one another: the file last animated stays open, read up to where it got.
    DecodeMessage::Reply serveFrame(const DecodeMessage::Request& request, QFile* file);
    // Exif in words for the panel, metadata packed for a saved copy, or embedded into one.
    DecodeMessage::Reply serveMetadata(const DecodeMessage::Request& request, QFile* file);
    // A failed read of a picture that announces more pixels than the helper may hold.
    bool needsMoreMemory(QFile* file) const;

    int m_channel;
    qint64 m_memoryLimitBytes;
    // Tests make the helper crash on a file of this name, or end as the kernel's out-of-memory
    // killer would end it.
    QString m_crashName;
    QString m_killName;
    std::unique_ptr<Animation> m_animation;
};
