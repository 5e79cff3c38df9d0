#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QVector>

// One end of the stream socket between the program and a decoder helper: messages framed by
// their length, with descriptors passed alongside. Every wait ends at a deadline, however the
// other end dawdles.
class DecoderChannel
{
public:
    // The socket stays the caller's.
    explicit DecoderChannel(int socket);

    int socket() const { return m_socket; }

    // *timedOut tells a deadline that ran out from a broken channel.
    bool send(const QByteArray& bytes, const QVector<int>& fds = {},
              QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever),
              bool* timedOut = nullptr) const;
    // Received descriptors are close-on-exec and the caller's.
    bool receive(QByteArray* bytes, QVector<int>* fds,
                 QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever),
                 bool* timedOut = nullptr) const;

private:
    // Waits for the socket to be ready for events until the deadline.
    bool ready(short events, QDeadlineTimer deadline, bool* timedOut) const;

    int m_socket;
};
