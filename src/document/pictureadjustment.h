#pragma once

#include <QImage>
#include <QObject>

#include <functional>

class Picture;
class PictureEdits;
template <typename T> class QFutureWatcher;

// One adjustment of a picture under way: the picture as it was when the adjustment began, the
// preview of the dialog's latest pass shown on the picture, and the end, the result kept in the
// history or dropped. Previews may work on a copy reduced to the size on screen, so that each
// costs about what the screen shows; the result is always the pass run on the full source.
class PictureAdjustment : public QObject
{
    Q_OBJECT

public:
    // What a dialog's controls make of a picture, as values, so it may run on any thread.
    struct Pass {
        // The result for a source whose size is scale times the picture's (1 at full
        // resolution), for passes that take lengths in picture pixels. Null when the memory for
        // the result could not be had: the picture then stays as it was.
        std::function<QImage(const QImage& source, double scale)> apply;
        // The size of the full result for the picture's size; the same size when empty.
        std::function<QSize(const QSize& pictureSize)> resultSize;
        // Dithering and drawing a picture in do not scale: such passes preview on every pixel.
        bool fullResolution = false;
    };

    // Backs the picture up, as every edit does first.
    PictureAdjustment(Picture* picture, PictureEdits* edits, QObject* parent = nullptr);
    ~PictureAdjustment() override;

    const QImage& source() const { return m_source; }

    // Previews from now on work on a copy of the source reduced to the scale it is shown at;
    // never above the source's own size.
    void setPreviewScale(double scale);

    // Shows what the pass makes of the picture; the picture's own pixels stay until commit().
    void preview(const Pass& pass);

    // Makes the full-resolution result of the latest pass on a worker thread, unless the
    // preview already is that result; finished() follows, at once in that case.
    void finish();
    bool isFinished() const { return m_finished; }

    // The result becomes the picture and the edit joins the history, keeping depth backups.
    // Without finish() the result is made here.
    void commit(int depth);
    // The picture is as it was, and the backup is dropped.
    void rollback();

signals:
    void previewChanged();
    void finished();

private:
    const QImage& reducedSource();
    void workerDone();
    void dropWorker();

    Picture* m_picture = nullptr;
    PictureEdits* m_edits = nullptr;
    const QImage m_source;
    double m_previewScale = 1.0;
    QImage m_reduced;
    Pass m_pass;
    QImage m_result;
    bool m_finished = true;
    QFutureWatcher<QImage>* m_worker = nullptr;
};
