#pragma once

#include "decoding/decodemessage.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class DecoderProcess;

// The decoder helpers of this program, started when first needed and kept warm, so that a file
// that crashes a codec, exhausts memory or never ends costs one picture and not the program.
// Any thread may ask; a request blocks that thread until its answer or failure.
class DecoderPool
{
public:
    // A request that runs longer than this kills its helper.
    static constexpr int kTimeLimitMs = 20000;

    static DecoderPool& shared();
    ~DecoderPool();

    // Decoding in this process instead, for tests and benchmarks that compare; also set by
    // LUMO_DECODE_IN_PROCESS=1. Callers check it and read the file themselves.
    static bool inProcess();
    static void setInProcess(bool inProcess);

    // A quarter of the physical memory, at most 4 GiB.
    static qint64 defaultMemoryLimitMB();
    // Memory a helper may take beyond what it holds once started; 0 for the default. Helpers
    // started earlier finish their request and go.
    void setMemoryLimitMB(qint64 megabytes);
    void setTimeLimitMs(int milliseconds);
    // The helper executable; by default lumo-decode beside the running program.
    void setProgram(const QString& program);
    QString program() const;
    // Where helpers find the program's translations, for the texts they make.
    void setTranslationsDir(const QString& directory);

    // Starts helpers before anything asks, so that their start overlaps other work.
    void prestart(int count);
    // Starts one helper at once on the calling thread, which must live as long as the program
    // (a helper ends with the thread that started it): the main thread, before it changes the
    // environment that starting reads.
    void startOneHere();

    // Opens the file and has a helper make what the request asks of it.
    DecodeMessage::Reply decode(const DecodeMessage::Request& request);
    // The same with the bytes sent as the file.
    DecodeMessage::Reply decodeBytes(const DecodeMessage::Request& request,
                                     const QByteArray& bytes);

private:
    DecoderPool();

    DecodeMessage::Reply decodeFile(const DecodeMessage::Request& request, int fd);
    QString programLocked() const;
    void dropIdleLocked();
    std::unique_ptr<DecoderProcess> take(quint64* generation);
    void giveBack(std::unique_ptr<DecoderProcess> process, quint64 generation);
    std::unique_ptr<DecoderProcess> spawn();
    // Starts a helper with today's program and limits, unlocking while it starts.
    std::unique_ptr<DecoderProcess> startLocked(std::unique_lock<std::mutex>& lock);
    // Keeps a helper just started among the idle ones, unless it failed or is out of date.
    void keepLocked(std::unique_ptr<DecoderProcess> process, quint64 generation);
    // Helpers are started from a thread that lives as long as the pool, since a helper ends
    // with the thread that started it.
    void runSpawner();

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<DecoderProcess>> m_idle;
    int m_running = 0;
    int m_maxRunning;
    quint64 m_generation = 0;
    qint64 m_memoryLimitMB = 0;
    int m_timeLimitMs = kTimeLimitMs;
    QString m_program;
    QString m_translationsDir;

    struct Spawn
    {
        std::unique_ptr<DecoderProcess> process;
        bool done = false;
    };
    std::deque<Spawn*> m_spawns;
    int m_prestarts = 0;
    bool m_stopping = false;
    std::thread m_spawner;
};
