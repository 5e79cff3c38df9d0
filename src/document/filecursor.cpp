#include "document/filecursor.h"

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
    connect(m_timer, &QTimer::timeout, this, &FileCursor::tick);
}

FileCursor::~FileCursor() = default;

void FileCursor::setMoveGuard(MoveGuard guard)
{
    m_moveGuard = std::move(guard);
}

void FileCursor::setReader(Reader reader)
{
    m_reader = std::move(reader);
}

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

QString FileCursor::fileName() const
{
    return currentIndex().data(Qt::DisplayRole).toString();
}

bool FileCursor::moveAllowed() const
{
    return rowCount() > 0 && (!m_moveGuard || m_moveGuard());
}

bool FileCursor::readCurrent()
{
    return !m_reader || m_reader(filePath());
}

void FileCursor::readCurrentPausingSlideshow()
{
    // A manual step restarts the slideshow's full delay on the new picture.
    const bool running = m_slideshowRunning;
    if (running)
        m_timer->stop();
    readCurrent();
    if (running)
        startSlideshow();
}

void FileCursor::previous()
{
    if (!moveAllowed())
        return;
    const int row = m_row - 1;
    m_row = std::max(0, row);
    if (row < 1)
        emit atTheFirst();
    readCurrentPausingSlideshow();
}

void FileCursor::next()
{
    if (!moveAllowed())
        return;
    const int lastRow = rowCount() - 1;
    m_row = std::min(m_row + 1, lastRow);
    if (m_row == lastRow)
        emit atTheEnd();
    readCurrentPausingSlideshow();
}

void FileCursor::first()
{
    if (!moveAllowed())
        return;
    m_row = 0;
    if (!readCurrent())
        return;
    m_timer->stop();
    m_slideshowRunning = false;
    emit atTheFirst();
    emit slideshowStopped();
}

void FileCursor::last()
{
    if (!moveAllowed())
        return;
    m_row = rowCount() - 1;
    if (!readCurrent())
        return;
    m_timer->stop();
    m_slideshowRunning = false;
    emit slideshowStopped();
    emit atTheEnd();
}

void FileCursor::moveTo(int row)
{
    if (!moveAllowed())
        return;
    const bool running = m_slideshowRunning;
    if (running)
        m_timer->stop();
    m_row = row;
    readCurrent();
    if (m_row == 0) {
        emit atTheFirst();
    } else if (m_row < rowCount() - 1) {
        emit hasNext();
        emit hasPrevious();
    } else {
        emit atTheEnd();
    }
    if (running)
        startSlideshow();
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

void FileCursor::tick()
{
    if (!moveAllowed())
        return;
    // A slideshow started on the last picture shows it again rather than running off the list.
    const int lastRow = rowCount() - 1;
    m_row = std::min(m_row + 1, lastRow);
    if (!readCurrent())
        stopSlideshow();
    if (m_row >= lastRow) {
        stopSlideshow();
        emit atTheEnd();
    }
}
