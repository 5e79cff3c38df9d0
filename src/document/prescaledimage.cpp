#include "document/prescaledimage.h"

#include "document/pooltask.h"
#include "imaging/displaycolours.h"

#include <QFutureWatcher>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

// A picture below a megapixel paints whole about as fast as from any copy of it.
const qint64 smallestPicture = 1 << 20;
// Below this a halving saves too little over the one above it to be worth the memory.
const qint64 smallestHalving = 1 << 16;
// An image or a zoom that changes again at once (a live preview, a wheel turned) is not worth
// the work.
const int settleMilliseconds = 100;

qint64 pixels(const QSize& size)
{
    return qint64(size.width()) * size.height();
}

bool covers(const QImage& copy, const QSize& size)
{
    return copy.width() >= size.width() && copy.height() >= size.height();
}

QImage smoothlyScaled(const QImage& image, const QSize& size)
{
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The copy for the screen first (null when the image shows as it is), then the halvings.
QVector<QImage> prepare(QImage image, const QVector<QSize>& sizes,
                        const std::function<bool()>& wanted)
{
    QVector<QImage> copies{QImage()};
    if (imaging::needsDisplayConversion(image)) {
        image = imaging::displayColours(image);
        copies.first() = image;
    }
    for (const QSize& size : sizes) {
        if (!wanted())
            return {};
        // Each from the one before: a halving averages two by two pixels, which keeps the
        // detail a bilinear paint far below 100 % would alias, at a quarter of the cost.
        image = smoothlyScaled(image, size);
        copies.append(image);
    }
    return copies;
}

QVector<QSize> sizesOf(const QVector<QImage>& images)
{
    QVector<QSize> sizes;
    for (const QImage& image : images)
        sizes.append(image.size());
    return sizes;
}

} // namespace

PrescaledImage::PrescaledImage(QObject* parent)
    : QObject(parent)
    , m_generation(std::make_shared<std::atomic<quint64>>(0))
    , m_settle(new QTimer(this))
{
    m_settle->setSingleShot(true);
    m_settle->setInterval(settleMilliseconds);
    connect(m_settle, &QTimer::timeout, this, &PrescaledImage::startMaking);
}

PrescaledImage::~PrescaledImage()
{
    // A worker still halving stops at its next copy.
    ++*m_generation;
}

void PrescaledImage::setImage(const QImage& image, const QImage& display,
                              const QVector<QImage>& halvings)
{
    if (image.cacheKey() == m_key)
        return;
    ++*m_generation;
    m_key = image.cacheKey();
    m_size = image.size();
    m_halvings.clear();
    m_shown = QImage();
    const bool given = imaging::needsDisplayConversion(image) && display.size() == image.size()
        && !imaging::needsDisplayConversion(display);
    m_display = given ? display : QImage();
    m_waiting = given ? display : image;
    const QVector<QSize> sizes = halvingSizes(m_size);
    if (!imaging::needsDisplayConversion(m_waiting) && !sizes.isEmpty()
        && sizesOf(halvings) == sizes) {
        m_halvings = halvings;
        m_waiting = QImage();
    }
    if (!imaging::needsDisplayConversion(m_waiting) && sizes.isEmpty())
        m_waiting = QImage();
    // With the halvings given, the copy at the size shown is still to be made.
    if (m_waiting.isNull() && m_halvings.isEmpty())
        m_settle->stop();
    else
        m_settle->start();
}

void PrescaledImage::setScale(double scale)
{
    if (scale > 0.0)
        m_scale = scale;
    // Above 100 % the copy for the last smaller scale stays, for the way back.
    if (!(scale > 0.0 && scale < 1.0) || scale == m_shownScale)
        return;
    m_shownScale = scale;
    if (m_shown.size() == shownSize(scale))
        return;
    m_shown = QImage();
    if (!m_halvings.isEmpty() || !m_waiting.isNull())
        m_settle->start();
}

