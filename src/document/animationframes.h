#pragma once

#include <QImage>
#include <QString>

#include <memory>

class QFile;
class QImageReader;

// Reads the frames of an animated picture file in order, on whichever thread asks: most
// animated formats can only be decoded front to back, so going back opens the file again. A file
// named by its path is read through the decoder helpers unless the pool decodes in process.
class AnimationFrames
{
public:
    struct Frame
    {
        QImage image;  // null when the file ends or breaks before this frame
        int delay = 0; // milliseconds, as stored
    };

    explicit AnimationFrames(const QString& path);
    // Reads here from a file open for reading, which outlives this.
    explicit AnimationFrames(QFile* file);
    ~AnimationFrames();

    // Known once a frame was read: 0 for a format that does not tell in advance.
    int frameCount() const { return m_frameCount; }
    // Passes after the first: -1 for ever.
    int loopCount() const { return m_loopCount; }
    int firstDelay() const { return m_firstDelay; }

    Frame read(int index);

private:
    bool open();
    Frame readInHelper(int index);

    QString m_path;
    QFile* m_file = nullptr;
    bool m_isolated = false;
    std::unique_ptr<QImageReader> m_reader;
    int m_next = 0;
    int m_frameCount = 0;
    int m_loopCount = 0;
    int m_firstDelay = 0;
};
