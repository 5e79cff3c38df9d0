#pragma once

#include <QByteArray>
#include <QVector>

// One end of the stream socket between the program and a decoder helper: messages framed by
// their length, with descriptors passed alongside.
class DecoderChannel
{
public:
    // The socket stays the caller's.
    explicit DecoderChannel(int socket);

    int socket() const { return m_socket; }

    bool send(const QByteArray& bytes, const QVector<int>& fds = {}) const;
    // Waits at most timeoutMs for a message to begin (-1: for ever); received descriptors are
    // close-on-exec and the caller's. *timedOut tells a wait that ran out from a broken channel.
    bool receive(QByteArray* bytes, QVector<int>* fds, int timeoutMs = -1,
                 bool* timedOut = nullptr) const;

private:
    int m_socket;
};
