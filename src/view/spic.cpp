#include "view/spic.h"

#include "document/picture.h"
#include "document/prescaledimage.h"
#include "view/smark.h"

#include <QColor>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

SPic::SPic(QWidget* parent)
    : QWidget(parent)
    , m_ownPicture(new Picture(this))
    , m_mark(new SMark(this))
    , m_prescaled(new PrescaledImage(this))
{
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    connect(m_mark, &SMark::clicked, this, &SPic::registerClick);
    // The copies are smoother than a bilinear paint of the whole image far below 100 %.
    connect(m_prescaled, &PrescaledImage::copiesMade, this, qOverload<>(&SPic::update));
    connect(m_ownPicture, &Picture::imageChanged, this, &SPic::pictureChanged);
}

Picture* SPic::picture() const
{
    return m_picture ? m_picture.data() : m_ownPicture;
}

void SPic::setPicture(Picture* picture)
{
    if (m_picture)
        disconnect(m_picture, &Picture::imageChanged, this, &SPic::pictureChanged);
    m_picture = picture;
    if (m_picture)
        connect(m_picture, &Picture::imageChanged, this, &SPic::pictureChanged);
    pictureChanged();
}

const QImage& SPic::image() const
{
    return picture()->image();
}

QImage& SPic::image()
{
    return picture()->image();
}

QString SPic::format() const
{
    return picture()->format();
}

void SPic::setFormat(const QString& format)
{
    picture()->setFormat(format);
}

void SPic::setScale(double scale)
{
    m_scale = scale;
    m_prescaled->setScale(scale);
    relayout();
    update();
}

void SPic::setImage(const QImage& image)
{
    picture()->setImage(image);
}

void SPic::pictureChanged()
{
    m_prescaled->setImage(image(), picture()->displayCopy(), picture()->prescaledCopies());
    updateGeometry();
    relayout();
    update();
}

void SPic::setSelection(const QRect& selection)
{
    m_selection = selection;
    relayout();
}

bool SPic::hasSelection() const
{
    return m_mark->mode() == MarkMode::Selected;
}

void SPic::clearSelection()
{
    m_mark->setMode(MarkMode::None);
    m_mark->hide();
    // A canvas that cannot be selected keeps its arrow.
    setCursor(m_selectable ? Qt::CrossCursor : Qt::ArrowCursor);
    emit markChanged4P(QString());
}

int SPic::scaledWidth() const
{
    return canvasSizeFor(picture()->shownSize(), m_scale, devicePixelRatioF()).width();
}

int SPic::scaledHeight() const
{
    return canvasSizeFor(picture()->shownSize(), m_scale, devicePixelRatioF()).height();
}

double SPic::canvasScale() const
{
    return m_scale / devicePixelRatioF();
}

int SPic::imageX(int x, bool clamp) const
{
    return toImage(x, m_imageRect.left(), canvasScale(), image().width(), clamp);
}

int SPic::imageY(int y, bool clamp) const
{
    return toImage(y, m_imageRect.top(), canvasScale(), image().height(), clamp);
}

void SPic::setSelectable(bool selectable)
{
    if (m_selectable == selectable)
        return;
    m_selectable = selectable;
    // Tracking stays on: plain pointer moves pass on from here to the view, whose full-screen
    // panel slides in when the pointer reaches the top edge.
    setCursor(selectable ? Qt::CrossCursor : Qt::ArrowCursor);
}

QSize SPic::sizeHint() const
{
    return image().isNull() ? QWidget::sizeHint()
                            : canvasSizeFor(image().size(), 1.0, devicePixelRatioF());
}

bool SPic::smoothAt(double scale)
{
    return scale < 2.0;
}

bool SPic::paintsFromStandIn(const QSize& copy, const QSize& picture, const QSize& standIn,
                             const QSize& shown)
{
    // A stand-in up to a tenth smaller than shown, as a JPEG decodes at a quarter of its size,
    // is still smoother than the whole picture before its copies are made.
    return copy == picture && shown.width() * 2 <= picture.width()
           && shown.height() * 2 <= picture.height() && standIn.width() * 10 >= shown.width() * 9
           && standIn.height() * 10 >= shown.height() * 9;
}

