#pragma once

#include <QThread>

#include <atomic>
#include <memory>

// Owns SANE for the process: initialised once, on the thread every SANE call runs on, and
// ended when the last holder lets go. Objects that talk to scanners move to this thread; ones
// still queued for deletion there are deleted before SANE ends.
class SaneSession : public QThread
{
    Q_OBJECT

public:
    // The running session, or a new one.
    static std::shared_ptr<SaneSession> acquire();
    ~SaneSession() override;

protected:
    void run() override;

private:
    SaneSession();

    std::atomic<bool> m_initialised{false};
};
