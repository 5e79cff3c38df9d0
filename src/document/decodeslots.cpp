#include "document/decodeslots.h"

#include <QThread>

#include <algorithm>

DecodeSlots::DecodeSlots(int cores)
    : m_cores(std::max(1, cores))
{
}

DecodeSlots& DecodeSlots::shared()
{
    static DecodeSlots machine(QThread::idealThreadCount());
    return machine;
}

void DecodeSlots::beginForeground()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    ++m_foreground;
}

void DecodeSlots::endForeground()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        --m_foreground;
    }
    m_freed.notify_all();
}

void DecodeSlots::takeBackground(Background kind)
{
    const bool ahead = kind == Background::ReadAhead;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_readAheads += int(ahead);
    m_freed.wait(lock, [this, ahead] {
        return m_foreground == 0 && m_background < m_cores && (ahead || m_readAheads == 0);
    });
    ++m_background;
}

void DecodeSlots::giveBackground(Background kind)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        --m_background;
        m_readAheads -= int(kind == Background::ReadAhead);
    }
    m_freed.notify_all();
}
