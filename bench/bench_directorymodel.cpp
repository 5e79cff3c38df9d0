// The directory list of a picture view over a big folder: how long it takes to list the folder
// against a file-system model listing it with no name filters at all, and that files appearing
// and vanishing arrive as row changes rather than resets (each reset makes the thumbnails bar
// start over).
// Targets: listing at most twice the file-system model's own listing (picking out the image
// files and keeping them in name order is all the list may add); the file browser's filter
// sorting the listed folder in at most half of that listing; no reset after the first listing.
//
// Usage: bench_directorymodel [files=20000] [changes=200]

#include "browser/imagefilefiltermodel.h"
#include "view/directoryproxymodel.h"
#include "view/sharedfilesystemmodel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

// Runs events until done() holds; the elapsed milliseconds, or -1 after a minute.
qint64 waitFor(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 60000)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return timer.elapsed();
}

QString fileName(int i)
{
    return QStringLiteral("photo%1.jpg").arg(i, 6, 10, QLatin1Char('0'));
}

void touch(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        out() << "cannot write " << path << Qt::endl;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int files = args.size() > 1 ? args.at(1).toInt() : 20000;
    const int changes = args.size() > 2 ? args.at(2).toInt() : 200;

    QTemporaryDir folder;
    QTemporaryDir elsewhere;
    for (int i = 0; i < files; ++i)
        touch(folder.filePath(fileName(i)));
    for (int i = 0; i < 50; ++i)
        QDir(folder.path()).mkdir(QStringLiteral("album%1").arg(i));

    // The file-system model listing on its own is the least a directory list can cost.
    QFileSystemModel alone;
    alone.setFilter(sharedFileSystemModel()->filter());
    const QModelIndex root = alone.setRootPath(folder.path());
    const qint64 baseline = waitFor([&] { return alone.rowCount(root) == files + 50; });
    // The unfiltered model sorts what it listed a moment later; that is not ours to count.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    // The file browser's filter keeps the name order itself: showing the listed folder sorts
    // it once more.
    QElapsedTimer browserTimer;
    browserTimer.start();
    ImageFileFilterModel browser(&alone);
    const int browserRows = browser.rowCount(browser.mapFromSource(root));
    const qint64 browserSort = browserTimer.elapsed();

    sharedFileSystemModel()->setRootPath(elsewhere.path());
    DirectoryProxyModel model(sharedFileSystemModel(), folder.path());
    model.setCurrentFile(folder.filePath(fileName(files / 2)));
    int resets = 0;
    int insertions = 0;
    int removals = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++insertions; });
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved, [&] { ++removals; });
    const qint64 listing = waitFor([&] { return model.rowCount() == files; });

    for (int i = 0; i < changes; ++i) {
        QFile::remove(folder.filePath(fileName(i * 2)));
        touch(folder.filePath(QStringLiteral("new%1.jpg").arg(i)));
    }
    // The new names sort first; then come the odd photos that were kept.
    const qint64 following = waitFor([&] {
        return model.rowCount() == files
            && model.index(changes - 1, 0).data().toString().startsWith(QLatin1String("new"))
            && model.index(changes, 0).data().toString() == fileName(1);
    });

    out() << "files " << files << ", file-system model alone " << baseline << " ms, directory list "
          << listing << " ms, ratio " << (baseline > 0 ? double(listing) / baseline : 0.0)
          << " (target <= 2)" << Qt::endl;
    out() << "file browser's filter shows the listed " << browserRows << " entries in "
          << browserSort << " ms, ratio to the listing "
          << (baseline > 0 ? double(browserSort) / baseline : 0.0) << " (target <= 0.5)"
          << Qt::endl;
    out() << changes << " deleted and " << changes << " created: followed in " << following
          << " ms with " << insertions << " insertions, " << removals << " removals, " << resets
          << " resets (target 0); current row " << model.currentRow() << Qt::endl;
    return listing >= 0 && following >= 0 && resets == 0 ? 0 : 1;
}
