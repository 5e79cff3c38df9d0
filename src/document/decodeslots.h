#pragma once

#include <condition_variable>
#include <mutex>

// The decodes under way in the whole program, so that the picture the user waits for never
// shares the cores with work done ahead of need: work in the background waits while a picture
// asked for is read, and never runs on more threads than there are cores; the picture the user
// will look at next goes before thumbnails. Standard locks rather than Qt's, which a
// thread-sanitizer build can see through.
class DecodeSlots
{
public:
    enum class Background
    {
        ReadAhead,
        Thumbnail
    };

    explicit DecodeSlots(int cores);

    // One per core of the machine, shared by every reader of the program.
    static DecodeSlots& shared();

    int cores() const { return m_cores; }

    // Around the read of a picture asked for: it never waits.
    void beginForeground();
    void endForeground();
    // Around a read nobody waits for yet: it waits for a free core and for every read asked
    // for to end; a thumbnail also for every read ahead, waiting or under way.
    void takeBackground(Background kind);
    void giveBackground(Background kind);

private:
    const int m_cores;
    std::mutex m_mutex;
    std::condition_variable m_freed;
    int m_foreground = 0;
    int m_background = 0;
    int m_readAheads = 0;
};
