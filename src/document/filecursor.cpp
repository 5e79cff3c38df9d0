#include "document/filecursor.h"

#include "settings/settings.h"

#include <QAbstractItemModel>
#include <QTimer>

#include <algorithm>

namespace {

// QFileSystemModel::FilePathRole; that model lives in the widgets library.
const int filePathRole = Qt::UserRole + 1;

} // namespace

FileCursor::FileCursor(int slideDelay, QObject* parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
    , m_slideDelay(slideDelay)
{
    connect(m_timer, &QTimer::timeout, this, &FileCursor::slideDue);
}

FileCursor::~FileCursor() = default;

QAbstractItemModel* FileCursor::model() const
{
    return m_model;
}

void FileCursor::setModel(QAbstractItemModel* model)
{
    if (m_model)
        m_model->disconnect(this);
    m_model = model;
    if (!model)
        return;
    // A directory listing arrives after the picture is shown, so the position follows it.
    connect(model, &QAbstractItemModel::modelReset, this, &FileCursor::listChanged);
    connect(model, &QAbstractItemModel::rowsInserted, this, &FileCursor::listChanged);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &FileCursor::listChanged);
    connect(model, &QAbstractItemModel::layoutChanged, this, &FileCursor::listChanged);
}

int FileCursor::rowCount() const
{
    return m_model ? m_model->rowCount() : 0;
}

QModelIndex FileCursor::currentIndex() const
{
    return m_model ? m_model->index(m_row, 0) : QModelIndex();
}

QString FileCursor::filePath() const
{
    return currentIndex().data(filePathRole).toString();
}

QString FileCursor::filePathAt(int row) const
{
    return m_model ? m_model->index(row, 0).data(filePathRole).toString() : QString();
}

QString FileCursor::fileName() const
{
    return currentIndex().data(Qt::DisplayRole).toString();
}

bool FileCursor::canMove() const
{
    return rowCount() > 0;
}

void FileCursor::placeRow(int row, AfterRead after)
{
    if (row != m_row)
        m_direction = row > m_row ? 1 : -1;
    m_row = row;
    // A newer move takes the place of one whose read has not ended.
    m_afterRead = after;
}

void FileCursor::readFinished(bool readable)
{
    const AfterRead after = m_afterRead;
    m_afterRead = AfterRead::Nothing;
    switch (after) {
    case AfterRead::StopAtFirst:
    case AfterRead::StopAtLast:
        if (!readable)
            return;
        m_timer->stop();
        m_slideshowRunning = false;
        if (after == AfterRead::StopAtFirst) {
            emit atTheFirst();
            emit slideshowStopped();
        } else {
            emit slideshowStopped();
            emit atTheEnd();
        }
        return;
    case AfterRead::StopIfUnreadable:
        if (!readable)
            stopSlideshow();
        return;
    case AfterRead::Nothing:
        return;
    }
}

void FileCursor::restartSlideshowDelay()
{
    if (m_slideshowRunning)
        startSlideshow();
}

bool FileCursor::previous()
{
    if (!canMove())
        return false;
    const int row = m_row - 1;
    placeRow(std::max(0, row));
    if (row < 1)
        emit atTheFirst();
    restartSlideshowDelay();
    return true;
}

bool FileCursor::next()
{
    if (!canMove())
        return false;
    const int lastRow = rowCount() - 1;
    placeRow(std::min(m_row + 1, lastRow));
    if (m_row == lastRow)
        emit atTheEnd();
    restartSlideshowDelay();
    return true;
}

bool FileCursor::first()
{
    if (!canMove())
        return false;
    placeRow(0, AfterRead::StopAtFirst);
    return true;
}

bool FileCursor::last()
{
    if (!canMove())
        return false;
    placeRow(rowCount() - 1, AfterRead::StopAtLast);
    return true;
}

bool FileCursor::moveTo(int row)
{
    if (!canMove())
        return false;
    placeRow(row);
    if (m_row == 0) {
        emit atTheFirst();
    } else if (m_row < rowCount() - 1) {
        emit hasNext();
        emit hasPrevious();
    } else {
        emit atTheEnd();
    }
    restartSlideshowDelay();
    return true;
}

void FileCursor::startSlideshow()
{
    m_timer->start(m_slideDelay * 1000);
    m_slideshowRunning = true;
    emit slideshowStarted();
}

void FileCursor::stopSlideshow()
{
    m_timer->stop();
    m_slideshowRunning = false;
    emit slideshowStopped();
}

void FileCursor::setSlideDelay(int seconds)
{
    m_slideDelay = seconds;
    if (m_slideshowRunning)
        m_timer->setInterval(seconds * 1000);
}

FileCursor::SlideStep FileCursor::slideStep(int row, int count, bool loop)
{
    if (count <= 0)
        return {-1, false};
    const int lastRow = count - 1;
    // A single picture ends the show at once even with loop: going round would only read it
    // again and again.
    if (loop && count > 1)
        return {row >= lastRow ? 0 : std::max(row + 1, 0), true};
    // A slideshow started on the last picture shows it again rather than running off the list.
    const int next = std::min(std::max(row + 1, 0), lastRow);
    return {next, next < lastRow};
}

int FileCursor::aheadRow() const
{
    if (m_slideshowRunning) {
        const bool loop = Settings::instance()->imagesCentralWidget()->slideLoop();
        const SlideStep step = slideStep(m_row, rowCount(), loop);
        return step.row != m_row ? step.row : -1;
    }
    const int row = m_row + m_direction;
    return row >= 0 && row < rowCount() ? row : -1;
}

bool FileCursor::tick()
{
    if (!canMove())
        return false;
    const bool loop = Settings::instance()->imagesCentralWidget()->slideLoop();
    const SlideStep step = slideStep(m_row, rowCount(), loop);
    placeRow(step.row, AfterRead::StopIfUnreadable);
    if (!step.goesOn) {
        stopSlideshow();
        emit atTheEnd();
    }
    return true;
}
