// Walking a folder of photos with hostile files among them, as a user pressing "next" does: the
// program must reach the end with every good photo shown and the hostile ones as unreadable,
// and its own peak resident memory must stay under 600 MB. The baseline is the same walk
// through a folder of good photos only.
//
// Usage: bench_hostile [photos=1000] [hostile=20]

#include "view/spicview.h"
#include "support/benchsupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <functional>

#include <unistd.h>

namespace {

void waitFor(const std::function<bool()>& done)
{
    while (!done())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

struct Walk
{
    qint64 peakMb = 0;
    qint64 msPerFile = 0;
    int unreadable = 0;
};

Walk walk(SPicView& view, const QStringList& names)
{
    Walk result;
    view.openList(names);
    waitFor([&] { return !view.isLoading(); });
    bench::resetPeakResident();
    QElapsedTimer timer;
    timer.start();
    result.unreadable = view.isBroken() ? 1 : 0;
    for (int i = 1; i < names.size(); ++i) {
        view.next();
        waitFor([&] { return !view.isLoading() && view.filePath() == names.at(i); });
        result.unreadable += view.isBroken() ? 1 : 0;
    }
    result.msPerFile = timer.elapsed() / names.size();
    result.peakMb = bench::peakResidentKb() / 1024;
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    bench::IsolatedHome home;
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = QCoreApplication::arguments();
    const int photoCount = args.size() > 1 ? args.at(1).toInt() : 1000;
    const int hostileCount = args.size() > 2 ? args.at(2).toInt() : 20;

    QStringList photos;
    for (int i = 0; i < 4; ++i) {
        photos << home.filePath(QStringLiteral("photo%1.jpg").arg(i));
        if (!bench::noisyPhoto(QSize(3000, 2000), quint32(i + 1)).save(photos.last(), "JPEG", 90)) {
            out << "could not write " << photos.last() << '\n';
            return 1;
        }
    }
    const QDir regressions(QStringLiteral(LUMO_REGRESSION_DIR "/picture"));
    const QStringList hostile = regressions.entryList(QDir::Files, QDir::Name);
    if (hostile.isEmpty()) {
        out << "no hostile files in " << regressions.path() << '\n';
        return 1;
    }

    // Hard links: each name is a picture of its own to the view and its cache.
    QDir(home.path()).mkdir(QStringLiteral("good"));
    QDir(home.path()).mkdir(QStringLiteral("mixed"));
    QStringList good;
    QStringList mixed;
    const int every = photoCount / std::max(1, hostileCount);
    for (int i = 0; i < photoCount; ++i) {
        const QString name = QStringLiteral("/p%1.jpg").arg(i, 4, 10, QChar('0'));
        good << home.filePath(QStringLiteral("good") + name);
        mixed << home.filePath(QStringLiteral("mixed") + name);
        const bool isHostile = hostileCount > 0 && i % every == every / 2
                               && i / every < hostileCount;
        const QByteArray from = QFile::encodeName(photos.at(i % photos.size()));
        if (::link(from.constData(), QFile::encodeName(good.last()).constData()) != 0) {
            out << "could not link " << good.last() << '\n';
            return 1;
        }
        if (isHostile) {
            // Under its own suffix, as it would lie in a real folder.
            const QString source = regressions.filePath(hostile.at((i / every) % hostile.size()));
            mixed.last() = home.filePath(QStringLiteral("mixed/p%1.").arg(i, 4, 10, QChar('0'))
                                         + QFileInfo(source).suffix());
            if (!QFile::copy(source, mixed.last())) {
                out << "could not copy " << source << '\n';
                return 1;
            }
        } else if (::link(from.constData(), QFile::encodeName(mixed.last()).constData()) != 0) {
            out << "could not link " << mixed.last() << '\n';
            return 1;
        }
    }

    SPicView view(5);
    view.resize(1200, 800);
    view.show();
    const Walk clean = walk(view, good);
    const Walk attacked = walk(view, mixed);
    out << "walk through " << photoCount << " photos, 3000x2000 JPEG\n"
        << "  good only:           " << clean.msPerFile << " ms a file, peak resident "
        << clean.peakMb << " MB, " << clean.unreadable << " unreadable\n"
        << "  with " << hostileCount << " hostile files: " << attacked.msPerFile
        << " ms a file, peak resident " << attacked.peakMb << " MB, " << attacked.unreadable
        << " unreadable\n"
        << "  peak hostile/good: " << double(attacked.peakMb) / double(std::max<qint64>(1, clean.peakMb))
        << "; peak with hostile files " << attacked.peakMb << " MB (target under 600)\n";
    return attacked.unreadable == hostileCount && clean.unreadable == 0 ? 0 : 1;
}