int SPic::toImage(int canvasPos, int origin, double scale, int extent, bool clamp)
{
    if (!(scale > 0.0))
        return clamp ? 0 : -1;
    const double v = (double(canvasPos) - origin) / scale;
    if (clamp)
        return int(std::clamp(std::trunc(v), 0.0, double(extent)));
    if (v < 0.0)
        return -1;
    return int(std::min(std::trunc(v), double(std::numeric_limits<int>::max())));
}

QSize SPic::canvasSizeFor(const QSize& picture, double scale, double devicePixelRatio)
{
    const double logical = scale / (devicePixelRatio > 0.0 ? devicePixelRatio : 1.0);
    return QSize(qRound(picture.width() * logical), qRound(picture.height() * logical));
}

QRect SPic::imageRectFor(const QSize& canvas, const QSize& scaled)
{
    return QRect(qRound((canvas.width() - scaled.width()) * 0.5),
                 qRound((canvas.height() - scaled.height()) * 0.5), scaled.width(),
                 scaled.height());
}

QRect SPic::markRectFor(const QRect& selection, double scale, const QPoint& origin)
{
    return QRect(qRound(selection.x() * scale) + origin.x(),
                 qRound(selection.y() * scale) + origin.y(), qRound(selection.width() * scale),
                 qRound(selection.height() * scale));
}

QString SPic::selectionText(const QRect& selection)
{
    const double ratio = selection.height() / double(selection.width());
    return QStringLiteral("%1 X %2 + %3 + %4 (%5)")
        .arg(QString::number(selection.width()), QString::number(selection.height()),
             QString::number(selection.x()), QString::number(selection.y()),
             QString::number(ratio, 'g', 6));
}

QString SPic::pixelText(const QImage& image, const QPoint& pixel)
{
    if (!image.valid(pixel))
        return QString();
    const QRgb rgb = image.pixel(pixel);
    QString text = QStringLiteral("%1 X %2, %3 - %4 - %5")
                       .arg(QString::number(pixel.x()), QString::number(pixel.y()),
                            QString::number(qRed(rgb)), QString::number(qGreen(rgb)),
                            QString::number(qBlue(rgb)));
    if (image.depth() == 32)
        text += QStringLiteral(" - ") + QString::number(qAlpha(rgb));
    return text;
}

QColor SPic::selectionColour(const QImage& image)
{
    if (image.isNull())
        return QColor(255, 255, 255);
    // Both formats can be read as QRgb rows; anything else is converted once.
    const bool direct =
        image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    const QImage rgb = direct ? image : image.convertToFormat(QImage::Format_ARGB32);
    // 64-bit sums: a 24-megapixel photo overflows 32 bits in one channel.
    quint64 red = 0;
    quint64 green = 0;
    quint64 blue = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            red += quint64(qRed(line[x]));
            green += quint64(qGreen(line[x]));
            blue += quint64(qBlue(line[x]));
        }
    }
    const double pixels = double(rgb.width()) * rgb.height();
    return QColor(255 - qRound(red / pixels), 255 - qRound(green / pixels),
                  255 - qRound(blue / pixels));
}

void SPic::registerClick(SEditReg editReg)
{
    const int left = m_selection.x();
    const int top = m_selection.y();
    const int right = left + m_selection.width();
    const int bottom = top + m_selection.height();
    MarkMode mode = MarkMode::Drawing;
    switch (editReg) {
    case SEditReg::TopLeft:
        m_anchor = QPoint(right, bottom);
        break;
    case SEditReg::Left:
        m_anchor.setX(right);
        mode = MarkMode::SizingHorizontal;
        break;
    case SEditReg::BottomLeft:
        m_anchor = QPoint(right, top);
        break;
    case SEditReg::Bottom:
        m_anchor.setY(top);
        mode = MarkMode::SizingVertical;
        break;
    case SEditReg::BottomRight:
        m_anchor = QPoint(left, top);
        break;
    case SEditReg::Right:
        m_anchor.setX(left);
        mode = MarkMode::SizingHorizontal;
        break;
    case SEditReg::TopRight:
        m_anchor = QPoint(left, bottom);
        break;
    case SEditReg::Top:
        m_anchor.setY(bottom);
        mode = MarkMode::SizingVertical;
        break;
    default:
        return;
    }
    m_mark->setMode(mode);
}

