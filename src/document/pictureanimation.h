#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

class AnimationFrames;
class QTimer;

// Plays the frames of an animated picture at their own delays and as often as the file says.
// Frames are decoded on a worker a frame ahead of the one shown and kept while they fit a
// memory budget, so a long animation of large frames holds only a couple of them.
class PictureAnimation : public QObject
{
    Q_OBJECT

public:
    // Four frames of four megapixels.
    static constexpr qint64 defaultBudget = qint64(64) << 20;

    // firstFrame is frame 0 as the picture already shows it, firstDisplay its sRGB copy for the
    // screen (null when it shows as it is).
    PictureAnimation(const QString& path, const QImage& firstFrame, const QImage& firstDisplay,
                     QObject* parent = nullptr);
    ~PictureAnimation() override;

    void setBudget(qint64 bytes) { m_budget = bytes; }
    // Asked whenever a frame is due: while it says so the frame shown stays (a dialog is open,
    // the picture is out of sight) and playing goes on from there afterwards.
    void setHold(const std::function<bool()>& hold) { m_hold = hold; }
    // Without its timer the animation moves only on tick(), so a test sets the pace.
    void setTimerEnabled(bool enabled);

    // Reads the file's frames and plays them; the first frame stays until its delay is known.
    void start();
    // For good: the frame shown stays, the others and the worker's reader go.
    void stop();
    bool isPlaying() const { return m_playing; }
    // 0 while not known yet.
    int frameCount() const { return m_frameCount; }
    int loopCount() const { return m_loopCount; }
    int currentFrame() const { return m_current; }
    // How long a frame is shown; -1 until it was read.
    int delay(int frame) const;
    int cachedFrames() const { return m_frames.size(); }
    bool isDecoding() const { return m_decoding >= 0; }
    // The next frame is due and shows as soon as it is decoded.
    bool isWaitingForFrame() const { return m_due; }

    // Delays of 10 ms and less are mostly files made to mean "as fast as you can"; shown like
    // browsers show them.
    static int shownDelay(int storedDelay);
    // The frame after frame in the given pass (0 for the first), or -1 when playing ends there.
    static int following(int frame, int frameCount, int pass, int loopCount);

public slots:
    // The shown frame's time is up: the next one shows when decoded and not held.
    void tick();

signals:
    // display is the frame's sRGB copy for the screen, made on the worker; null when the frame
    // shows as it is.
    void frameShown(const QImage& frame, const QImage& display);
    // Playing ended: the last frame of the last pass, or the last good one, stays.
    void finished();

private:
    struct Frame
    {
        QImage image;
        QImage display;
    };
    struct Decoded
    {
        int index = 0;
        Frame frame;
        int delay = 0;
        int frameCount = 0;
        int loopCount = 0;
        int firstDelay = 0;
    };

    void decodeAhead();
    void decoded(const Decoded& result);
    // Shows the frame that is due, or decodes the next one ahead.
    void moveOn();
    void show(int frame);
    void scheduleNext();
    void end();
    bool keepsAll() const;

    QString m_path;
    std::shared_ptr<AnimationFrames> m_source;
    QTimer* m_timer;
    bool m_timerEnabled = true;
    std::function<bool()> m_hold;
    QHash<int, Frame> m_frames;
    QVector<int> m_delays;
    qint64 m_frameBytes = 0;
    qint64 m_budget = defaultBudget;
    int m_frameCount = 0;
    int m_loopCount = 0;
    int m_current = 0;
    int m_pass = 0;
    int m_decoding = -1;
    bool m_due = false;
    bool m_playing = false;
    quint64 m_generation = 0;
};
