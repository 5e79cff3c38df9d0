#include "decoding/decoderprocess.h"

#include "decoding/decoderchannel.h"

#include <QFile>
#include <QLoggingCategory>
#include <QtDebug>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <new>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kChannelFd = 3;
// Loading every image plug-in takes a while on a busy machine, longer in a sanitized build.
constexpr int kStartLimitMs = 120000;
// How long a helper that hung up may take to end before it is killed.
constexpr int kExitLimitMs = 500;
// Files a helper reads before it makes way for a fresh one: whatever a file did to it ends.
constexpr int kFilesPerHelper = 200;

Q_LOGGING_CATEGORY(lcDecoder, "lumo.decode", QtInfoMsg)

bool retiresAfter(DecodeMessage::Kind kind)
{
    // Exiv2 parses the whole file, or the program's picture is handed over: not a helper to
    // keep.
    return kind == DecodeMessage::Kind::Exif || kind == DecodeMessage::Kind::Metadata
           || kind == DecodeMessage::Kind::Embed;
}

} // namespace

DecoderProcess::DecoderProcess(const QString& program, const QStringList& arguments,
                               const QByteArrayList& environment)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ends) != 0)
        return;
    // What the helper writes to stderr goes to the debug log. A full pipe drops its writes
    // rather than hold the helper up.
    int errors[2];
    if (::pipe2(errors, O_CLOEXEC | O_NONBLOCK) != 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return;
    }
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

    // Nothing of the program's own: no terminal, no session log.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errors[1], 2);
    posix_spawn_file_actions_adddup2(&actions, theirs, kChannelFd);
    pid_t pid = -1;
    const int failed = theirs < 0 ? EBADF
                                  : ::posix_spawn(&pid, path.constData(), &actions, nullptr,
                                                  argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (theirs >= 0)
        ::close(theirs);
    ::close(errors[1]);
    if (failed != 0) {
        qWarning("lumo-image: cannot start the decoder helper %s: %s", path.constData(),
                 strerror(failed));
        ::close(ends[0]);
        ::close(errors[0]);
        return;
    }
    m_pid = pid;
    m_socket = ends[0];
    m_errors = errors[0];
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
        m_ready = channel.receive(&bytes, &fds, QDeadlineTimer(kStartLimitMs)) && bytes.isEmpty()
                  && fds.isEmpty();
        if (!m_ready) {
            for (const int received : qAsConst(fds))
                ::close(received);
            stop(Exit::Kill);
            return reply;
        }
    }
    // One deadline for sending the request and receiving the whole reply.
    const QDeadlineTimer deadline(timeoutMs);
    DecodeMessage::Request numbered = request;
    numbered.number = ++m_requests;
    QByteArray message;
    QVector<int> sent{fd};
    if (!DecodeMessage::encode(numbered, &message, &sent)) {
        reply.outcome = DecodeMessage::Outcome::OutOfMemory;
        return reply;
    }
    bool timedOut = false;
    bool received = channel.send(message, sent, deadline, &timedOut);
    for (int i = 1; i < sent.size(); ++i)
        ::close(sent.at(i));
    try {
        received = received && channel.receive(&bytes, &fds, deadline, &timedOut);
    } catch (const std::bad_alloc&) {
        received = false;
    }
    drainErrors();
    if (received) {
        struct stat file = {};
        const qint64 fileBytes = ::fstat(fd, &file) == 0 ? file.st_size : 0;
        bool understood = false;
        try {
            understood = DecodeMessage::decode(bytes, fds,
                                               DecodeMessage::limitsFor(request, fileBytes), &reply)
                         && reply.number == numbered.number;
        } catch (const std::bad_alloc&) {
            // Claims that fit the limits may still not fit the memory left.
        }
        if (understood) {
            if (retiresAfter(request.kind) || m_requests >= kFilesPerHelper)
                stop(Exit::Kill);
            return reply;
        }
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
    reply.outcome =
        stop(Exit::Await) ? DecodeMessage::Outcome::OutOfMemory : DecodeMessage::Outcome::Crashed;
    return reply;
}

void DecoderProcess::drainErrors()
{
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(m_errors, buffer, sizeof buffer)) > 0)
        m_errorText.append(buffer, int(got));
    // Whole lines only, and not without end.
    int end;
    while ((end = m_errorText.indexOf('\n')) >= 0) {
        qCDebug(lcDecoder).noquote() << QString::fromLocal8Bit(m_errorText.left(end));
        m_errorText.remove(0, end + 1);
    }
    if (m_errorText.size() > int(sizeof buffer) || (got == 0 && !m_errorText.isEmpty())) {
        qCDebug(lcDecoder).noquote() << QString::fromLocal8Bit(m_errorText);
        m_errorText.clear();
    }
}

bool DecoderProcess::stop(Exit exit)
{
    ::close(m_socket);
    m_socket = -1;
    drainErrors();
    ::close(m_errors);
    m_errors = -1;
    int status = 0;
    pid_t ended = 0;
    // A helper already on its way out is given a moment, so that its status tells how it ended.
    for (int waited = 0; exit == Exit::Await && ended == 0 && waited < kExitLimitMs; waited += 5) {
        ended = ::waitpid(m_pid, &status, WNOHANG);
        if (ended == 0)
            ::usleep(5000);
    }
    const bool killedOutright =
        ended == m_pid && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (ended != m_pid) {
        ::kill(m_pid, SIGKILL);
        while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    m_pid = -1;
    return killedOutright;
}
