// Opening a 24-megapixel JPEG in a picture view until its full pixels are in, against decoding
// it alone. The view's overhead (reading checks, format, recent files, first zoom, the trip to
// the worker and back) should stay under 10 %.

#include "document/picturecache.h"
#include "document/recentfiles.h"
#include "view/spicview.h"
#include "support/benchsupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

const int runs = 9;

qint64 viewNanoseconds(SPicView& view, const QString& path)
{
    // Read anew each time, not from what the last run left.
    PictureCache::shared()->remove(path);
    QElapsedTimer timer;
    timer.start();
    view.openFile(path);
    while (view.isLoading())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const qint64 elapsed = timer.nsecsElapsed();
    return view.isBroken() ? -1 : elapsed;
}

} // namespace

int main(int argc, char** argv)
{
    bench::IsolatedHome home;
    QApplication app(argc, argv);
    QTextStream out(stdout);

    const QString path = home.filePath(QStringLiteral("photo.jpg"));
    if (!bench::patternedPhoto(QSize(6000, 4000)).save(path, "JPEG", 90)) {
        out << "could not write " << path << '\n';
        return 1;
    }

    RecentFiles recentFiles;
    SPicView view(5);
    QObject::connect(&view, &SPicView::fileRead, &recentFiles, &RecentFiles::add);
    view.resize(1200, 800);
    view.show();
    QApplication::processEvents();

    // Pairs run back to back and the median of their ratios is kept, so that a busy machine
    // slows both sides of a pair alike.
    std::vector<double> ratios;
    std::vector<qint64> decodes;
    std::vector<qint64> views;
    for (int i = 0; i < runs; ++i) {
        const qint64 decode = bench::decodeNanoseconds(path);
        const qint64 viewed = viewNanoseconds(view, path);
        if (decode < 0 || viewed < 0) {
            out << "reading failed\n";
            return 1;
        }
        decodes.push_back(decode);
        views.push_back(viewed);
        ratios.push_back(double(viewed) / double(decode));
        QApplication::processEvents();
    }

    const double ratio = bench::median(ratios);
    out << "24 MP JPEG, median of " << runs << " runs\n"
        << "  decode alone:      " << bench::median(decodes) / 1e6 << " ms\n"
        << "  open in the view:  " << bench::median(views) / 1e6 << " ms\n"
        << "  ratio view/decode: " << ratio << " (overhead " << (ratio - 1.0) * 100.0
        << " %, target under 10 %)\n";
    return 0;
}
