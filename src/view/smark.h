#pragma once

#include "view/selectiontypes.h"

#include <QRect>
#include <QRegion>
#include <QWidget>

#include <array>
#include <optional>

class QColor;

// The selection drawn over the canvas: a one-pixel frame with eight square handles to resize it
// by. Its inside is masked out, so presses there reach the canvas underneath.
class SMark : public QWidget
{
    Q_OBJECT

public:
    static constexpr int HandleSize = 6;
    static constexpr int MinSizeForHandles = 18;

    explicit SMark(QWidget* parent = nullptr);

    MarkMode mode() const { return m_mode; }
    void setMode(MarkMode mode);
    void setFillColour(const QColor& colour);

    // The handle squares of a mark of this size, indexed by SEditReg.
    static std::array<QRect, 8> handleRects(const QSize& size);
    static bool showsHandles(const QSize& size, MarkMode mode);
    // What the mark shows (and where it takes the mouse): the frame, and the handles if they show.
    static QRegion shapeFor(const QSize& size, MarkMode mode);

signals:
    void clicked(SEditReg editReg);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Handles that are not shown take no clicks, so they are looked up from the current size.
    std::optional<SEditReg> handleAt(const QPoint& pos) const;
    void updateShape();

    MarkMode m_mode = MarkMode::None;
};
