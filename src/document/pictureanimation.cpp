#include "document/pictureanimation.h"

#include "document/animationframes.h"
#include "document/pooltask.h"
#include "imaging/displaycolours.h"

#include <QFutureWatcher>
#include <QTimer>

#include <algorithm>

namespace {

const int fastestDelay = 10;
const int fastDelayShown = 100;

} // namespace

PictureAnimation::PictureAnimation(const QString& path, const QImage& firstFrame,
                                   const QImage& firstDisplay, QObject* parent)
    : QObject(parent)
    , m_path(path)
    , m_timer(new QTimer(this))
    , m_frameBytes(firstFrame.sizeInBytes())
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &PictureAnimation::tick);
    m_frames.insert(0, {firstFrame, firstDisplay});
}

// Decoding under way holds only its own share of the reader and ends by itself.
PictureAnimation::~PictureAnimation() = default;

void PictureAnimation::setTimerEnabled(bool enabled)
{
    m_timerEnabled = enabled;
    if (!enabled)
        m_timer->stop();
}

int PictureAnimation::shownDelay(int storedDelay)
{
    return storedDelay <= fastestDelay ? fastDelayShown : storedDelay;
}

int PictureAnimation::following(int frame, int frameCount, int pass, int loopCount)
{
    if (frameCount <= 0 || frame + 1 < frameCount)
        return frame + 1;
    if (frameCount == 1)
        return -1;
    return loopCount < 0 || pass < loopCount ? 0 : -1;
}

int PictureAnimation::delay(int frame) const
{
    if (frame < 0 || frame >= m_delays.size() || m_delays.at(frame) < 0)
        return -1;
    return shownDelay(m_delays.at(frame));
}

void PictureAnimation::start()
{
    if (m_playing || m_source)
        return;
    m_playing = true;
    m_source = std::make_shared<AnimationFrames>(m_path);
    decodeAhead();
}

void PictureAnimation::stop()
{
    if (!m_playing)
        return;
    m_playing = false;
    m_due = false;
    m_timer->stop();
    ++m_generation;
    m_decoding = -1;
    m_source.reset();
    const Frame shown = m_frames.value(m_current);
    m_frames.clear();
    m_frames.insert(m_current, shown);
}

void PictureAnimation::end()
{
    stop();
    emit finished();
}

bool PictureAnimation::keepsAll() const
{
    return m_frameCount > 0 && m_frameBytes * m_frameCount <= m_budget;
}

void PictureAnimation::tick()
{
    if (!m_playing)
        return;
    if (m_hold && m_hold()) {
        scheduleNext();
        return;
    }
    const int next = following(m_current, m_frameCount, m_pass, m_loopCount);
    if (next < 0) {
        end();
        return;
    }
    if (!m_frames.contains(next)) {
        // Shown as soon as it is decoded: a slow decode slows the animation, never skips.
        m_due = true;
        decodeAhead();
        return;
    }
    m_due = false;
    if (next == 0)
        ++m_pass;
    show(next);
}

void PictureAnimation::show(int frame)
{
    m_current = frame;
    if (!keepsAll()) {
        const Frame shown = m_frames.value(frame);
        m_frames.clear();
        m_frames.insert(frame, shown);
    }
    const Frame shown = m_frames.value(frame);
    emit frameShown(shown.image, shown.display);
    scheduleNext();
    decodeAhead();
}

void PictureAnimation::scheduleNext()
{
    const int wait = delay(m_current);
    if (m_timerEnabled && m_playing && wait >= 0)
        m_timer->start(wait);
}

void PictureAnimation::decodeAhead()
{
    if (!m_playing || m_decoding >= 0)
        return;
    const int wanted = following(m_current, m_frameCount, m_pass, m_loopCount);
    if (wanted < 0)
        return;
    if (m_frames.contains(wanted))
        return;
    m_decoding = wanted;
    auto* watcher = new QFutureWatcher<Decoded>(this);
    const quint64 generation = m_generation;
    connect(watcher, &QFutureWatcher<Decoded>::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (generation == m_generation)
            decoded(poolResult(watcher->future()));
    });
    watcher->setFuture(runInPool([source = m_source, wanted] {
        const AnimationFrames::Frame frame = source->read(wanted);
        Decoded result;
        result.index = wanted;
        result.frame.image = frame.image;
        // Converted here, off the GUI thread, like the first frame was.
        if (imaging::needsDisplayConversion(frame.image))
            result.frame.display = imaging::displayColours(frame.image);
        result.delay = frame.delay;
        result.frameCount = source->frameCount();
        result.loopCount = source->loopCount();
        result.firstDelay = source->firstDelay();
        return result;
    }));
}

void PictureAnimation::decoded(const Decoded& result)
{
    m_decoding = -1;
    if (m_delays.isEmpty()) {
        m_frameCount = result.frameCount;
        m_loopCount = result.loopCount;
        // Grown as frames arrive: the count is the file's word, or a helper's.
        m_delays.fill(-1, 1);
        m_delays[0] = result.firstDelay;
        // One frame is a still picture: nothing to play.
        if (m_frameCount == 1) {
            end();
            return;
        }
        scheduleNext();
    }
    if (result.frame.image.isNull()) {
        if (m_frameCount == 0) {
            // A format that does not count its frames tells the end by running out of them.
            m_frameCount = result.index;
            if (m_frameCount > 1) {
                moveOn();
                return;
            }
        }
        // In any other a frame that cannot be read ends playing on the last good one.
        end();
        return;
    }
    while (m_delays.size() <= result.index)
        m_delays.append(-1);
    m_delays[result.index] = result.delay;
    m_frames.insert(result.index, result.frame);
    moveOn();
}

void PictureAnimation::moveOn()
{
    if (m_due)
        tick();
    else
        decodeAhead();
}
