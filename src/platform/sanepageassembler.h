#pragma once

#include <QByteArray>
#include <QImage>

#include <sane/sane.h>

// Collects the frames of one scanned page, as they arrive, into its image: one grey or RGB
// frame, or a red, green and blue band each in its own pass.
class SanePageAssembler
{
public:
    // No single frame may grow beyond this; an endless page must not take all memory.
    static constexpr qint64 maximumFrameBytes = qint64(1) << 30;

    // False when the frame cannot be read.
    bool beginFrame(const SANE_Parameters& parameters);
    // False when the frame grew beyond the maximum.
    bool addData(const char* data, int length);
    // False when the frame held no whole line or its image could not be made.
    bool endFrame();

    // The last frame of the page has ended.
    bool isComplete() const { return m_complete; }
    QImage image() const { return m_image; }

    // Percent of the page read, or -1 while its height is unknown.
    int progress() const;

private:
    SANE_Parameters m_parameters{};
    QByteArray m_data;
    QImage m_image;
    int m_bandsDone = 0;
    bool m_complete = false;
};
