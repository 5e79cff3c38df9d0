#pragma once

#include "decoding/decodemessage.h"

#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <sys/types.h>

// One running decoder helper and the program's end of its channel. It serves one request at a
// time; a helper that dies or overruns its time is gone for good and says why in the reply.
class DecoderProcess
{
public:
    // Starts the helper with the channel as descriptor 3, stdin and stdout on /dev/null, stderr
    // into the debug log, and nothing else inherited.
    DecoderProcess(const QString& program, const QStringList& arguments,
                   const QByteArrayList& environment);
    // Kills the helper if it still runs.
    ~DecoderProcess();
    DecoderProcess(const DecoderProcess&) = delete;
    DecoderProcess& operator=(const DecoderProcess&) = delete;

    bool isRunning() const { return m_pid > 0; }

    // Sends the request with the open file fd (which stays the caller's) and waits at most
    // timeoutMs from now for the whole answer; a helper that takes longer, or answers beyond
    // what the request allows, is killed. So is one that has served its share of files.
    DecodeMessage::Reply decode(const DecodeMessage::Request& request, int fd, int timeoutMs);

private:
    enum class Exit
    {
        Kill,
        Await
    };
    // Ends and reaps the helper, killing it unless it ends by itself within a moment where
    // awaited; true when it had been killed outright by someone else.
    bool stop(Exit exit);
    // Passes what the helper wrote to stderr on to the debug log.
    void drainErrors();

    pid_t m_pid = -1;
    bool m_ready = false;
    int m_socket = -1;
    int m_errors = -1;
    QByteArray m_errorText;
    quint32 m_requests = 0;
};
