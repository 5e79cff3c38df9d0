#include "view/spicview.h"

#include "document/picture.h"
#include <QAbstractItemModel>
#include <QTimer>

#include <algorithm>

bool SPicView::moveAllowed()
{
    return !m_adjusting && m_fileModel && m_fileModel->rowCount() > 0 && confirmClose();
}

bool SPicView::readCurrent()
{
    return loadFile(filePath());
}

void SPicView::previous()
{
    if (!moveAllowed())
        return;
    const int row = m_currentRow - 1;
    m_currentRow = std::max(0, row);
    if (row < 1)
        emit atTheFirst();
    readCurrentPausingSlideshow();
}

void SPicView::next()
{
    if (!moveAllowed())
        return;
    const int lastRow = m_fileModel->rowCount() - 1;
    m_currentRow = std::min(m_currentRow + 1, lastRow);
    if (m_currentRow == lastRow)
        emit atTheEnd();
    readCurrentPausingSlideshow();
}

void SPicView::readCurrentPausingSlideshow()
{
    // A manual step restarts the slideshow's full delay on the new picture.
    const bool running = slideshowRunning();
    if (running)
        m_slideTimer->stop();
    readCurrent();
    if (running)
        startSlideshow();
}

void SPicView::first()
{
    if (!moveAllowed())
        return;
    m_currentRow = 0;
    if (!readCurrent())
        return;
    m_slideTimer->stop();
    m_slideshowStopped = true;
    emit atTheFirst();
    emit slideshow_stopped();
}

void SPicView::last()
{
    if (!moveAllowed())
        return;
    m_currentRow = m_fileModel->rowCount() - 1;
    if (!readCurrent())
        return;
    m_slideTimer->stop();
    m_slideshowStopped = true;
    emit slideshow_stopped();
    emit atTheEnd();
}

void SPicView::setCurrentIndex(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    // Choosing the shown picture again must not cost the user's edits a question.
    if (m_picture->isModified() && m_currentRow == index.row())
        return;
    if (!moveAllowed())
        return;
    const bool running = slideshowRunning();
    if (running)
        m_slideTimer->stop();
    m_currentRow = index.row();
    readCurrent();
    const int rowCount = m_fileModel->rowCount();
    if (m_currentRow == 0) {
        emit atTheFirst();
    } else if (m_currentRow < rowCount - 1) {
        emit hasNext();
        emit hasPrevious();
    } else {
        emit atTheEnd();
    }
    if (running)
        startSlideshow();
}

void SPicView::updateCurrentImageIndex(int imageFileIndex)
{
    m_currentRow = imageFileIndex;
    emit currentIndexChanged(currentModelIndex());
    publishBrowseInfo();
}

void SPicView::startSlideshow()
{
    m_slideTimer->start(m_slideDelay * 1000);
    m_slideshowStopped = false;
    emit slideshow_started();
}

void SPicView::stopSlideshow()
{
    m_slideTimer->stop();
    m_slideshowStopped = true;
    emit slideshow_stopped();
}

void SPicView::setSlideDelay(int seconds)
{
    m_slideDelay = seconds;
    if (slideshowRunning())
        m_slideTimer->setInterval(seconds * 1000);
}

void SPicView::timerTimeout()
{
    if (!moveAllowed())
        return;
    // A slideshow started on the last picture shows it again rather than running off the list.
    const int lastRow = m_fileModel->rowCount() - 1;
    m_currentRow = std::min(m_currentRow + 1, lastRow);
    if (!readCurrent())
        stopSlideshow();
    if (m_currentRow >= lastRow) {
        stopSlideshow();
        emit atTheEnd();
    }
}
