// Moving to the next photo of a folder of 12-megapixel JPEGs, from the move to the end of the
// first paint that shows it, against decoding that photo alone. The neighbours are read ahead
// while the user looks, so the move should cost at most a tenth of a decode. Then the peak
// resident memory of a walk through many photos with reading ahead on: under 600 MB.
//
// Usage: bench_browse [walk=500]

#include "document/picture.h"
#include "document/picturecache.h"
#include "view/spic.h"
#include "view/spicview.h"
#include "support/benchsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

#include <unistd.h>

namespace {

const int photos = 6;

// Counts the paints of the canvas.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

void waitFor(const std::function<bool()>& done)
{
    while (!done())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

} // namespace

int main(int argc, char** argv)
{
    bench::IsolatedHome home;
    QApplication app(argc, argv);
    QTextStream out(stdout);

    QStringList paths;
    for (int i = 0; i < photos; ++i) {
        const QString path = home.filePath(QStringLiteral("photo%1.jpg").arg(i));
        if (!bench::noisyPhoto(QSize(4000, 3000), quint32(i + 1)).save(path, "JPEG", 90)) {
            out << "could not write " << path << '\n';
            return 1;
        }
        paths << path;
    }

    SPicView view(5);
    view.resize(1200, 800);
    view.show();
    PaintCounter counter;
    view.pic()->installEventFilter(&counter);
    view.openList(paths);
    waitFor([&] { return !view.isLoading(); });

    // Each move comes after the user looked long enough for the next photo to be read ahead.
    std::vector<double> ratios;
    std::vector<qint64> decodes;
    std::vector<qint64> moves;
    for (int i = 1; i < photos; ++i) {
        waitFor([&] { return PictureCache::shared()->contains(paths.at(i)); });
        QApplication::processEvents();
        const int paintsBefore = counter.paints;
        QElapsedTimer timer;
        timer.start();
        view.next();
        waitFor([&] {
            return !view.isLoading() && view.filePath() == paths.at(i)
                   && counter.paints > paintsBefore;
        });
        const qint64 moved = timer.nsecsElapsed();
        const qint64 decode = bench::decodeNanoseconds(paths.at(i));
        if (decode < 0 || view.isBroken()) {
            out << "reading failed\n";
            return 1;
        }
        decodes.push_back(decode);
        moves.push_back(moved);
        ratios.push_back(double(moved) / double(decode));
    }
    out << "next 12 MP JPEG in a folder, median of " << moves.size() << " moves\n"
        << "  decode alone:              " << bench::median(decodes) / 1e6 << " ms\n"
        << "  move to end of first paint: " << bench::median(moves) / 1e6 << " ms\n"
        << "  ratio move/decode:         " << bench::median(ratios) << " (target at most 0.1)\n";
    out.flush();

    // Hard links: each name is a picture of its own to the view and its cache.
    const QStringList args = QCoreApplication::arguments();
    const int walk = args.size() > 1 ? args.at(1).toInt() : 500;
    QDir(home.path()).mkdir(QStringLiteral("walk"));
    QStringList names;
    for (int i = 0; i < walk; ++i) {
        const QString name = home.filePath(QStringLiteral("walk/p%1.jpg").arg(i, 4, 10, QChar('0')));
        if (::link(QFile::encodeName(paths.at(i % photos)).constData(),
                   QFile::encodeName(name).constData())
            != 0) {
            out << "could not link " << name << '\n';
            return 1;
        }
        names << name;
    }
    view.openList(names);
    waitFor([&] { return !view.isLoading(); });
    const bool reset = bench::resetPeakResident();
    QElapsedTimer walkTimer;
    walkTimer.start();
    for (int i = 1; i < walk; ++i) {
        view.next();
        waitFor([&] { return !view.isLoading() && view.filePath() == names.at(i); });
    }
    out << "walk through " << walk << " photos with reading ahead, " << walkTimer.elapsed() / walk
        << " ms a photo: peak resident " << bench::peakResidentKb() / 1024 << " MB"
        << (reset ? "" : " (whole run)") << " (target under 600)\n";
    return 0;
}
