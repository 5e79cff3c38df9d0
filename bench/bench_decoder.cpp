// Decoding in helper processes against decoding in this process: (a) a 24-megapixel photo read
// whole, its pixels usable here (a picture over the shared memory); (b) thumbnails of 200
// 12-megapixel photos, on as many threads as the thumbnail loader uses.
// Targets: (a) at most 1.15 times the time in process; (b) at most 1.1.
//
// Usage: bench_decoder [rounds=5] [thumbnailFiles=200]

#include "browser/thumbnailloader.h"
#include "document/isolatedreader.h"
#include "document/picturereader.h"
#include "document/thumbnailreader.h"
#include "support/benchsupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <atomic>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

template <typename Read> qint64 nanoseconds(const Read& read)
{
    QElapsedTimer timer;
    timer.start();
    read();
    return timer.nsecsElapsed();
}

// Every file once, spread over the threads.
template <typename Read> bool thumbnails(const QStringList& files, int threads, const Read& read)
{
    std::atomic_int next(0);
    std::atomic_bool ok(true);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            for (int i = next++; i < files.size(); i = next++) {
                if (read(files.at(i)).isNull())
                    ok = false;
            }
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    return ok;
}

// Usable here: every page of the pixels read, as a paint of the whole picture would, so that
// memory mapped lazily pays for its faults.
bool everyPage(const QImage& image)
{
    if (image.isNull())
        return false;
    const volatile uchar* bits = image.constBits();
    for (qsizetype at = 0; at < image.sizeInBytes(); at += 4096)
        (void)bits[at];
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    bench::IsolatedHome home;
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const int thumbnailFiles = argc > 2 ? std::max(1, atoi(argv[2])) : 200;
    bool ok = true;

    out() << "generating a photo of 6000x4000 ..." << Qt::endl;
    const QString big = home.filePath(QStringLiteral("big.jpg"));
    ok = bench::noisyPhoto(QSize(6000, 4000), 3).save(big, "JPG", 90) && ok;
    // Each way once before timing: files in the page cache, helpers started.
    ok = !PictureReader::read(big).image.isNull() && !IsolatedReader::read(big).image.isNull()
        && ok;
    std::vector<qint64> here;
    std::vector<qint64> there;
    for (int round = 0; round < rounds; ++round) {
        here.push_back(nanoseconds([&] { ok = everyPage(PictureReader::read(big).image) && ok; }));
        there.push_back(nanoseconds([&] { ok = everyPage(IsolatedReader::read(big).image) && ok; }));
    }
    const double readRatio = double(bench::median(there)) / double(bench::median(here));
    out() << "24 MP photo, whole: in process " << bench::median(here) / 1000000 << " ms, helper "
          << bench::median(there) / 1000000 << " ms, ratio " << readRatio << " (target <= 1.15)"
          << Qt::endl;

    const int distinct = std::min(thumbnailFiles, 20);
    out() << "generating " << distinct << " photos of 4000x3000, linked to " << thumbnailFiles
          << " files ..." << Qt::endl;
    QStringList originals;
    for (int i = 0; i < distinct; ++i) {
        originals << home.filePath(QStringLiteral("original%1.jpg").arg(i));
        ok = bench::noisyPhoto(QSize(4000, 3000), quint32(10 + i)).save(originals.last(), "JPG", 90)
            && ok;
    }
    QStringList files;
    for (int i = 0; i < thumbnailFiles; ++i) {
        files << home.filePath(QStringLiteral("photo%1.jpg").arg(i));
        ok = ::link(QFile::encodeName(originals.at(i % distinct)).constData(),
                    QFile::encodeName(files.last()).constData())
                == 0
            && ok;
    }
    const int threads = ThumbnailLoader::poolSize();
    const int edge = 256;
    const auto inProcess = [edge](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? ThumbnailReader::read(&file, edge) : QImage();
    };
    const auto throughHelpers = [edge](const QString& path) {
        return IsolatedReader::readThumbnail(path, edge);
    };
    ok = thumbnails(originals, threads, inProcess) && thumbnails(originals, threads, throughHelpers)
        && ok;
    std::vector<qint64> hereAll;
    std::vector<qint64> thereAll;
    // At least three rounds, each way first in turn, so that a machine busy with other work
    // weighs on both alike.
    for (int round = 0; round < std::max(3, rounds / 2); ++round) {
        const auto timeHere = [&] {
            hereAll.push_back(
                nanoseconds([&] { ok = thumbnails(files, threads, inProcess) && ok; }));
        };
        const auto timeThere = [&] {
            thereAll.push_back(
                nanoseconds([&] { ok = thumbnails(files, threads, throughHelpers) && ok; }));
        };
        if (round % 2 == 0) {
            timeHere();
            timeThere();
        } else {
            timeThere();
            timeHere();
        }
    }
    const double thumbnailRatio = double(bench::median(thereAll)) / double(bench::median(hereAll));
    out() << thumbnailFiles << " thumbnails of 12 MP photos on " << threads
          << " threads: in process " << bench::median(hereAll) / 1000000 << " ms, helpers "
          << bench::median(thereAll) / 1000000 << " ms, ratio " << thumbnailRatio
          << " (target <= 1.1)" << Qt::endl;

    if (!ok)
        out() << "FAILED: a picture did not read" << Qt::endl;
    return ok && readRatio <= 1.15 && thumbnailRatio <= 1.1 ? 0 : 1;
}
