// One repaint of a 24-megapixel picture shown at fit in a 1200 by 800 canvas against one
// repaint of the same canvas at 100 %: from the whole image (before any copy is made), from the
// copy at the size shown, and, right after a zoom, from the nearest halving. Pairs run back to
// back; the median ratio is kept, so a busy machine slows both sides of a pair alike. Target
// with the copies: at most 3.

#include "document/prescaledimage.h"
#include "view/spic.h"
#include "support/benchsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {

const int runs = 31;

qint64 repaintNanoseconds(SPic& pic, double scale)
{
    pic.setScale(scale);
    QElapsedTimer timer;
    timer.start();
    pic.repaint();
    return timer.nsecsElapsed();
}

template<typename T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void measure(SPic& pic, double scale, const char* title, QTextStream& out)
{
    std::vector<double> ratios;
    std::vector<qint64> smalls;
    std::vector<qint64> fulls;
    for (int i = 0; i < runs; ++i) {
        const qint64 small = repaintNanoseconds(pic, scale);
        const qint64 atFull = repaintNanoseconds(pic, 1.0);
        smalls.push_back(small);
        fulls.push_back(atFull);
        ratios.push_back(double(small) / double(atFull));
    }
    out << title << ", median of " << runs << " pairs\n"
        << "  repaint at 100 %:  " << median(fulls) / 1e6 << " ms\n"
        << "  repaint at " << scale << ":  " << median(smalls) / 1e6 << " ms\n"
        << "  ratio to 100 %:    " << median(ratios) << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);

    const QSize photo(6000, 4000);
    const QSize window(1200, 800);
    const double fit = std::min(double(window.width()) / photo.width(),
                                double(window.height()) / photo.height());
    SPic pic;
    const QImage image = bench::patternedPhoto(photo);
    pic.setImage(image);
    pic.resize(window);
    pic.show();
    // Shown, but too soon for any copy to be made.
    QApplication::processEvents();

    // No events yet, so no copies either: this is the paint from the whole image.
    measure(pic, fit, "24 MP picture in a 1200 x 800 canvas, from the whole image", out);
    QElapsedTimer halving;
    halving.start();
    // Until both the halvings and the copy at the size shown at fit are there.
    const QSize shown(qRound(photo.width() * fit), qRound(photo.height() * fit));
    QEventLoop loop;
    QObject::connect(pic.prescaled(), &PrescaledImage::copiesMade, &loop, [&] {
        if (pic.prescaled()->copyFor(image, fit).size() == shown)
            loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    pic.setScale(fit);
    loop.exec();
    if (pic.prescaled()->copyFor(image, fit).size() != shown) {
        out << "the copies were not made\n";
        return 1;
    }
    out << "copies made in " << halving.elapsed() << " ms (" << pic.prescaled()->halvingCount()
        << " halvings and the size at fit)\n";
    measure(pic, fit, "the same, from the copy at the size shown (target at most 3)", out);
    // A zoom just changed: the copy of the new size is not made until the events run.
    measure(pic, fit * 0.9, "zoomed out once more, from the halvings alone", out);
    return 0;
}
