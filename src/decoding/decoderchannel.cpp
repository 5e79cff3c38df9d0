#include "decoding/decoderchannel.h"

#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// More than a reply ever carries: a picture and its copy for the screen.
constexpr int kMaxFds = 4;
// A description of a picture is small; anything larger is not a message of ours.
constexpr quint32 kMaxMessage = 64 * 1024 * 1024;

bool sendAll(int socket, const char* data, size_t length)
{
    while (length > 0) {
        const ssize_t sent = ::send(socket, data, length, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        data += sent;
        length -= size_t(sent);
    }
    return true;
}

// Waits at most timeoutMs (-1: for ever) for more to read.
bool readable(int socket, int timeoutMs)
{
    pollfd waiting = {socket, POLLIN, 0};
    int ready;
    do
        ready = ::poll(&waiting, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}

// A helper that stops halfway through a message holds the program no longer than one that
// never begins it.
bool receiveAll(int socket, char* data, size_t length, int timeoutMs)
{
    while (length > 0) {
        if (!readable(socket, timeoutMs))
            return false;
        const ssize_t got = ::recv(socket, data, length, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        length -= size_t(got);
    }
    return true;
}

} // namespace

DecoderChannel::DecoderChannel(int socket)
    : m_socket(socket)
{
}

bool DecoderChannel::send(const QByteArray& bytes, const QVector<int>& fds) const
{
    if (fds.size() > kMaxFds)
        return false;
    quint32 length = quint32(bytes.size());
    iovec part = {&length, sizeof length};
    msghdr message = {};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * kMaxFds)] = {};
    if (!fds.isEmpty()) {
        message.msg_control = control;
        message.msg_controllen = CMSG_SPACE(sizeof(int) * size_t(fds.size()));
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = SOL_SOCKET;
        header->cmsg_type = SCM_RIGHTS;
        header->cmsg_len = CMSG_LEN(sizeof(int) * size_t(fds.size()));
        std::memcpy(CMSG_DATA(header), fds.constData(), sizeof(int) * size_t(fds.size()));
    }
    // The descriptors ride on the length, so they arrive with the start of the message.
    ssize_t sent;
    do
        sent = ::sendmsg(m_socket, &message, MSG_NOSIGNAL);
    while (sent < 0 && errno == EINTR);
    if (sent != ssize_t(sizeof length))
        return false;
    return sendAll(m_socket, bytes.constData(), size_t(bytes.size()));
}

bool DecoderChannel::receive(QByteArray* bytes, QVector<int>* fds, int timeoutMs,
                             bool* timedOut) const
{
    if (timedOut)
        *timedOut = false;
    if (!readable(m_socket, timeoutMs)) {
        if (timedOut)
            *timedOut = true;
        return false;
    }

    quint32 length = 0;
    iovec part = {&length, sizeof length};
    msghdr message = {};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * kMaxFds)] = {};
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    ssize_t got;
    do
        got = ::recvmsg(m_socket, &message, MSG_WAITALL | MSG_CMSG_CLOEXEC);
    while (got < 0 && errno == EINTR);
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header;
         header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS)
            continue;
        const size_t count = (header->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (size_t i = 0; i < count; ++i) {
            int fd = -1;
            std::memcpy(&fd, CMSG_DATA(header) + i * sizeof(int), sizeof fd);
            fds->append(fd);
        }
    }
    const bool complete = got == ssize_t(sizeof length) && !(message.msg_flags & MSG_CTRUNC)
        && length <= kMaxMessage;
    if (complete) {
        bytes->resize(int(length));
        if (receiveAll(m_socket, bytes->data(), length, timeoutMs))
            return true;
    }
    for (const int fd : qAsConst(*fds))
        ::close(fd);
    fds->clear();
    return false;
}
