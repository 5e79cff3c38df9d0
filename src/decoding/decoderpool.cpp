#include "decoding/decoderpool.h"

#include "decoding/decoderprocess.h"
#include "imaging/readlimits.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace {

std::atomic_bool& inProcessFlag()
{
    static std::atomic_bool flag(qEnvironmentVariableIntValue("LUMO_DECODE_IN_PROCESS") == 1);
    return flag;
}

DecodeMessage::Reply failed(DecodeMessage::Outcome outcome)
{
    DecodeMessage::Reply reply;
    reply.outcome = outcome;
    return reply;
}

// What of the environment a helper needs: the user's language for its texts, where fonts and
// plug-ins are found, the sanitizers' options and the tests' hooks. A sanitized helper cannot
// take an address-space limit, so its allocator is told the limit instead.
QByteArrayList helperEnvironment(qint64 memoryLimitMB)
{
    static const char* const prefixes[] = {"LANG=",
                                           "LANGUAGE=",
                                           "LC_",
                                           "HOME=",
                                           "XDG_CACHE_HOME=",
                                           "XDG_CONFIG_HOME=",
                                           "XDG_DATA_DIRS=",
                                           "FONTCONFIG_",
                                           "QT_PLUGIN_PATH=",
                                           "QT_LOGGING_RULES=",
                                           "ASAN_OPTIONS=",
                                           "UBSAN_OPTIONS=",
                                           "LSAN_OPTIONS=",
                                           "TSAN_OPTIONS=",
                                           "LUMO_DECODE_TEST_"};
    QByteArrayList environment;
    for (char** variable = environ; *variable; ++variable) {
        const QByteArray entry(*variable);
        for (const char* prefix : prefixes) {
            if (entry.startsWith(prefix)) {
                environment << entry;
                break;
            }
        }
    }
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#if defined(__SANITIZE_ADDRESS__)
    const QByteArray name = "ASAN_OPTIONS=";
#else
    const QByteArray name = "TSAN_OPTIONS=";
#endif
    QByteArray options = name + "allocator_may_return_null=1:max_allocation_size_mb="
                         + QByteArray::number(memoryLimitMB);
    for (auto variable = environment.begin(); variable != environment.end(); ++variable) {
        if (variable->startsWith(name)) {
            options += ':' + variable->mid(name.size());
            environment.erase(variable);
            break;
        }
    }
    environment << options;
#else
    Q_UNUSED(memoryLimitMB)
#endif
    return environment;
}

} // namespace

DecoderPool& DecoderPool::shared()
{
    static DecoderPool pool;
    return pool;
}

DecoderPool::DecoderPool()
    // The picture loaders, the one reading ahead and the thumbnail workers each hold one.
    : m_maxRunning(2 * std::max(1, QThread::idealThreadCount()) + 1)
    , m_spawner([this] { runSpawner(); })
{
}

DecoderPool::~DecoderPool()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_idle.clear();
    }
    m_changed.notify_all();
    m_spawner.join();
}

bool DecoderPool::inProcess()
{
    return inProcessFlag();
}

void DecoderPool::setInProcess(bool inProcess)
{
    inProcessFlag() = inProcess;
}

qint64 DecoderPool::defaultMemoryLimitMB()
{
    return std::min<qint64>(imaging::physicalMemoryBytes() / 4, qint64(4) << 30) >> 20;
}

void DecoderPool::setMemoryLimitMB(qint64 megabytes)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    // Helpers started, or starting, with the limit they would get now stay.
    if (megabytes == m_memoryLimitMB)
        return;
    m_memoryLimitMB = megabytes;
    dropIdleLocked();
}

void DecoderPool::setTimeLimitMs(int milliseconds)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_timeLimitMs = milliseconds;
}

void DecoderPool::setProgram(const QString& program)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_program = program;
    dropIdleLocked();
}

QString DecoderPool::program() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return programLocked();
}

void DecoderPool::setTranslationsDir(const QString& directory)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_translationsDir = directory;
}

QString DecoderPool::programLocked() const
{
    return m_program.isEmpty()
               ? QCoreApplication::applicationDirPath() + QStringLiteral("/lumo-decode")
               : m_program;
}

DecodeMessage::Reply DecoderPool::decode(const DecodeMessage::Request& request)
{
    // Not blocking on a pipe or a device: only regular files are pictures.
    const int fd = ::open(QFile::encodeName(request.path).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return failed(DecodeMessage::Outcome::Unreadable);
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return failed(DecodeMessage::Outcome::Unreadable);
    }
    const DecodeMessage::Reply reply = decodeFile(request, fd);
    ::close(fd);
    return reply;
}

