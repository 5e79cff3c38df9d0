#include "document/pictureloader.h"

#include "document/decodeslots.h"
#include "document/isolatedreader.h"
#include "document/pooltask.h"
#include "document/prescaledimage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTimer>
#include <QThread>

#include <algorithm>
#include <mutex>

namespace {

// Where a read stands: not yet taken by a worker, under way, given up before it began, or
// under way and asked for meanwhile.
enum JobState : int { Waiting, Begun, GivenUp, Asked };

} // namespace

PictureLoader::PictureLoader(PictureCache* cache, QObject* parent)
    : QObject(parent)
    , m_cache(cache)
{
    // Pools of their own: what the user waits for never queues behind other work, and reading
    // ahead never takes more than one core from it.
    m_loadPool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    m_preloadPool.setMaxThreadCount(1);
}

PictureLoader::~PictureLoader()
{
    // The workers post their stand-ins to this object, so none may outlive it. Reads waiting
    // for a core are given up rather than made.
    for (const Job& job : qAsConst(m_jobs)) {
        int waiting = Waiting;
        job.state->compare_exchange_strong(waiting, GivenUp);
        job.watcher->future().cancel();
        job.watcher->waitForFinished();
    }
    m_loadPool.waitForDone();
    m_preloadPool.waitForDone();
}

void PictureLoader::load(const QString& path, const PictureReader::ShownSize& shownSize,
                         const QSize& corner)
{
    const quint64 serial = ++m_serial;
    m_wanted = path;
    m_loading = true;
    if (path.isEmpty()) {
        deliver(path, PictureReader::Result());
        return;
    }
    if (const std::optional<PictureReader::Result> cached = m_cache->find(path)) {
        deliver(path, *cached);
        return;
    }
    // Already being read: wait for it rather than read the file twice.
    const auto running = m_jobs.constFind(path);
    int begun = Begun;
    if (running != m_jobs.constEnd()
        && (running->state->compare_exchange_strong(begun, Asked) || begun == Asked))
        return;
    giveUpIfWaiting(path);
    // Older requests not begun yet are given up; those under way end in the cache.
    const QStringList older = m_jobs.keys();
    for (const QString& olderPath : older) {
        if (!m_preloads.contains(olderPath))
            giveUpIfWaiting(olderPath);
    }
    if (takeEarly(path, serial))
        return;
    // A corner, or the stand-in of a JPEG, which decodes at a quarter of its size in a fraction
    // of the time, is read beside the whole picture, each on a helper and a core of its own;
    // asked for first, it takes a helper already running. Other decoders read the whole picture
    // for a stand-in, which therefore comes first, on the same worker.
    static const QStringList jpegSuffixes{QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                          QStringLiteral("jpe")};
    const bool standInBeside =
        shownSize ? jpegSuffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive)
                  : corner.isValid();
    const auto readStandIn = [this, path, shownSize, corner, serial] {
        if (serial == m_serial)
            postStandIn(serial, standInOf(path, shownSize, corner));
    };
    if (standInBeside)
        m_loadPool.start(readStandIn);
    start(path, Priority::Asked, [path, standInBeside, readStandIn](const std::atomic_int&) {
        Decoded decoded;
        decoded.stamp = PictureCache::Stamp::of(path);
        if (!standInBeside)
            readStandIn();
        decoded.result = IsolatedReader::read(path);
        return decoded;
    });
}

PictureReader::StandIn PictureLoader::standInOf(const QString& path,
                                                const PictureReader::ShownSize& shownSize,
                                                const QSize& corner)
{
    if (shownSize)
        return IsolatedReader::readScaled(path, shownSize);
    return corner.isValid() ? IsolatedReader::readCorner(path, corner) : PictureReader::StandIn();
}

// The read begun before the window: its stand-in waits here for the loader that takes it over.
struct PictureLoader::Early
{
    std::mutex mutex;
    bool begun = false;
    // Until taken over or let go.
    QString path;
    QFuture<Decoded> future;
    PictureReader::StandIn standIn;
    bool standInRead = false;
    QPointer<PictureLoader> taker;
    quint64 serial = 0;
};

PictureLoader::Early& PictureLoader::early()
{
    static Early early;
    return early;
}

namespace {

QString earlyKey(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// A read nobody took over by then is let go, with the memory of its picture.
const int earlyLimitMs = 5000;

} // namespace

void PictureLoader::readEarly(const QString& path, const PictureReader::ShownSize& shownSize,
                              const QSize& corner)
{
    Early& state = early();
    const std::lock_guard<std::mutex> lock(state.mutex);
    // One for the program's start.
    if (path.isEmpty() || state.begun)
        return;
    state.begun = true;
    state.path = earlyKey(path);
    state.future = runInPool([path, shownSize, corner] {
        DecodeSlots& decodes = DecodeSlots::shared();
        decodes.beginForeground();
        const PictureReader::StandIn standIn = standInOf(path, shownSize, corner);
        {
            Early& shared = early();
            const std::lock_guard<std::mutex> standInLock(shared.mutex);
            shared.standIn = standIn;
            shared.standInRead = true;
        }
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                Early& shared = early();
                QPointer<PictureLoader> taker;
                PictureReader::StandIn read;
                quint64 serial = 0;
                {
                    const std::lock_guard<std::mutex> takerLock(shared.mutex);
                    std::swap(taker, shared.taker);
                    read = shared.standIn;
                    serial = shared.serial;
                }
                if (taker)
                    taker->postStandIn(serial, read);
            },
            Qt::QueuedConnection);
        Decoded decoded;
        decoded.stamp = PictureCache::Stamp::of(path);
        decoded.result = IsolatedReader::read(path);
        decodes.endForeground();
        return decoded;
    });
    QTimer::singleShot(earlyLimitMs, QCoreApplication::instance(), [] {
        Early& shared = early();
        const std::lock_guard<std::mutex> dropLock(shared.mutex);
        shared.path.clear();
        shared.future = QFuture<Decoded>();
        shared.standIn = PictureReader::StandIn();
    });
}

