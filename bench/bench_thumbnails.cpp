// Thumbnails of photos: a folder of 6-megapixel photos shown at once, on one worker against one
// per core and on a first visit against a second that reads the desktop's thumbnail cache; then,
// on 12-megapixel photos, how fast our provider makes them against vipsthumbnail, how much memory
// a view holds after loading a thousand while scrolling, and how much a big folder delays the
// first picture of a file opened in it.
// Targets: a folder with every core at most 1 / cores of its time on one worker (plus a margin),
// a second visit at most 0.1 of the first; per thumbnail no slower than vipsthumbnail, and a
// folder on every core at most half of its time; peak
// resident memory under 300 MB; first picture among 30,000 files at most 1.2 times the time it
// takes alone.
//
// Usage: bench_thumbnails [viewFiles=1000] [speedFiles=200] [bigFolderFiles=30000]
//                         [folderFiles=60]

#include "browser/filethumbnailprovider.h"
#include "browser/thumbnailloader.h"
#include "browser/thumbnailsbar.h"
#include "browser/thumbnailview.h"
#include "document/filelistmodel.h"
#include "document/picture.h"
#include "view/sharedfilesystemmodel.h"
#include "view/spic.h"
#include "view/spicview.h"
#include "support/benchsupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileSystemModel>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <memory>

namespace {

const int distinctPhotos = 40;
const QSize photoSize(4000, 3000);
const QSize folderPhotoSize(3000, 2000);

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

// Smooth areas, edges and sensor-like noise, so the encoder and decoder work as on photos.
QImage makePhoto(int seed, const QSize& size = photoSize)
{
    QRandomGenerator random(quint32(seed) * 7919u + 1u);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor::fromHsv(random.bounded(360), 120, 230));
    sky.setColorAt(1, QColor::fromHsv(random.bounded(360), 200, 90));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), random.bounded(256), random.bounded(256)));
        painter.drawEllipse(QPoint(random.bounded(size.width()), random.bounded(size.height())),
                            random.bounded(20, 600), random.bounded(20, 600));
    }
    painter.end();
    quint32 noise = random.generate() | 1u;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int(noise >> 28) - 8;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + n, 255), qBound(0, qGreen(p) + n, 255),
                           qBound(0, qBlue(p) + n, 255));
        }
    }
    return image;
}

