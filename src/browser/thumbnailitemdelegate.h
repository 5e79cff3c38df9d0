#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

class ThumbnailView;

// Draws a thumbnail view's items with the view's loaded thumbnail (or its placeholder) instead of
// the model's decoration, which for a file-system model would mean reading every file's icon.
class ThumbnailItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ThumbnailItemDelegate(ThumbnailView* view);

    void setShowText(bool show) { m_showText = show; }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QPointer<ThumbnailView> m_view;
    bool m_showText = true;
};