bool SPic::acceptsMouse() const
{
    return m_selectable && !image().isNull() && m_scale > 0.0;
}

QPoint SPic::imagePoint(const QPoint& canvasPos, bool clamp) const
{
    return QPoint(imageX(canvasPos.x(), clamp), imageY(canvasPos.y(), clamp));
}

void SPic::mousePressEvent(QMouseEvent* event)
{
    if (!acceptsMouse())
        return;
    const QPoint pos = event->localPos().toPoint();
    switch (m_mark->mode()) {
    case MarkMode::None:
        m_anchor = imagePoint(pos, true);
        // Start from nothing, so a plain click cannot bring back a cleared selection.
        m_selection = QRect(m_anchor, QSize(0, 0));
        m_mark->setFillColour(selectionColour(image()));
        m_mark->setGeometry(QRect(pos, QSize(0, 0)));
        m_mark->setMode(MarkMode::Drawing);
        m_mark->show();
        break;
    case MarkMode::Selected:
        if (!m_mark->geometry().contains(pos)) {
            if (event->buttons() != Qt::NoButton)
                clearSelection();
        } else if (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) {
            const QPoint inMark = m_mark->mapFromParent(pos);
            m_grabOffset = QPoint(qRound(inMark.x() / canvasScale()),
                                  qRound(inMark.y() / canvasScale()));
            m_mark->setMode(MarkMode::Moving);
            setCursor(Qt::ClosedHandCursor);
        }
        break;
    default:
        break;
    }
}

bool SPic::dragTo(const QPoint& p)
{
    const int spanX = std::min(p.x(), m_anchor.x());
    const int spanY = std::min(p.y(), m_anchor.y());
    const int spanWidth = std::abs(p.x() - m_anchor.x());
    const int spanHeight = std::abs(p.y() - m_anchor.y());
    QRect& s = m_selection;
    switch (m_mark->mode()) {
    case MarkMode::Drawing:
        s = QRect(spanX, spanY, spanWidth, spanHeight);
        return true;
    case MarkMode::SizingHorizontal:
        s = QRect(spanX, s.y(), spanWidth, s.height());
        return true;
    case MarkMode::SizingVertical:
        s = QRect(s.x(), spanY, s.width(), spanHeight);
        return true;
    case MarkMode::Moving:
        s.moveTo(std::max(std::min(p.x() - m_grabOffset.x(), image().width() - s.width()), 0),
                 std::max(std::min(p.y() - m_grabOffset.y(), image().height() - s.height()), 0));
        return true;
    default:
        return false;
    }
}

void SPic::mouseMoveEvent(QMouseEvent* event)
{
    event->ignore();
    if (!m_selectable)
        return;
    const QPoint pos = event->localPos().toPoint();
    if ((event->buttons() & Qt::LeftButton) && acceptsMouse()) {
        if (dragTo(imagePoint(pos, true))) {
            m_mark->setGeometry(markRectFor(m_selection, canvasScale(), m_imageRect.topLeft()));
            emit markChanged4P(selectionText(m_selection));
        }
        emit MPIChanged4P(pixelText(image(), imagePoint(pos, false)));
    } else if (event->buttons() == Qt::NoButton && m_mark->isVisible()) {
        setCursor(m_mark->geometry().contains(pos) ? Qt::OpenHandCursor : Qt::CrossCursor);
    }
}

