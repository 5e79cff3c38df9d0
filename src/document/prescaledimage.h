#pragma once

#include <QFuture>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>

class QTimer;

// Smaller copies of the image a canvas shows, made in the background, so that a paint below
// 100 % reads about as many pixels as it shows instead of every pixel of a large photo:
// successive halvings, and one copy at the size last shown below 100 %, made only once the
// picture is shown below 100 %. An image in another
// colour space than sRGB is first converted for the screen; the copies are made from that.
class PrescaledImage : public QObject
{
    Q_OBJECT

public:
    explicit PrescaledImage(QObject* parent = nullptr);
    ~PrescaledImage() override;

    // Another image, or the same one changed in place: the copies go, new ones are made.
    // display, when not null, is the image already converted to sRGB.
    // halvings, when they are those halvingSizes() gives, are taken instead of made.
    void setImage(const QImage& image, const QImage& display = QImage(),
                  const QVector<QImage>& halvings = {});
    // The scale the image is shown at; once it stays, a copy of exactly that size is made.
    void setScale(double scale);

    // What to paint the image from at a scale: the smallest copy at least as large as the
    // image shown (it covers the whole image). The image itself (in sRGB once converted) at
    // 100 % and above, when no copy is that large, while the copies are made, and for any
    // image but the one last set.
    QImage copyFor(const QImage& image, double scale) const;

    int halvingCount() const { return m_halvings.size(); }
    bool isMaking() const { return m_making; }
    // Counts the images set; whatever is made for an earlier one is thrown away.
    quint64 generation() const { return m_generation->load(); }

    // The sizes of the halvings worth keeping for an image, largest first: none for a small
    // picture, and none too small to spare painting from the one above it.
    static QVector<QSize> halvingSizes(const QSize& size);
    // The halvings of an image for the screen, made on the calling thread; none when its copy
    // in sRGB is still to be made.
    static QVector<QImage> halvings(const QImage& image, const QImage& display);

signals:
    // More copies are ready to paint from.
    void copiesMade();

private:
    using Copies = QVector<QImage>;
    void startMaking();
    // keep says whether the copies are still wanted.
    void run(const QFuture<Copies>& work, const std::function<bool(const Copies&)>& keep);
    QSize shownSize(double scale) const;

    static constexpr qint64 notSet = -1;
    // QImage::cacheKey() of the image set: it changes with any write to the pixels.
    qint64 m_key = notSet;
    QSize m_size;
    double m_shownScale = 0.0;
    // The scale last shown at, 100 % and above too; 0 until one is set.
    double m_scale = 0.0;
    // The image to halve, held only until a worker takes it, so edits in place need no copy.
    QImage m_waiting;
    // The image in sRGB when it carries another colour space.
    QImage m_display;
    Copies m_halvings;
    QImage m_shown;
    // Shared with the workers, which stop halving once a newer image is set.
    std::shared_ptr<std::atomic<quint64>> m_generation;
    bool m_making = false;
    QTimer* m_settle;
};
