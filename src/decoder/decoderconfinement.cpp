#include "decoder/decoderconfinement.h"

#include <QFile>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <linux/close_range.h>
#include <sched.h>
#include <seccomp.h>
#include <sys/mman.h>
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

void DecoderConfinement::limitFiles(qint64 bytes)
{
    // Memory files count as files: without this a memory file grown by writing is memory
    // beyond the address-space limit. The descriptors a request brings, and its replies', fit.
    const rlimit size = {rlim_t(bytes), rlim_t(bytes)};
    const rlimit descriptors = {64, 64};
    if (::setrlimit(RLIMIT_FSIZE, &size) != 0 || ::setrlimit(RLIMIT_NOFILE, &descriptors) != 0)
        qWarning("lumo-decode: no file limits: %s", strerror(errno));
}

bool DecoderConfinement::restrictSystemCalls()
{
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return false;
    scmp_filter_ctx filter = ::seccomp_init(SCMP_ACT_KILL_PROCESS);
    if (!filter)
        return false;
    // Every thread at once, those Qt started while warming up too: code that took over a
    // decoder would otherwise hand its work to one left free.
    bool ok = ::seccomp_attr_set(filter, SCMP_FLTATR_CTL_TSYNC, 1) == 0;
    static const char* const allowed[] = {
        // files already open, and the channel
        "read", "readv", "pread64", "preadv", "lseek", "fstat", "newfstatat", "statx", "close",
        "recvmsg", "sendmsg", "recvfrom", "sendto", "poll", "ppoll", "pipe2", "eventfd2",
        // diagnostics on stderr
        "write", "writev",
        // memory, and the pixels handed back
        "munmap", "mremap", "brk", "madvise", "memfd_create", "ftruncate",
        // threads of Qt's pool, which scale and convert large pictures
        "futex", "set_robust_list", "rseq", "sched_yield", "sched_getaffinity", "gettid", "getpid",
        "rt_sigprocmask", "rt_sigaction", "rt_sigreturn", "sigaltstack", "nanosleep",
        "clock_nanosleep", "restart_syscall",
        // time and randomness
        "clock_gettime", "clock_getres", "gettimeofday", "getrandom", "sysinfo",
        // asked by plug-ins that read EPS, ORA and KRA, answered without reaching out
        "readlink", "getuid", "geteuid", "getgid", "getegid", "uname", "exit", "exit_group"};
    for (const char* name : allowed) {
        const int number = ::seccomp_syscall_resolve_name(name);
        if (number != __NR_SCMP_ERROR)
            ok = ok && ::seccomp_rule_add(filter, SCMP_ACT_ALLOW, number, 0) == 0;
    }
    // Signals to itself only, as raise() and abort() send them.
    const scmp_datum_t self = scmp_datum_t(::getpid());
    for (const int call : {SCMP_SYS(tgkill), SCMP_SYS(tkill)})
        ok =
            ok
            && ::seccomp_rule_add(filter, SCMP_ACT_ALLOW, call, 1, SCMP_A0(SCMP_CMP_EQ, self)) == 0;
    // The commands this helper and its libraries use: flags, duplicates and seals.
    for (const int command :
         {F_GETFD, F_SETFD, F_GETFL, F_SETFL, F_DUPFD, F_DUPFD_CLOEXEC, F_ADD_SEALS, F_GET_SEALS})
        ok = ok
             && ::seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(fcntl), 1,
                                   SCMP_A1(SCMP_CMP_EQ, scmp_datum_t(command)))
                    == 0;
    // Every plug-in is loaded: no memory becomes code from here on. A decoder that asks is
    // told no, and the ICNS one goes on without.
    for (const int call : {SCMP_SYS(mmap), SCMP_SYS(mprotect)})
        ok = ok
             && ::seccomp_rule_add(filter, SCMP_ACT_ALLOW, call, 1,
                                   SCMP_A2(SCMP_CMP_MASKED_EQ, scmp_datum_t(PROT_EXEC), 0))
                    == 0
             && ::seccomp_rule_add(
                    filter, SCMP_ACT_ERRNO(EPERM), call, 1,
                    SCMP_A2(SCMP_CMP_MASKED_EQ, scmp_datum_t(PROT_EXEC), scmp_datum_t(PROT_EXEC)))
                    == 0;
    // New threads, never new processes; the newer call hides its flags, so the C library is
    // sent back to the older one.
    ok = ok
         && ::seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(clone), 1,
                               SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, CLONE_THREAD))
                == 0
         && ::seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0) == 0
         // A thread may lower its own priority, which nobody unprivileged can raise again.
         && ::seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(setpriority), 2,
                               SCMP_A0(SCMP_CMP_EQ, PRIO_PROCESS), SCMP_A1(SCMP_CMP_EQ, 0))
                == 0
         // Threads name themselves.
         && ::seccomp_rule_add(filter, SCMP_ACT_ALLOW, SCMP_SYS(prctl), 1,
                               SCMP_A0(SCMP_CMP_EQ, PR_SET_NAME))
                == 0
         // Space reserved in a memory file would not count against the memory limit.
         && ::seccomp_rule_add(filter, SCMP_ACT_ERRNO(EPERM), SCMP_SYS(fallocate), 0) == 0
         // A plug-in that looks for a file of its own is told no, and goes on without it.
         && ::seccomp_rule_add(filter, SCMP_ACT_ERRNO(EACCES), SCMP_SYS(openat), 0) == 0
         && ::seccomp_rule_add(filter, SCMP_ACT_ERRNO(EACCES), SCMP_SYS(open), 0) == 0
         // Archive readers (ORA, KRA) name the owners of entries: the C library's user and
         // group look-ups try the name service's socket, are told no, and leave them unnamed.
         && ::seccomp_rule_add(filter, SCMP_ACT_ERRNO(EACCES), SCMP_SYS(socket), 0) == 0
         && ::seccomp_load(filter) == 0;
    ::seccomp_release(filter);
    return ok;
}
