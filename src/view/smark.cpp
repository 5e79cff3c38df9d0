#include "view/smark.h"

#include <QColor>
#include <QMouseEvent>
#include <QPainter>

SMark::SMark(QWidget* parent)
    : QWidget(parent)
{
    qRegisterMetaType<SEditReg>("SEditReg");
    hide();
    setMouseTracking(true);
}

void SMark::setMode(MarkMode mode)
{
    if (m_mode == mode)
        return;
    m_mode = mode;
    updateShape();
    update();
}

void SMark::setFillColour(const QColor& colour)
{
    QPalette pal = palette();
    pal.setBrush(backgroundRole(), QBrush(colour));
    setPalette(pal);
}

std::array<QRect, 8> SMark::handleRects(const QSize& size)
{
    const int w = size.width();
    const int h = size.height();
    const int midX = qRound(w * 0.5) - HandleSize / 2;
    const int midY = qRound(h * 0.5) - HandleSize / 2;
    const int right = w - HandleSize;
    const int bottom = h - HandleSize;
    const QSize square(HandleSize, HandleSize);
    return {QRect(QPoint(0, 0), square),         QRect(QPoint(0, midY), square),
            QRect(QPoint(0, bottom), square),    QRect(QPoint(midX, bottom), square),
            QRect(QPoint(right, bottom), square), QRect(QPoint(right, midY), square),
            QRect(QPoint(right, 0), square),     QRect(QPoint(midX, 0), square)};
}

bool SMark::showsHandles(const QSize& size, MarkMode mode)
{
    return mode == MarkMode::Selected && size.width() >= MinSizeForHandles
           && size.height() >= MinSizeForHandles;
}

QRegion SMark::shapeFor(const QSize& size, MarkMode mode)
{
    const int w = size.width();
    const int h = size.height();
    QRegion shape = QRegion(0, 0, w, h).subtracted(QRegion(1, 1, w - 2, h - 2));
    if (showsHandles(size, mode)) {
        for (const QRect& handle : handleRects(size))
            shape += handle;
    }
    return shape;
}

std::optional<SEditReg> SMark::handleAt(const QPoint& pos) const
{
    if (!showsHandles(size(), m_mode))
        return std::nullopt;
    static constexpr SEditReg order[] = {SEditReg::Left,        SEditReg::Bottom,
                                         SEditReg::Right,       SEditReg::Top,
                                         SEditReg::BottomRight, SEditReg::TopLeft,
                                         SEditReg::BottomLeft,  SEditReg::TopRight};
    const std::array<QRect, 8> rects = handleRects(size());
    for (SEditReg handle : order) {
        if (rects[static_cast<size_t>(handle)].contains(pos))
            return handle;
    }
    return std::nullopt;
}

void SMark::mousePressEvent(QMouseEvent* event)
{
    const std::optional<SEditReg> handle = handleAt(event->localPos().toPoint());
    if (!handle) {
        // The canvas takes presses on the frame as the start of a move.
        event->ignore();
        return;
    }
    emit clicked(*handle);
}

void SMark::mouseMoveEvent(QMouseEvent* event)
{
    // While a handle is dragged the moves go on to the canvas and the cursor stays as it was.
    if (m_mode != MarkMode::Selected) {
        event->ignore();
        return;
    }
    const std::optional<SEditReg> handle = handleAt(event->localPos().toPoint());
    if (!handle) {
        // Off the handles the canvas's cursor tells what a press would do.
        unsetCursor();
        event->ignore();
        return;
    }
    switch (*handle) {
    case SEditReg::Left:
    case SEditReg::Right:
        setCursor(Qt::SizeHorCursor);
        break;
    case SEditReg::Bottom:
    case SEditReg::Top:
        setCursor(Qt::SizeVerCursor);
        break;
    case SEditReg::BottomRight:
    case SEditReg::TopLeft:
        setCursor(Qt::SizeFDiagCursor);
        break;
    case SEditReg::BottomLeft:
    case SEditReg::TopRight:
        setCursor(Qt::SizeBDiagCursor);
        break;
    }
}

void SMark::updateShape()
{
    // Outside the mask (the inside of the selection) the mouse reaches the canvas directly.
    setMask(shapeFor(size(), m_mode));
}

void SMark::resizeEvent(QResizeEvent*)
{
    updateShape();
}

void SMark::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
}
