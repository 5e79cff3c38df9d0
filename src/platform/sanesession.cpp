#include "platform/sanesession.h"

#include <QCoreApplication>
#include <QMutex>

#include <sane/sane.h>

SaneSession::SaneSession()
{
    setObjectName(QStringLiteral("SANE"));
}

SaneSession::~SaneSession()
{
    quit();
    wait();
}

std::shared_ptr<SaneSession> SaneSession::acquire()
{
    static QMutex mutex;
    static std::weak_ptr<SaneSession> running;
    const QMutexLocker lock(&mutex);
    std::shared_ptr<SaneSession> session = running.lock();
    if (!session) {
        session.reset(new SaneSession);
        session->start();
        running = session;
    }
    return session;
}

void SaneSession::run()
{
    SANE_Int version = 0;
    m_initialised = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
    exec();
    // Devices still open are closed by their owners' destructors, which must run while SANE is.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (m_initialised)
        sane_exit();
    m_initialised = false;
}
