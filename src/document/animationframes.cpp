#include "document/animationframes.h"

#include "decoding/decoderpool.h"
#include "imaging/decodeguard.h"

#include <QFile>
#include <QImageReader>

AnimationFrames::AnimationFrames(const QString& path)
    : m_path(path)
    , m_isolated(!DecoderPool::inProcess())
{
}

AnimationFrames::AnimationFrames(QFile* file)
    : m_file(file)
{
}

AnimationFrames::~AnimationFrames() = default;

bool AnimationFrames::open()
{
    if (m_file && !m_file->seek(0))
        return false;
    m_reader = m_file ? std::make_unique<QImageReader>(m_file)
                      : std::make_unique<QImageReader>(m_path);
    // The same orientation as the first frame the picture was read with.
    m_reader->setAutoTransform(true);
    m_next = 0;
    if (!m_reader->canRead() || !imaging::DecodeGuard().judge(*m_reader).allowed())
        return false;
    m_frameCount = m_reader->imageCount();
    m_loopCount = m_reader->loopCount();
    return true;
}

AnimationFrames::Frame AnimationFrames::read(int index)
{
    Frame frame;
    if (index < 0 || (m_frameCount > 0 && index >= m_frameCount))
        return frame;
    if (m_isolated)
        return readInHelper(index);
    if ((!m_reader || index < m_next) && !open())
        return frame;
    // Frames build on the ones before them, so those in between are decoded too.
    while (m_next <= index) {
        QImage image;
        if (!m_reader->read(&image) || image.isNull()) {
            // Nothing more comes from a broken reader; the next request starts over.
            m_reader.reset();
            return frame;
        }
        const int delay = m_reader->nextImageDelay();
        if (m_next == 0)
            m_firstDelay = delay;
        if (m_next == index) {
            frame.image = image;
            frame.delay = delay;
        }
        ++m_next;
    }
    return frame;
}

AnimationFrames::Frame AnimationFrames::readInHelper(int index)
{
    DecodeMessage::Request request;
    request.kind = DecodeMessage::Kind::Frame;
    request.path = m_path;
    request.frame = index;
    const DecodeMessage::Reply reply = DecoderPool::shared().decode(request);
    Frame frame;
    if (reply.outcome != DecodeMessage::Outcome::Decoded)
        return frame;
    frame.image = reply.image;
    frame.delay = reply.animation.delay;
    m_frameCount = reply.animation.frameCount;
    m_loopCount = reply.animation.loopCount;
    m_firstDelay = reply.animation.firstDelay;
    return frame;
}
