#include "decoder/decoderconfinement.h"

#include <QFile>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <csignal>
#include <limits>

#include <fcntl.h>
#include <linux/close_range.h>
#include <sched.h>
#include <seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

void DecoderConfinement::closeDescriptorsBut(int keep)
{
    const unsigned top = std::numeric_limits<unsigned>::max();
    if (keep > 3)
        ::syscall(SYS_close_range, 3u, unsigned(keep - 1), 0u);
    ::syscall(SYS_close_range, unsigned(std::max(keep + 1, 3)), top, 0u);
}

bool DecoderConfinement::dieWithParent()
{
    const pid_t parent = ::getppid();
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0)
        return false;
    // The program may have gone between the start and the call.
    return ::getppid() == parent;
}

void DecoderConfinement::limitMemory(qint64 bytes)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    Q_UNUSED(bytes)
#else
    // The libraries and plug-ins mapped so far are not what the limit is about.
    QFile statm(QStringLiteral("/proc/self/statm"));
    qint64 mapped = 0;
    if (statm.open(QIODevice::ReadOnly))
        mapped = statm.readAll().split(' ').value(0).toLongLong() * ::sysconf(_SC_PAGESIZE);
    const rlimit limit = {rlim_t(mapped + bytes), rlim_t(mapped + bytes)};
    if (::setrlimit(RLIMIT_AS, &limit) != 0)
        qWarning("lumo-decode: no memory limit: %s", strerror(errno));
#endif
}

bool DecoderConfinement::restrictSystemCalls()
{
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return false;
    scmp_filter_ctx filter = ::seccomp_init(SCMP_ACT_KILL_PROCESS);
    if (!filter)
        return false;
    static const char* const allowed[] = {
        // files already open, and the channel
        "read", "readv", "pread64", "preadv", "lseek", "fstat", "newfstatat", "statx", "fcntl",
        "close", "recvmsg", "sendmsg", "recvfrom", "sendto", "poll", "ppoll", "pipe2", "eventfd2",
        // diagnostics on stderr
        "write", "writev",
        // memory, and the pixels handed back
        "mmap", "munmap", "mremap", "mprotect", "brk", "madvise", "memfd_create", "ftruncate",
        "fallocate",
        // threads of Qt's pool, which scale and convert large pictures
        "futex", "set_robust_list", "rseq", "sched_yield", "sched_getaffinity", "gettid",
        "getpid", "tgkill", "rt_sigprocmask", "rt_sigaction", "rt_sigreturn", "sigaltstack",
        "nanosleep", "clock_nanosleep", "restart_syscall",
        // time and randomness
        "clock_gettime", "clock_getres", "gettimeofday", "getrandom", "sysinfo",
        "exit", "exit_group"};
    bool ok = true;
    for (const char* name : allowed) {
        const int number = ::seccomp_syscall_resolve_name(name);
        if (number != __NR_SCMP_ERROR)
            ok = ok && ::seccomp_rule_add(filter, SCMP_ACT_ALLOW, number, 0) == 0;
    }
    // New threads, never new processes; the newer call hides its flags, so the C library is
    // sent back to the older one.
    ok = ok
        && ::seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(clone), 1,
                              SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD))
            == 0
        && ::seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0) == 0
        // Threads name themselves.
        && ::seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(prctl), 1,
                              SCMP_A0(SCMP_CMP_EQ, PR_SET_NAME))
            == 0
        // A plug-in that looks for a file of its own is told no, and goes on without it.
        && ::seccomp_rule_add(filter, SCMP_ACT_ERRNO(EACCES), SCMP_SYS(openat), 0) == 0
        && ::seccomp_rule_add(filter, SCMP_ACT_ERRNO(EACCES), SCMP_SYS(open), 0) == 0
        && ::seccomp_load(filter) == 0;
    ::seccomp_release(filter);
    return ok;
}
