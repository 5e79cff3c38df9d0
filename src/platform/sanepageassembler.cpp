#include "platform/sanepageassembler.h"

#include "platform/saneframes.h"

#include <algorithm>

bool SanePageAssembler::beginFrame(const SANE_Parameters& parameters)
{
    if (!SaneFrames::isSupported(parameters))
        return false;
    // A band after a grey or RGB frame, or the reverse, cannot make one image.
    if (!m_image.isNull() && (!SaneFrames::isBand(parameters) || m_bandsDone == 0))
        return false;
    m_parameters = parameters;
    m_data.clear();
    return true;
}

bool SanePageAssembler::addData(const char* data, int length)
{
    if (m_data.size() + qint64(length) > maximumFrameBytes)
        return false;
    m_data.append(data, length);
    return true;
}

bool SanePageAssembler::endFrame()
{
    if (SaneFrames::isBand(m_parameters)) {
        if (m_image.isNull()) {
            const int lines = SaneFrames::lineCount(m_parameters, m_data.size());
            if (lines == 0)
                return false;
            m_image = QImage(m_parameters.pixels_per_line, lines, QImage::Format_RGB32);
            if (m_image.isNull())
                return false;
            m_image.fill(Qt::black);
        }
        SaneFrames::mergeBand(m_image, m_parameters, m_data);
        ++m_bandsDone;
    } else {
        m_image = SaneFrames::decode(m_parameters, m_data);
        if (m_image.isNull())
            return false;
    }
    m_data.clear();
    m_complete = m_parameters.last_frame;
    return true;
}

int SanePageAssembler::progress() const
{
    if (m_parameters.lines <= 0 || m_parameters.bytes_per_line <= 0)
        return -1;
    // A frame may announce nearly 2^62 bytes, and three of them overflow: the percent of the
    // frame comes first (its data stays below maximumFrameBytes), then that of the page.
    const qint64 frame = qint64(m_parameters.lines) * m_parameters.bytes_per_line;
    const qint64 ofFrame = std::min<qint64>(m_data.size(), frame) * 100 / frame;
    const int frames = SaneFrames::isBand(m_parameters) ? 3 : 1;
    const qint64 done = qint64(std::min(m_bandsDone, frames)) * 100 + ofFrame;
    return int(std::min<qint64>(100, done / frames));
}