bool PictureLoader::takeEarly(const QString& path, quint64 serial)
{
    Early& state = early();
    QFuture<Decoded> future;
    PictureReader::StandIn standIn;
    bool standInRead = false;
    {
        const std::lock_guard<std::mutex> lock(state.mutex);
        // Taken once; none begun, or let go, leaves no path.
        if (state.path.isEmpty() || state.path != earlyKey(path))
            return false;
        state.path.clear();
        std::swap(future, state.future);
        standInRead = state.standInRead;
        std::swap(standIn, state.standIn);
        if (!standInRead) {
            state.taker = this;
            state.serial = serial;
        }
    }
    if (standInRead)
        postStandIn(serial, standIn);
    Job job;
    job.watcher = new Watcher(this);
    job.state = std::make_shared<std::atomic_int>(Asked);
    connect(job.watcher, &Watcher::finished, this, [this, path] { jobFinished(path); });
    m_jobs.insert(path, job);
    job.watcher->setFuture(future);
    return true;
}

void PictureLoader::postStandIn(quint64 serial, const PictureReader::StandIn& standIn)
{
    if (standIn.image.isNull())
        return;
    QMetaObject::invokeMethod(
        this,
        [this, serial, standIn] {
            if (m_loading && serial == m_serial)
                emit standInReady(standIn.image, standIn.pictureSize, standIn.corner);
        },
        Qt::QueuedConnection);
}

void PictureLoader::cancel()
{
    ++m_serial;
    m_wanted.clear();
    m_loading = false;
}

void PictureLoader::finish()
{
    if (!m_loading)
        return;
    const auto job = m_jobs.constFind(m_wanted);
    if (job == m_jobs.constEnd())
        return;
    job->watcher->waitForFinished();
    jobFinished(m_wanted);
}

void PictureLoader::preload(const QStringList& paths, bool withCopies)
{
    const QStringList queued = m_preloads.values();
    for (const QString& path : queued) {
        if (!paths.contains(path))
            giveUpIfWaiting(path);
    }
    for (const QString& path : paths) {
        if (path.isEmpty() || m_jobs.contains(path) || m_cache->contains(path))
            continue;
        m_preloads.insert(path);
        start(path, Priority::Ahead, [path, withCopies](const std::atomic_int& state) {
            Decoded decoded;
            decoded.stamp = PictureCache::Stamp::of(path);
            decoded.result = IsolatedReader::read(path);
            // Made now, so that the picture's first paint when the user comes to it is small;
            // not when the user waits for it already: the picture shown makes its own.
            if (withCopies && state != Asked)
                decoded.result.copies =
                    PrescaledImage::halvings(decoded.result.image, decoded.result.display);
            return decoded;
        });
    }
}

void PictureLoader::forget(const QString& path)
{
    m_cache->remove(path);
}

void PictureLoader::start(const QString& path, Priority priority, const Read& read)
{
    Job job;
    job.watcher = new Watcher(this);
    job.state = std::make_shared<std::atomic_int>(Waiting);
    connect(job.watcher, &Watcher::finished, this, [this, path] { jobFinished(path); });
    m_jobs.insert(path, job);
    const bool ahead = priority == Priority::Ahead;
    job.watcher->setFuture(runInPool(
        [read, state = job.state, ahead] {
            DecodeSlots& decodes = DecodeSlots::shared();
            // Reading ahead waits until the picture asked for is read and a core is free;
            // it may have been given up meanwhile.
            if (ahead)
                decodes.takeBackground(DecodeSlots::Background::ReadAhead);
            else
                decodes.beginForeground();
            Decoded decoded;
            int waiting = Waiting;
            if (state->compare_exchange_strong(waiting, Begun))
                decoded = read(*state);
            if (ahead)
                decodes.giveBackground(DecodeSlots::Background::ReadAhead);
            else
                decodes.endForeground();
            return decoded;
        },
        ahead ? &m_preloadPool : &m_loadPool));
}

void PictureLoader::giveUpIfWaiting(const QString& path)
{
    const auto job = m_jobs.constFind(path);
    int waiting = Waiting;
    if (job == m_jobs.constEnd() || !job->state->compare_exchange_strong(waiting, GivenUp))
        return;
    Watcher* watcher = job->watcher;
    m_jobs.erase(job);
    m_preloads.remove(path);
    watcher->disconnect(this);
    watcher->future().cancel();
    watcher->deleteLater();
}

void PictureLoader::jobFinished(const QString& path)
{
    const Job job = m_jobs.take(path);
    Watcher* watcher = job.watcher;
    if (!watcher)
        return;
    m_preloads.remove(path);
    watcher->disconnect(this);
    watcher->deleteLater();
    // Given up before it began.
    if (watcher->future().resultCount() == 0)
        return;
    const Decoded decoded = poolResult(watcher->future());
    m_cache->insert(path, decoded.stamp, decoded.result);
    if (m_loading && path == m_wanted)
        deliver(path, decoded.result);
}

void PictureLoader::deliver(const QString& path, const PictureReader::Result& result)
{
    m_loading = false;
    emit loaded(path, result.image, result.format, result.display, result.failure,
                result.copies);
}
