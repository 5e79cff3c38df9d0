#include "decoding/decoderchannel.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// More than a message ever carries: a picture and its copy for the screen, or a file and its
// metadata.
constexpr int kMaxFds = 4;
// A description of a picture is small; anything larger is not a message of ours.
constexpr quint32 kMaxMessage = 64 * 1024 * 1024;

void takeDescriptors(msghdr* message, QVector<int>* fds)
{
    for (cmsghdr* header = CMSG_FIRSTHDR(message); header; header = CMSG_NXTHDR(message, header)) {
        if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS)
            continue;
        const size_t count = (header->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (size_t i = 0; i < count; ++i) {
            int fd = -1;
            std::memcpy(&fd, CMSG_DATA(header) + i * sizeof(int), sizeof fd);
            fds->append(fd);
        }
    }
}

} // namespace

DecoderChannel::DecoderChannel(int socket)
    : m_socket(socket)
{
}

bool DecoderChannel::ready(short events, QDeadlineTimer deadline, bool* timedOut) const
{
    for (;;) {
        pollfd waiting = {m_socket, events, 0};
        const qint64 left = deadline.remainingTime();
        const int ready = ::poll(&waiting, 1, int(std::min<qint64>(left, INT_MAX)));
        if (ready > 0)
            return true;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0 && timedOut)
            *timedOut = true;
        return false;
    }
}

bool DecoderChannel::send(const QByteArray& bytes, const QVector<int>& fds, QDeadlineTimer deadline,
                          bool* timedOut) const
{
    if (timedOut)
        *timedOut = false;
    if (fds.size() > kMaxFds)
        return false;
    const quint32 length = quint32(bytes.size());
    QByteArray whole(reinterpret_cast<const char*>(&length), sizeof length);
    whole += bytes;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * kMaxFds)] = {};
    size_t done = 0;
    while (done < size_t(whole.size())) {
        if (!ready(POLLOUT, deadline, timedOut))
            return false;
        iovec part = {whole.data() + done, size_t(whole.size()) - done};
        msghdr message = {};
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        // The descriptors ride on the first byte, so they arrive with the start of the message.
        if (done == 0 && !fds.isEmpty()) {
            message.msg_control = control;
            message.msg_controllen = CMSG_SPACE(sizeof(int) * size_t(fds.size()));
            cmsghdr* header = CMSG_FIRSTHDR(&message);
            header->cmsg_level = SOL_SOCKET;
            header->cmsg_type = SCM_RIGHTS;
            header->cmsg_len = CMSG_LEN(sizeof(int) * size_t(fds.size()));
            std::memcpy(CMSG_DATA(header), fds.constData(), sizeof(int) * size_t(fds.size()));
        }
        const ssize_t sent = ::sendmsg(m_socket, &message, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (sent <= 0)
            return false;
        done += size_t(sent);
    }
    return true;
}

bool DecoderChannel::receive(QByteArray* bytes, QVector<int>* fds, QDeadlineTimer deadline,
                             bool* timedOut) const
{
    if (timedOut)
        *timedOut = false;
    bytes->clear();
    quint32 length = 0;
    size_t done = 0;
    bool ok = true;
    // The length first, the descriptors with it; then the message, all before the deadline.
    while (ok && done < sizeof length + size_t(bytes->size())) {
        ok = ready(POLLIN, deadline, timedOut);
        if (!ok)
            break;
        const bool header = done < sizeof length;
        iovec part = header ? iovec{reinterpret_cast<char*>(&length) + done, sizeof length - done}
                            : iovec{bytes->data() + (done - sizeof length),
                                    size_t(bytes->size()) - (done - sizeof length)};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * kMaxFds)] = {};
        msghdr message = {};
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t got = ::recvmsg(m_socket, &message, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        takeDescriptors(&message, fds);
        ok = got > 0 && !(message.msg_flags & MSG_CTRUNC) && fds->size() <= kMaxFds;
        done += size_t(std::max<ssize_t>(got, 0));
        if (ok && header && done == sizeof length) {
            ok = length <= kMaxMessage;
            if (ok)
                bytes->resize(int(length));
        }
    }
    if (ok)
        return true;
    for (const int fd : qAsConst(*fds))
        ::close(fd);
    fds->clear();
    return false;
}
