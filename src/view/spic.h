#pragma once

#include "view/selectiontypes.h"

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

class Picture;
class PrescaledImage;
class QColor;
class SMark;

// The canvas of a picture view: shows the image of the picture it is given at a display scale
// and lets the user draw, move and resize one rectangular selection on it with the mouse. The
// scale counts device pixels: at 100 % one picture pixel takes one pixel of the screen, however
// many of them a logical pixel holds.
class SPic : public QWidget
{
    Q_OBJECT

public:
    explicit SPic(QWidget* parent = nullptr);

    double scale() const { return m_scale; }
    void setScale(double scale);

    // Until a picture is given, and after it is gone, the canvas shows a blank one of its own.
    Picture* picture() const;
    void setPicture(Picture* picture);

    const QImage& image() const;
    QImage& image();
    void setImage(const QImage& image);

    // x, y, width and height in image pixels; meaningful while the mark is Selected or dragged.
    QRect selection() const { return m_selection; }
    void setSelection(const QRect& selection);

    SMark* mark() const { return m_mark; }
    // The copies paints below 100 % are made from.
    const PrescaledImage* prescaled() const { return m_prescaled; }
    bool hasSelection() const;
    void clearSelection();

    // The logical size of the picture at the scale.
    int scaledWidth() const;
    int scaledHeight() const;
    // Image column (row) under a canvas coordinate; see toImage for the clamping rules.
    int imageX(int x, bool clamp) const;
    int imageY(int y, bool clamp) const;

    bool isSelectable() const { return m_selectable; }
    void setSelectable(bool selectable);
    QString format() const;
    void setFormat(const QString& format);

    QSize sizeHint() const override;

    // Enlargements from 2 upward show hard pixels.
    static bool smoothAt(double scale);
    // Whether a paint at the shown size (device pixels) takes the stand-in rather than the
    // copy at hand: every pixel of a picture at half or less paints grainier than a stand-in at
    // least as large as shown, until smaller copies of the picture are made.
    static bool paintsFromStandIn(const QSize& copy, const QSize& picture, const QSize& standIn,
                                  const QSize& shown);
    // Clamped: limited to 0..extent (one past the last pixel is allowed). Unclamped: -1 left of
    // or above the image, unlimited beyond it.
    static int toImage(int canvasPos, int origin, double scale, int extent, bool clamp);
    // The logical size a picture takes at a scale on a screen of that device pixel ratio.
    static QSize canvasSizeFor(const QSize& picture, double scale, double devicePixelRatio);
    // Where an image of the scaled size sits, centred, in a canvas of the given size.
    static QRect imageRectFor(const QSize& canvas, const QSize& scaled);
    // Where the mark lies on the canvas for a selection in image pixels.
    static QRect markRectFor(const QRect& selection, double scale, const QPoint& origin);
    static QString selectionText(const QRect& selection);
    // Empty when the pixel lies outside the image.
    static QString pixelText(const QImage& image, const QPoint& pixel);
    // The inverse of the image's mean colour, so the frame stands out on any picture.
    static QColor selectionColour(const QImage& image);

signals:
    void markChanged4P(const QString& text);
    void MPIChanged4P(const QString& text);
    void selectionContextMenuRequested(const QPoint& globalPos);
    void contextMenuRequested(const QPoint& globalPos);
    // The picture (or what stands in for it) is drawn.
    void painted();

public slots:
    void registerClick(SEditReg editReg);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool acceptsMouse() const;
    // Logical pixels per picture pixel.
    double canvasScale() const;
    QPoint imagePoint(const QPoint& canvasPos, bool clamp) const;
    // Follows a drag to image point p; false when no drag is under way.
    bool dragTo(const QPoint& p);
    void relayout();
    void paintPicture(QPaintEvent* event);
    void pictureChanged();

    double m_scale = 1.0;
    Picture* m_ownPicture = nullptr;
    QPointer<Picture> m_picture;
    QRect m_selection{0, 0, 0, 0};
    SMark* m_mark = nullptr;
    PrescaledImage* m_prescaled = nullptr;
    QPoint m_anchor;
    QRect m_imageRect;
    QPoint m_grabOffset;
    bool m_selectable = true;
};