DecodeMessage::Reply DecoderPool::decodeBytes(const DecodeMessage::Request& request,
                                              const QByteArray& bytes)
{
    const int fd = DecodeMessage::memoryFile(bytes);
    if (fd < 0)
        return failed(DecodeMessage::Outcome::OutOfMemory);
    const DecodeMessage::Reply reply = decodeFile(request, fd);
    ::close(fd);
    return reply;
}

DecodeMessage::Reply DecoderPool::decodeFile(const DecodeMessage::Request& request, int fd)
{
    quint64 generation = 0;
    std::unique_ptr<DecoderProcess> process = take(&generation);
    int timeLimitMs;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        timeLimitMs = m_timeLimitMs;
    }
    const DecodeMessage::Reply reply = process ? process->decode(request, fd, timeLimitMs)
                                               : failed(DecodeMessage::Outcome::Crashed);
    giveBack(std::move(process), generation);
    return reply;
}

void DecoderPool::prestart(int count)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        count = std::min(count, m_maxRunning - m_running);
        if (count <= 0 || inProcess())
            return;
        m_running += count;
        m_prestarts += count;
    }
    m_changed.notify_all();
}

void DecoderPool::dropIdleLocked()
{
    ++m_generation;
    m_running -= int(m_idle.size());
    m_idle.clear();
}

std::unique_ptr<DecoderProcess> DecoderPool::take(quint64* generation)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_idle.empty() || m_running < m_maxRunning; });
    *generation = m_generation;
    if (!m_idle.empty()) {
        std::unique_ptr<DecoderProcess> process = std::move(m_idle.back());
        m_idle.pop_back();
        return process;
    }
    ++m_running;
    lock.unlock();
    std::unique_ptr<DecoderProcess> process = spawn();
    if (process->isRunning())
        return process;
    giveBack(nullptr, *generation);
    return nullptr;
}

void DecoderPool::giveBack(std::unique_ptr<DecoderProcess> process, quint64 generation)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        // A helper that died is replaced by the next request; one started with other limits
        // than today's goes.
        if (process && process->isRunning() && generation == m_generation && !m_stopping)
            m_idle.push_back(std::move(process));
        else
            --m_running;
    }
    m_changed.notify_all();
}

std::unique_ptr<DecoderProcess> DecoderPool::spawn()
{
    Spawn spawn;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_spawns.push_back(&spawn);
    m_changed.notify_all();
    m_changed.wait(lock, [&spawn] { return spawn.done; });
    return std::move(spawn.process);
}

void DecoderPool::runSpawner()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock,
                       [this] { return m_stopping || !m_spawns.empty() || m_prestarts > 0; });
        if (m_stopping) {
            m_running -= m_prestarts;
            m_prestarts = 0;
        }
        if (m_spawns.empty() && m_prestarts == 0)
            return;
        // Asked for first: a request waits on it.
        Spawn* spawn = nullptr;
        if (!m_spawns.empty()) {
            spawn = m_spawns.front();
            m_spawns.pop_front();
        } else {
            --m_prestarts;
        }
        const quint64 generation = m_generation;
        auto process = startLocked(lock);
        if (spawn) {
            spawn->process = std::move(process);
            spawn->done = true;
        } else {
            keepLocked(std::move(process), generation);
        }
        m_changed.notify_all();
    }
}

std::unique_ptr<DecoderProcess> DecoderPool::startLocked(std::unique_lock<std::mutex>& lock)
{
    const qint64 limitMB = m_memoryLimitMB > 0 ? m_memoryLimitMB : defaultMemoryLimitMB();
    const QString program = programLocked();
    QStringList arguments{QStringLiteral("--channel"), QStringLiteral("3"),
                          QStringLiteral("--memory-limit-mb"), QString::number(limitMB)};
    if (!m_translationsDir.isEmpty())
        arguments << QStringLiteral("--translations") << m_translationsDir;
    lock.unlock();
    auto process =
        std::make_unique<DecoderProcess>(program, arguments, helperEnvironment(limitMB));
    lock.lock();
    return process;
}

void DecoderPool::keepLocked(std::unique_ptr<DecoderProcess> process, quint64 generation)
{
    if (process->isRunning() && generation == m_generation && !m_stopping)
        m_idle.push_back(std::move(process));
    else
        --m_running;
}

void DecoderPool::startOneHere()
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_running >= m_maxRunning || inProcess())
            return;
        ++m_running;
        const quint64 generation = m_generation;
        keepLocked(startLocked(lock), generation);
    }
    m_changed.notify_all();
}