bool hardLink(const QString& from, const QString& to)
{
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Waits for events rather than spinning, so that the waiting takes no core from the work being
// measured; the tick wakes it for the time-out.
bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    QTimer tick;
    tick.start(10);
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

double ourMsPerThumbnail(const QStringList& files)
{
    const FileThumbnailProvider provider;
    QElapsedTimer timer;
    timer.start();
    int made = 0;
    for (const QString& file : files)
        made += provider.icon(QFileInfo(file)).isNull() ? 0 : 1;
    const double ms = timer.nsecsElapsed() / 1e6;
    return made == files.size() ? ms / files.size() : -1;
}

// -1 when vipsthumbnail is not installed or fails.
double vipsMsPerThumbnail(const QStringList& files, const QString& outputDir)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail"));
    if (program.isEmpty())
        return -1;
    QProcess vips;
    QStringList arguments{QStringLiteral("--size"), QStringLiteral("256"), QStringLiteral("-o"),
                          outputDir + QStringLiteral("/%s.jpg")};
    arguments += files;
    QElapsedTimer timer;
    timer.start();
    vips.start(program, arguments);
    if (!vips.waitForFinished(-1) || vips.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e6 / files.size();
}

// Loads every thumbnail while scrolling through the files, a screenful at a time.
bool scrollThroughAll(const QStringList& files, int* made, int* kept)
{
    FileListModel model(files);
    ThumbnailView view;
    view.setViewMode(QListView::IconMode);
    view.setIconSize(QSize(128, 128));
    view.setGridSize(QSize(140, 140));
    view.setUniformItemSizes(true);
    view.resize(1120, 700);
    view.setModel(&model);
    std::atomic<int> reads{0};
    view.setReadObserver([&reads](const QString&) { ++reads; });
    view.show();
    QCoreApplication::processEvents();
    QScrollBar* bar = view.verticalScrollBar();
    const auto idle = [&view] { return view.pendingCount() == 0 && !view.isReadingInBackground(); };
    for (int value = 0;; value += view.viewport()->height()) {
        bar->setValue(value);
        view.loadTimer()->stop();
        view.loadVisibleThumbnails();
        if (!runUntil(idle, 600000))
            return false;
        if (value >= bar->maximum())
            break;
    }
    *made = reads;
    *kept = view.thumbnailCache().count();
    return true;
}

// User and system time of every thread of the process so far.
double processCpuMs()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// From asking to having every thumbnail of a folder that a view shows at once, with that many
// workers and the desktop's thumbnail cache as it is; decoded counts the files not found there,
// cores the processor time spent over the time passed (on a busy machine, the share it got).
double folderVisitMs(const QStringList& files, int workers, int edge, int* decoded, double* cores)
{
    FileListModel model(files);
    ThumbnailView view;
    view.setViewMode(QListView::IconMode);
    view.setIconSize(QSize(edge, edge));
    const int cell = edge + 8;
    view.setGridSize(QSize(cell, cell));
    view.setUniformItemSizes(true);
    const int columns = 10;
    view.resize(columns * cell + 40, (files.size() + columns - 1) / columns * cell + 40);
    view.setModel(&model);
    view.loader()->setWorkerCount(workers);
    std::atomic<int> reads{0};
    view.setReadObserver([&reads](const QString&) { ++reads; });
    view.show();
    QCoreApplication::processEvents();
    view.loadTimer()->stop();
    QElapsedTimer timer;
    const double cpuBefore = processCpuMs();
    timer.start();
    view.loadVisibleThumbnails();
    const bool done = runUntil(
        [&] {
            return view.thumbnailCache().count() == files.size() && !view.isReadingInBackground();
        },
        600000);
    const double ms = timer.nsecsElapsed() / 1e6;
    *decoded = reads;
    *cores = (processCpuMs() - cpuBefore) / ms;
    return done ? ms : -1;
}

// The time of the first paint of the widget it watches once there is something to show, taken as
// it happens: work that runs later in the same pass of the event loop does not count.
struct PaintWatch : QObject
{
    explicit PaintWatch(const QElapsedTimer& clock, std::function<bool()> showing = {})
        : timer(clock)
        , ready(std::move(showing))
    {
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && paintedMs < 0 && (!ready || ready()))
            paintedMs = timer.nsecsElapsed() / 1e6;
        return false;
    }
    const QElapsedTimer& timer;
    std::function<bool()> ready;
    double paintedMs = -1;
};

// From opening the file to the picture painted, with the thumbnails bar on the view's files as
// the image window shows it; then, in listedMs, until the view lists all files of the folder.
// With a host, the picture goes into that window, already on screen, as when the browser opens
// a picture; otherwise into a new window.
double firstPictureMs(const QString& file, int files = 1, double* listedMs = nullptr,
                      QWidget* host = nullptr)
{
    const auto window = std::make_unique<QWidget>(host);
    auto* layout = new QVBoxLayout(window.get());
    auto* view = new SPicView(5, window.get());
    auto* bar = new ThumbnailsBar(window.get());
    layout->addWidget(view, 1);
    layout->addWidget(bar);
    window->resize(1200, 900);

    QElapsedTimer timer;
    // The picture is read in the background: the paints before it arrives show nothing.
    PaintWatch watch(timer, [view] { return !view->picture()->shownImage().isNull(); });
    view->pic()->installEventFilter(&watch);
    timer.start();
    view->openFile(file);
    bar->setModel(view->fileModel());
    bar->setCurrentIndex(view->currentModelIndex());
    window->show();
    if (!runUntil([&watch] { return watch.paintedMs >= 0; }, 60000)) {
        out() << "the picture was never painted" << Qt::endl;
        return -1;
    }
    if (listedMs) {
        const bool listed =
            runUntil([view, files] { return view->fileModel()->rowCount() >= files; }, 60000);
        *listedMs = listed ? timer.nsecsElapsed() / 1e6 : -1;
    }
    return watch.paintedMs;
}

// The bar alone: from being given the files and the current one to its first paint.
double barFirstPaintMs(const QStringList& files, int current)
{
    FileListModel model(files);
    ThumbnailsBar bar;
    bar.resize(1200, 120);
    QElapsedTimer timer;
    PaintWatch watch(timer);
    bar.viewport()->installEventFilter(&watch);
    timer.start();
    bar.setModel(&model);
    bar.setCurrentIndex(model.index(current, 0));
    bar.show();
    return runUntil([&watch] { return watch.paintedMs >= 0; }, 60000) ? watch.paintedMs : -1;
}

} // namespace