void SPic::mouseReleaseEvent(QMouseEvent*)
{
    if (!acceptsMouse())
        return;
    const MarkMode mode = m_mark->mode();
    if (mode == MarkMode::Moving)
        setCursor(Qt::OpenHandCursor);
    if (mode == MarkMode::Drawing || mode == MarkMode::SizingHorizontal
        || mode == MarkMode::SizingVertical || mode == MarkMode::Moving) {
        if (m_selection.width() != 0 && m_selection.height() != 0)
            m_mark->setMode(MarkMode::Selected);
        else
            clearSelection();
    }
    // A selection too small to show at this scale does not survive.
    if (m_mark->mode() != MarkMode::None && (m_mark->width() == 0 || m_mark->height() == 0))
        clearSelection();
}

void SPic::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->ignore();
}

void SPic::leaveEvent(QEvent*)
{
    emit MPIChanged4P(QString());
}

void SPic::contextMenuEvent(QContextMenuEvent* event)
{
    // A hidden mark keeps its last geometry; it offers no selection to act on.
    if (m_mark->isVisible() && m_mark->geometry().contains(event->pos()))
        emit selectionContextMenuRequested(event->globalPos());
    else
        emit contextMenuRequested(event->globalPos());
}

void SPic::resizeEvent(QResizeEvent*)
{
    relayout();
}

void SPic::relayout()
{
    m_imageRect = imageRectFor(size(), QSize(scaledWidth(), scaledHeight()));
    m_mark->setGeometry(markRectFor(m_selection, canvasScale(), m_imageRect.topLeft()));
}

void SPic::paintEvent(QPaintEvent* event)
{
    paintPicture(event);
    emit painted();
}

void SPic::paintPicture(QPaintEvent* event)
{
    if (!(m_scale > 0.0))
        return;
    // The image may have been changed in place since the last layout.
    relayout();
    const QImage& full = image();
    const QImage& shownImage = picture()->shownImage();
    if (shownImage.isNull())
        return;
    // A preview changes with every step of a control, so copies are made of the picture only.
    const bool previewing = shownImage.cacheKey() != full.cacheKey();
    // An edit in place since the last paint makes the copies stale.
    if (!previewing)
        m_prescaled->setImage(full, picture()->displayCopy(), picture()->prescaledCopies());
    // Drawn exactly where the mouse mapping and the mark place it: whatever is drawn (the
    // picture, a copy of it, a reduced preview) spans the image rectangle, but for the top left
    // corner read first, which lies at full size where it belongs.
    const bool corner = full.isNull() && picture()->standInIsCorner();
    QRectF target(m_imageRect);
    if (corner)
        target.setSize(QSizeF(shownImage.size()) * canvasScale());
    const QRectF shown = target.intersected(QRectF(event->rect()));
    if (shown.isEmpty())
        return;
    QImage copy = previewing ? shownImage : m_prescaled->copyFor(full, m_scale);
    const QSize shownPixels = canvasSizeFor(m_imageRect.size(), devicePixelRatioF(), 1.0);
    if (!previewing
        && paintsFromStandIn(copy.size(), full.size(), picture()->standIn().size(), shownPixels))
        copy = picture()->standIn();
    // At full size the scale maps exactly; a smaller copy spans the rounded rectangle.
    const bool fullSize = corner || copy.size() == picture()->shownSize();
    const double toCopyX = fullSize ? 1.0 / canvasScale() : copy.width() / target.width();
    const double toCopyY = fullSize ? 1.0 / canvasScale() : copy.height() / target.height();
    const QRectF source((shown.x() - target.x()) * toCopyX, (shown.y() - target.y()) * toCopyY,
                        shown.width() * toCopyX, shown.height() * toCopyY);
    // One of the rectangle's size in device pixels is drawn pixel for pixel, since smoothing it
    // would only blur it.
    const bool smooth = fullSize ? smoothAt(m_scale) : copy.size() != shownPixels;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.setClipRect(event->rect());
    painter.drawImage(shown, copy, source);
}
