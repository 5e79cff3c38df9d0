#pragma once

#include <QModelIndex>
#include <QObject>
#include <QPointer>

class QAbstractItemModel;
class QTimer;

// Where a picture stands in the list of files it belongs to: the list, the current row, the
// moves through it and the slideshow's timer. Whoever holds the cursor has decided that a move
// may happen, reads the file each move lands on and tells when that read ends.
class FileCursor : public QObject
{
    Q_OBJECT

public:
    // Where one slideshow step lands, and whether the slideshow goes on after showing it.
    struct SlideStep
    {
        int row;
        bool goesOn;
    };

    explicit FileCursor(int slideDelay, QObject* parent = nullptr);
    ~FileCursor() override;

    // The list; the row stays as it is, so whoever hands in a list places the row.
    QAbstractItemModel* model() const;
    void setModel(QAbstractItemModel* model);
    int rowCount() const;
    int currentRow() const { return m_row; }
    // Places the row without reading or asking anyone.
    void setCurrentRow(int row) { m_row = row; }
    QModelIndex currentIndex() const;
    QString filePath() const;
    QString fileName() const;
    QString filePathAt(int row) const;
    // +1 after a move towards the end of the list, -1 after one towards its start.
    int direction() const { return m_direction; }

    // The moves place the row and tell which ends are reached; false on an empty list, where
    // nothing moves. Whoever moved reads the file at the row and tells readFinished.
    bool previous();
    bool next();
    bool first();
    bool last();
    bool moveTo(int row);

    void startSlideshow();
    void stopSlideshow();
    bool slideshowRunning() const { return m_slideshowRunning; }
    int slideDelay() const { return m_slideDelay; }
    void setSlideDelay(int seconds);
    // One step of the slideshow, once slideDue asked for it; the stored loop choice is read anew.
    bool tick();
    // The step after row in a list of count rows; row -1 when the list is empty.
    static SlideStep slideStep(int row, int count, bool loop);
    // The row shown next in the direction of travel, round to the first when a looping
    // slideshow is at the end; -1 for none.
    int aheadRow() const;
    // The read of the newest move ended; a move's consequences that wait for its read follow.
    void readFinished(bool readable);

signals:
    void atTheFirst();
    void atTheEnd();
    void hasNext();
    void hasPrevious();
    void slideshowStarted();
    void slideshowStopped();
    // Rows came, went or were reordered, so the position shown may be out of date.
    void listChanged();
    // The slideshow's delay is up; whoever holds the cursor steps it on with tick().
    void slideDue();

private:
    // What a move still does once its file turns out readable or not.
    enum class AfterRead { Nothing, StopAtFirst, StopAtLast, StopIfUnreadable };

    bool canMove() const;
    void placeRow(int row, AfterRead after = AfterRead::Nothing);
    // A manual step restarts the slideshow's full delay on the new picture.
    void restartSlideshowDelay();

    QPointer<QAbstractItemModel> m_model;
    int m_row = 0;
    int m_direction = 1;
    AfterRead m_afterRead = AfterRead::Nothing;
    QTimer* m_timer = nullptr;
    int m_slideDelay;
    bool m_slideshowRunning = false;
};