int main(int argc, char** argv)
{
    // No desktop thumbnails to find and no user settings touched.
    bench::IsolatedHome work;
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int viewFiles = args.size() > 1 ? args.at(1).toInt() : 1000;
    const int speedFiles = args.size() > 2 ? args.at(2).toInt() : 200;
    const int bigFolderFiles = args.size() > 3 ? args.at(3).toInt() : 30000;
    const int folderFiles = args.size() > 4 ? args.at(4).toInt() : 60;

    const QDir root(work.path());
    for (const char* sub : {"originals", "photos", "vips", "alone", "big", "browsed", "folder"})
        root.mkpath(QString::fromLatin1(sub));
    // As in the program, where the browser has pointed the shared model somewhere: its default
    // root, the working directory, may hold these folders and have the model sort them again.
    sharedFileSystemModel()->setRootPath(root.filePath(QStringLiteral("browsed")));

    out() << "generating " << folderFiles << " photos of " << folderPhotoSize.width() << "x"
          << folderPhotoSize.height() << " ..." << Qt::endl;
    QStringList folder;
    for (int i = 0; i < folderFiles; ++i) {
        const QString file =
            root.filePath(QStringLiteral("folder/f%1.jpg").arg(i, 3, 10, QLatin1Char('0')));
        if (!makePhoto(1000 + i, folderPhotoSize).save(file, "JPG", 90))
            return 1;
        folder << file;
    }
    // Each first visit starts from an empty desktop cache; the second finds what the first left.
    const QString desktopCache =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/thumbnails");
    const int cores = QThread::idealThreadCount();
    out() << "folder of " << folderFiles << " photos shown at once, " << cores << " cores:"
          << Qt::endl;
    for (const int edge : {128, 256}) {
        int decoded[4] = {};
        double busy[4] = {};
        QDir(desktopCache).removeRecursively();
        const double single = folderVisitMs(folder, 1, edge, &decoded[0], &busy[0]);
        QDir(desktopCache).removeRecursively();
        const double pool = folderVisitMs(folder, cores, edge, &decoded[1], &busy[1]);
        const double again = folderVisitMs(folder, cores, edge, &decoded[2], &busy[2]);
        const double againSingle = folderVisitMs(folder, 1, edge, &decoded[3], &busy[3]);
        if (single < 0 || pool < 0 || again < 0 || againSingle < 0)
            return 1;
        out() << "  " << edge << "-pixel icons: first visit, 1 worker " << single << " ms ("
              << decoded[0] << " decoded, " << busy[0] << " cores busy); " << cores
              << " workers " << pool << " ms (" << decoded[1] << " decoded, " << busy[1]
              << " cores busy); pool/single = " << pool / single << " (target <= "
              << 1.0 / cores + 0.1 << ")" << Qt::endl;
        out() << "  " << edge << "-pixel icons: second visit from the desktop cache, " << cores
              << " workers " << again << " ms (" << decoded[2] << " decoded), 1 worker "
              << againSingle << " ms (" << decoded[3] << " decoded); second/first = "
              << again / pool << " (target <= 0.1)" << Qt::endl;
    }

    out() << "generating " << distinctPhotos << " photos of " << photoSize.width() << "x"
          << photoSize.height() << " ..." << Qt::endl;
    QStringList originals;
    for (int i = 0; i < distinctPhotos; ++i) {
        const QString file = root.filePath(QStringLiteral("originals/photo%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
        if (!makePhoto(i).save(file, "JPG", 90))
            return 1;
        originals << file;
    }
    out() << "first photo is " << QFileInfo(originals.first()).size() / 1024 << " kB" << Qt::endl;

    QStringList photos;
    for (int i = 0; i < qMax(viewFiles, speedFiles); ++i) {
        const QString file = root.filePath(QStringLiteral("photos/p%1.jpg").arg(i, 5, 10, QLatin1Char('0')));
        if (!QFile::copy(originals.at(i % distinctPhotos), file))
            return 1;
        photos << file;
    }

    const QStringList speedSet = photos.mid(0, speedFiles);
    const double ours = ourMsPerThumbnail(speedSet);
    out() << "provider: " << ours << " ms per thumbnail, " << 1000.0 / ours << " per second, over "
          << speedSet.size() << " files" << Qt::endl;
    const double vips = vipsMsPerThumbnail(speedSet, root.filePath(QStringLiteral("vips")));
    if (vips < 0)
        out() << "vipsthumbnail: not available, no comparison" << Qt::endl;
    else
        out() << "vipsthumbnail --size 256: " << vips << " ms per thumbnail; ours/vips = "
              << ours / vips << " (target <= 1)" << Qt::endl;
    // The same files as a folder shown at once, on every core, against vipsthumbnail's one
    // file after another.
    QDir(desktopCache).removeRecursively();
    int poolDecoded = 0;
    double poolBusy = 0;
    const double poolMs = folderVisitMs(speedSet, cores, 256, &poolDecoded, &poolBusy);
    if (poolMs < 0)
        return 1;
    out() << "folder of " << speedSet.size() << " shown at 256 pixels, " << cores << " workers: "
          << poolMs / speedSet.size() << " ms per thumbnail (" << poolBusy << " cores busy)";
    if (vips > 0)
        out() << "; pool/vips = " << poolMs / speedSet.size() / vips << " (target <= 0.5)";
    out() << Qt::endl;

    const bool peakReset = bench::resetPeakResident();
    int made = 0;
    int kept = 0;
    if (!scrollThroughAll(photos.mid(0, viewFiles), &made, &kept))
        return 1;
    out() << "view: " << made << " thumbnails made for " << viewFiles << " files while scrolling, "
          << kept << " kept in the cache; peak resident " << bench::peakResidentKb() / 1024 << " MB"
          << (peakReset ? "" : " (whole run)") << " (target < 300)" << Qt::endl;

    // The same photo opened alone and among many files (hard links: the listing is what counts).
    const QString aloneFile = root.filePath(QStringLiteral("alone/m15000.jpg"));
    if (!QFile::copy(originals.first(), aloneFile))
        return 1;
    for (int i = 0; i < bigFolderFiles; ++i) {
        const QString name = QStringLiteral("big/m%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        if (!hardLink(originals.at(i % distinctPhotos), root.filePath(name)))
            return 1;
    }
    const QString crowdedFile = root.filePath(
        QStringLiteral("big/m%1.jpg").arg(bigFolderFiles / 2, 5, 10, QLatin1Char('0')));
    QStringList crowdedList;
    for (int i = 0; i < bigFolderFiles; ++i)
        crowdedList << root.filePath(QStringLiteral("big/m%1.jpg").arg(i, 5, 10, QLatin1Char('0')));
    const double barAlone = barFirstPaintMs({aloneFile}, 0);
    const double barCrowded = barFirstPaintMs(crowdedList, bigFolderFiles / 2);
    out() << "thumbnails bar alone, first paint: 1 file " << barAlone << " ms, " << bigFolderFiles
          << " files " << barCrowded << " ms; ratio " << barCrowded / barAlone << Qt::endl;

    const double alone = firstPictureMs(aloneFile);
    double crowdedListed = -1;
    const double crowded = firstPictureMs(crowdedFile, bigFolderFiles, &crowdedListed);
    out() << "first picture: alone " << alone << " ms, among " << bigFolderFiles << " files "
          << crowded << " ms; ratio " << crowded / alone << " (target <= 1.2)" << Qt::endl;
    // The folder's listing comes after the picture; until it is in, the GUI thread is busy.
    out() << "all " << bigFolderFiles << " files listed after " << crowdedListed << " ms"
          << Qt::endl;
    // Again, with both folders already listed by the shared file-system model, as after the
    // browser has shown them: in a new window, and in a window already on screen.
    const double aloneAgain = firstPictureMs(aloneFile);
    const double crowdedAgain = firstPictureMs(crowdedFile);
    out() << "first picture, folders already listed, new window: alone " << aloneAgain
          << " ms, crowded " << crowdedAgain << " ms; ratio " << crowdedAgain / aloneAgain
          << " (target <= 1.2)" << Qt::endl;
    QWidget shown;
    shown.resize(1200, 900);
    shown.show();
    runUntil([&shown] { return shown.isVisible(); }, 1000);
    const double aloneShown = firstPictureMs(aloneFile, 1, nullptr, &shown);
    const double crowdedShown = firstPictureMs(crowdedFile, 1, nullptr, &shown);
    out() << "first picture, folders already listed, window on screen: alone " << aloneShown
          << " ms, crowded " << crowdedShown << " ms; ratio " << crowdedShown / aloneShown
          << " (target <= 1.2)" << Qt::endl;
    return alone > 0 && crowded > 0 ? 0 : 1;
}
