// Opening a 24-megapixel JPEG in a window of ordinary size, from the open to the end of its
// first paint and to the whole picture in, against decoding it in full. At fit the first paint
// comes from a decode at the shown size, at 100 % from the top left corner the window shows:
// each should cost at most 0.35 of the full decode, and the whole picture at most 1.1.

#include "document/picturecache.h"
#include "settings/settings.h"
#include "view/spic.h"
#include "view/spicview.h"
#include "support/benchsupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

const int runs = 7;

// Counts the paints of the canvas that show a picture, full or stand-in.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(SPic* pic)
        : m_pic(pic)
    {
    }
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_pic->scaledWidth() > 0)
            ++paints;
        return QObject::eventFilter(watched, event);
    }

private:
    SPic* m_pic;
};

} // namespace

int main(int argc, char** argv)
{
    bench::IsolatedHome home;
    QApplication app(argc, argv);
    QTextStream out(stdout);

    const QString path = home.filePath(QStringLiteral("photo.jpg"));
    if (!bench::noisyPhoto(QSize(6000, 4000), 7).save(path, "JPEG", 90)) {
        out << "could not write " << path << '\n';
        return 1;
    }
    struct Mode
    {
        const char* name;
        int zoomMode;
    };
    for (const Mode& mode : {Mode{"fit", 0}, Mode{"100 %", 4}}) {
        Settings::instance()->general()->setZoomModeInt(mode.zoomMode);
        std::vector<double> firstRatios;
        std::vector<double> wholeRatios;
        std::vector<qint64> decodes;
        std::vector<qint64> opens;
        for (int i = 0; i < runs; ++i) {
            const qint64 decode = bench::decodeNanoseconds(path);
            PictureCache::shared()->remove(path);
            SPicView view(5);
            view.resize(1024, 700);
            view.show();
            PaintCounter counter(view.pic());
            view.pic()->installEventFilter(&counter);
            QApplication::processEvents();
            const int paintsBefore = counter.paints;
            QElapsedTimer timer;
            timer.start();
            view.openFile(path);
            while (counter.paints == paintsBefore)
                QApplication::processEvents(QEventLoop::WaitForMoreEvents);
            const qint64 opened = timer.nsecsElapsed();
            while (view.isLoading())
                QApplication::processEvents(QEventLoop::WaitForMoreEvents);
            const qint64 whole = timer.nsecsElapsed();
            if (decode < 0 || view.isBroken()) {
                out << "reading failed\n";
                return 1;
            }
            decodes.push_back(decode);
            opens.push_back(opened);
            firstRatios.push_back(double(opened) / double(decode));
            wholeRatios.push_back(double(whole) / double(decode));
        }
        out << "24 MP JPEG at " << mode.name << " in 1024x700, median of " << runs << " runs\n"
            << "  full decode:                " << bench::median(decodes) / 1e6 << " ms\n"
            << "  open to end of first paint: " << bench::median(opens) / 1e6 << " ms\n"
            << "  ratio first paint/decode:   " << bench::median(firstRatios)
            << " (target at most 0.35)\n"
            << "  ratio whole picture/decode: " << bench::median(wholeRatios)
            << " (target at most 1.1)\n";
    }
    return 0;
}
