#include "decoding/decoderprocess.h"

#include "decoding/decoderchannel.h"

#include <QFile>
#include <QtDebug>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kChannelFd = 3;
// Loading every image plug-in takes a while on a busy machine, longer in a sanitized build.
constexpr int kStartLimitMs = 120000;
// How long a helper that hung up may take to end before it is killed.
constexpr int kExitLimitMs = 500;

} // namespace

DecoderProcess::DecoderProcess(const QString& program, const QStringList& arguments,
                               const QByteArrayList& environment)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return;
    // Moved above the slot it is duplicated to, so that the duplicate clears close-on-exec.
    int theirs = ends[1];
    if (theirs == kChannelFd) {
        theirs = ::fcntl(ends[1], F_DUPFD_CLOEXEC, kChannelFd + 1);
        ::close(ends[1]);
    }
    const QByteArray path = QFile::encodeName(program);
    QByteArrayList words{path};
    for (const QString& argument : arguments)
        words << argument.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    QByteArrayList variables = environment;
    std::vector<char*> envp;
    for (QByteArray& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, theirs, kChannelFd);
    pid_t pid = -1;
    const int failed = theirs < 0
        ? EBADF
        : ::posix_spawn(&pid, path.constData(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (theirs >= 0)
        ::close(theirs);
    if (failed != 0) {
        qWarning("lumo-image: cannot start the decoder helper %s: %s", path.constData(),
                 strerror(failed));
        ::close(ends[0]);
        return;
    }
    m_pid = pid;
    m_socket = ends[0];
    // However a helper dawdles within a message, no read waits longer than a start may take.
    const timeval patience = {kStartLimitMs / 1000, 0};
    ::setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
}

DecoderProcess::~DecoderProcess()
{
    if (isRunning())
        stop(Exit::Kill);
}

DecodeMessage::Reply DecoderProcess::decode(const DecodeMessage::Request& request, int fd,
                                            int timeoutMs)
{
    DecodeMessage::Reply reply;
    reply.outcome = DecodeMessage::Outcome::Crashed;
    if (!isRunning())
        return reply;
    const DecoderChannel channel(m_socket);
    QByteArray bytes;
    QVector<int> fds;
    // The time limit is the request's, not the start's.
    if (!m_ready) {
        m_ready = channel.receive(&bytes, &fds, kStartLimitMs) && bytes.isEmpty() && fds.isEmpty();
        if (!m_ready) {
            for (const int received : qAsConst(fds))
                ::close(received);
            stop(Exit::Kill);
            return reply;
        }
    }
    bool timedOut = false;
    if (channel.send(DecodeMessage::encode(request), {fd})
        && channel.receive(&bytes, &fds, timeoutMs, &timedOut)) {
        if (DecodeMessage::decode(bytes, fds, &reply))
            return reply;
        // A helper that answers nonsense is not trusted with the next file.
        stop(Exit::Kill);
        reply = DecodeMessage::Reply();
        reply.outcome = DecodeMessage::Outcome::Crashed;
        return reply;
    }
    if (timedOut) {
        stop(Exit::Kill);
        reply.outcome = DecodeMessage::Outcome::TimedOut;
        return reply;
    }
    // Only the kernel kills a helper outright, when the machine runs out of memory.
    reply.outcome = stop(Exit::Await) ? DecodeMessage::Outcome::OutOfMemory
                                      : DecodeMessage::Outcome::Crashed;
    return reply;
}

bool DecoderProcess::stop(Exit exit)
{
    ::close(m_socket);
    m_socket = -1;
    int status = 0;
    pid_t ended = 0;
    // A helper already on its way out is given a moment, so that its status tells how it ended.
    for (int waited = 0; exit == Exit::Await && ended == 0 && waited < kExitLimitMs; waited += 5) {
        ended = ::waitpid(m_pid, &status, WNOHANG);
        if (ended == 0)
            ::usleep(5000);
    }
    const bool killedOutright = ended == m_pid && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (ended != m_pid) {
        ::kill(m_pid, SIGKILL);
        while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    m_pid = -1;
    return killedOutright;
}
