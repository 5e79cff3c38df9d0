#include "view/spicview.h"

#include "document/picture.h"
#include "document/picturestatus.h"
#include "view/sizewarning.h"
#include "view/spic.h"
#include "view/zoommodel.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QWheelEvent>

void SPicView::zoom()
{
    if (!isVisible())
        return;
    if (m_inZoom) {
        m_zoomAgain = true;
        return;
    }
    m_inZoom = true;
    // Showing or hiding a scroll bar resizes the viewport, which asks for one more pass; the
    // bound keeps a layout that flips between two states from looping.
    for (int pass = 0; pass < 3; ++pass) {
        m_zoomAgain = false;
        zoomPass();
        if (!m_zoomAgain)
            break;
    }
    m_inZoom = false;
}

void SPicView::zoomPass()
{
    const QSize port = viewport()->size();
    const int aw = port.width() - m_margin;
    const int ah = port.height() - m_margin;
    const QImage& image = m_picture->image();

    double scale = m_pic->scale();
    if (m_picture->isBroken())
        scale = 1.0;
    else if (m_zoomMode == 0)
        scale = ZoomModel::fitScale(image.size(), aw, ah, scale);
    else if (m_zoomMode == 4)
        scale = 1.0;

    // Keep the same part of the picture in the middle across the change.
    const double cx = m_pic->width() > 0
                          ? (horizontalScrollBar()->value() + aw * 0.5) / m_pic->width()
                          : 0.5;
    const double cy = m_pic->height() > 0
                          ? (verticalScrollBar()->value() + ah * 0.5) / m_pic->height()
                          : 0.5;
    m_pic->setScale(scale);

    m_zoomShown = !m_picture->isBroken() && !image.isNull();
    if (m_zoomShown) {
        emit zoomChanged(PictureStatus::zoomText(scale));
        m_pic->resize(
            ZoomModel::canvasSize(m_pic->scaledWidth(), m_pic->scaledHeight(), port, m_margin));
    } else {
        emit zoomChanged(QString());
        m_pic->resize(std::max(0, aw), std::max(0, ah));
    }

    const QSize shownPort = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, m_pic->width() - shownPort.width()));
    horizontalScrollBar()->setValue(qRound(m_pic->width() * cx - aw / 2));
    verticalScrollBar()->setRange(0, std::max(0, m_pic->height() - shownPort.height()));
    verticalScrollBar()->setValue(qRound(m_pic->height() * cy - ah / 2));
    m_pic->update();
}

void SPicView::zoomBy(double factor)
{
    m_zoomMode = 5;
    m_pic->setScale(ZoomModel::clampScale(factor * m_pic->scale()));
    zoom();
}

void SPicView::wheelEvent(QWheelEvent* event)
{
    zoomBy(ZoomModel::wheelFactor(event->angleDelta().y() / 120.0, event->modifiers()));
    // The wheel zooms; it never scrolls the picture.
    event->accept();
}

void SPicView::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    zoom();
}

void SPicView::refreshStatus()
{
    const QString path = filePath();
    const qint64 bytes = path.isEmpty() ? 0 : QFileInfo(path).size();
    if (m_picture->isBroken()) {
        emit imageInfoChanged(PictureStatus::readErrorText());
        emit browseInfoChanged(browseText());
        emit currentIndexChanged(currentModelIndex());
        emit markChanged(QString());
        emit zoomChanged(QString());
        emit fileInfoChanged(PictureStatus::fileSizeText(bytes));
        setWindowTitle(path);
        return;
    }

    const QImage& image = m_picture->image();
    bool flagged = false;
    emit imageInfoChanged(PictureStatus::imageInfoText(
        image.size(), image.depth(), SizeWarning::limits(), &flagged));
    if (flagged)
        SizeWarning::beep();
    emit browseInfoChanged(browseText());
    emit currentIndexChanged(currentModelIndex());
    emit markChanged(m_pic->hasSelection() ? PictureStatus::markText(m_pic->selection())
                                           : QString());
    emit zoomChanged(m_zoomShown ? PictureStatus::zoomText(m_pic->scale()) : QString());
    // A picture made in memory has no file to describe until it is written.
    const bool notSaved = m_picture->isModified() || m_picture->isUnsavedNew();
    emit fileInfoChanged(notSaved ? PictureStatus::notSavedText()
                                  : PictureStatus::fileInfoText(bytes, m_picture->format()));
    setWindowTitle(PictureStatus::titleText(path, notSaved));
}
