#pragma once

#include "document/picturecache.h"
#include "document/picturereader.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <memory>

class QImage;

// Reads pictures off the GUI thread for one picture: the newest request wins and an older
// one is never delivered; a request may first deliver a quick decode at the size it will be
// shown; and the files the user is likely to look at next are read ahead into a cache.
class PictureLoader : public QObject
{
    Q_OBJECT

public:
    explicit PictureLoader(PictureCache* cache = PictureCache::shared(),
                           QObject* parent = nullptr);
    ~PictureLoader() override;

    // Starts reading path in place of any older request. A picture the cache holds arrives
    // before this returns. Without a shown size, a picture larger than corner has its top left
    // corner read beside the whole of it, which comes first.
    void load(const QString& path, const PictureReader::ShownSize& shownSize = {},
              const QSize& corner = {});
    // Begins reading path before any loader exists, for the picture the program starts with:
    // the window takes a while to build, which the read overlaps. The first loader asked for
    // path within a few seconds takes the read over, stand-in and whole picture.
    static void readEarly(const QString& path, const PictureReader::ShownSize& shownSize,
                          const QSize& corner);
    // Drops the current request: nothing more arrives for it.
    void cancel();
    bool isLoading() const { return m_loading; }
    // Blocks until the current request has arrived.
    void finish();
    // Reads these files ahead, one at a time on a worker of their own, into the cache, once no
    // picture asked for is being read; those asked for earlier and not begun yet are given up.
    // The smaller copies for the screen are made too when the pictures will be shown reduced.
    void preload(const QStringList& paths, bool withCopies = true);
    // The file was written: what the cache holds of it is out of date.
    void forget(const QString& path);

signals:
    // corner: the stand-in is the picture's top left corner at full size, not all of it reduced.
    void standInReady(const QImage& standIn, const QSize& pictureSize, bool corner);
    // A null image when the file cannot be read, with failure telling why when more is known;
    // display is its sRGB copy for the screen, null when the image shows as it is.
    // copies are smaller copies for the screen, made while the picture was read ahead.
    void loaded(const QString& path, const QImage& image, const QString& format,
                const QImage& display, const QString& failure, const QVector<QImage>& copies);

private:
    struct Decoded
    {
        PictureReader::Result result;
        PictureCache::Stamp stamp;
    };
    using Watcher = QFutureWatcher<Decoded>;
    // A read on a worker; a request given up before a worker began it is never read.
    struct Job
    {
        Watcher* watcher = nullptr;
        std::shared_ptr<std::atomic_int> state;
    };
    // A picture asked for is read at once; reading ahead waits for it.
    enum class Priority { Asked, Ahead };

    // Reads on a worker; it is handed where its job stands.
    using Read = std::function<Decoded(const std::atomic_int& state)>;
    void start(const QString& path, Priority priority, const Read& read);
    void giveUpIfWaiting(const QString& path);
    void jobFinished(const QString& path);
    void deliver(const QString& path, const PictureReader::Result& result);
    // From a worker: shown unless a newer request or the whole picture came first.
    void postStandIn(quint64 serial, const PictureReader::StandIn& standIn);
    // The stand-in or corner read before the whole picture, or none.
    static PictureReader::StandIn standInOf(const QString& path,
                                            const PictureReader::ShownSize& shownSize,
                                            const QSize& corner);
    struct Early;
    static Early& early();
    // Takes over the early read of path, when there is one.
    bool takeEarly(const QString& path, quint64 serial);

    PictureCache* m_cache;
    QThreadPool m_loadPool;
    QThreadPool m_preloadPool;
    QHash<QString, Job> m_jobs;
    QSet<QString> m_preloads;
    QString m_wanted;
    // Read by the stand-in's worker too, which gives up a request overtaken before it began.
    std::atomic<quint64> m_serial{0};
    bool m_loading = false;
};