QImage PrescaledImage::copyFor(const QImage& image, double scale) const
{
    if (image.cacheKey() != m_key)
        return image;
    const QImage& whole = m_display.isNull() ? image : m_display;
    if (!(scale < 1.0))
        return whole;
    const QSize shown = shownSize(scale);
    if (!m_shown.isNull() && m_shown.size() == shown)
        return m_shown;
    for (auto copy = m_halvings.crbegin(); copy != m_halvings.crend(); ++copy) {
        if (covers(*copy, shown))
            return *copy;
    }
    return whole;
}

QVector<QSize> PrescaledImage::halvingSizes(const QSize& size)
{
    QVector<QSize> sizes;
    if (pixels(size) < smallestPicture)
        return sizes;
    QSize next = size;
    for (;;) {
        next = QSize((next.width() + 1) / 2, (next.height() + 1) / 2);
        if (pixels(next) < smallestHalving)
            return sizes;
        sizes.append(next);
    }
}

QVector<QImage> PrescaledImage::halvings(const QImage& image, const QImage& display)
{
    const QImage& source = display.isNull() ? image : display;
    if (source.isNull() || imaging::needsDisplayConversion(source))
        return {};
    return prepare(source, halvingSizes(source.size()), [] { return true; }).mid(1);
}

QSize PrescaledImage::shownSize(double scale) const
{
    return QSize(qRound(m_size.width() * scale), qRound(m_size.height() * scale));
}

void PrescaledImage::startMaking()
{
    // One worker at a time: a newer image waits for a stale one to give up.
    if (m_making)
        return;
    // At 100 % and above no paint reads a halving: they are made once the picture is shown
    // smaller, when the next paint hands the image in again.
    if (!m_waiting.isNull() && m_scale >= 1.0 && !imaging::needsDisplayConversion(m_waiting)) {
        m_waiting = QImage();
        m_key = notSet;
        return;
    }
    if (!m_waiting.isNull()) {
        const QVector<QSize> sizes = halvingSizes(m_size);
        run(runInPool([source = std::exchange(m_waiting, QImage()), sizes,
                       generation = m_generation->load(),
                       current = std::shared_ptr<const std::atomic<quint64>>(m_generation)] {
                return prepare(source, sizes,
                               [generation, current] { return current->load() == generation; });
            }),
            [this](const Copies& copies) {
                if (!copies.first().isNull())
                    m_display = copies.first();
                m_halvings = copies.mid(1);
                return true;
            });
        return;
    }
    // The shown size is made from the smallest halving that covers it, so it never takes more
    // memory than that halving.
    const QSize wanted = shownSize(m_shownScale);
    auto from = std::find_if(m_halvings.crbegin(), m_halvings.crend(),
                             [wanted](const QImage& copy) { return covers(copy, wanted); });
    if (wanted.isEmpty() || m_shown.size() == wanted || from == m_halvings.crend()
        || from->size() == wanted)
        return;
    run(runInPool([source = *from, wanted] {
            return Copies{smoothlyScaled(source, wanted)};
        }),
        [this, wanted](const Copies& copies) {
            if (shownSize(m_shownScale) != wanted)
                return false;
            m_shown = copies.first();
            return true;
        });
}

void PrescaledImage::run(const QFuture<Copies>& work,
                         const std::function<bool(const Copies&)>& keep)
{
    m_making = true;
    const quint64 generation = m_generation->load();
    auto* watcher = new QFutureWatcher<Copies>(this);
    connect(watcher, &QFutureWatcher<Copies>::finished, this, [this, watcher, generation, keep] {
        watcher->deleteLater();
        m_making = false;
        const Copies copies = poolResult(watcher->future());
        if (generation == m_generation->load() && !copies.isEmpty() && keep(copies))
            emit copiesMade();
        if (!m_settle->isActive())
            startMaking();
    });
    watcher->setFuture(work);
}
