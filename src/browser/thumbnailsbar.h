#pragma once

#include "browser/thumbnailview.h"

class LumoScrollBar;
class QTimeLine;

// The one-row strip of thumbnails under the pictures: shows the active picture view's files,
// glides to keep the current one in the middle and reports the one the user picks.
class ThumbnailsBar : public ThumbnailView
{
    Q_OBJECT

public:
    static constexpr int kScrollDurationMs = 200;

    explicit ThumbnailsBar(QWidget* parent = nullptr);

    void setTabletMode(bool tabletMode);
    bool tabletMode() const { return m_tabletMode; }

    QSize sizeHint() const override;

    // Edge of the square icons of a bar of the given height.
    static int iconSide(int barHeight, int scrollBarHeight, int frameWidth);
    static QSize gridSizeForIcon(int iconSide);
    static int minimumBarHeight(int scrollBarHeight, int frameWidth);
    static int maximumBarHeight(int scrollBarHeight, int frameWidth);
    // The scroll value that puts an item (its rectangle in viewport coordinates) in the middle.
    static int centeringScrollValue(int scrollValue, const QRect& itemRect, int viewportWidth);

signals:
    void currentIndexChanged(const QModelIndex& index);

public slots:
    void smoothScrollToCenter(const QModelIndex& index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;

private:
    void applyHeightLimits();
    void updateIconSize();
    void recentreCurrent();

    QTimeLine* m_scrollTimeLine;
    LumoScrollBar* m_scrollBar;
    bool m_tabletMode = false;
    bool m_recentrePending = false;
};
