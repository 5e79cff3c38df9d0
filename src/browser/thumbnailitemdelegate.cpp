#include "browser/thumbnailitemdelegate.h"

#include "browser/thumbnailview.h"

ThumbnailItemDelegate::ThumbnailItemDelegate(ThumbnailView* view)
    : QStyledItemDelegate(view)
    , m_view(view)
{
}

void ThumbnailItemDelegate::initStyleOption(QStyleOptionViewItem* option,
                                            const QModelIndex& index) const
{
    // The standard filling, less the decoration role.
    QVariant value = index.data(Qt::FontRole);
    if (value.isValid() && !value.isNull()) {
        option->font = qvariant_cast<QFont>(value).resolve(option->font);
        option->fontMetrics = QFontMetrics(option->font);
    }
    value = index.data(Qt::TextAlignmentRole);
    if (value.isValid() && !value.isNull())
        option->displayAlignment = Qt::Alignment(value.toInt());
    // A name under its thumbnail starts right below it: centred in a cell that has room for more
    // lines, a name that wraps would sit lower than its neighbours.
    if (option->decorationPosition == QStyleOptionViewItem::Top)
        option->displayAlignment =
            (option->displayAlignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
    value = index.data(Qt::ForegroundRole);
    if (value.canConvert<QBrush>())
        option->palette.setBrush(QPalette::Text, qvariant_cast<QBrush>(value));
    option->index = index;
    value = index.data(Qt::CheckStateRole);
    if (value.isValid() && !value.isNull()) {
        option->features |= QStyleOptionViewItem::HasCheckIndicator;
        option->checkState = static_cast<Qt::CheckState>(value.toInt());
    }

    // Items keep the whole icon size whatever they show, so a thumbnail arriving later fits the
    // rectangle laid out with the placeholder; any other size would leave the placeholder's edge
    // beneath the thumbnail or wrap the name into a clipped second line. The icon keeps its
    // aspect ratio inside and never grows.
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->icon = m_view ? m_view->thumbnail(index) : QIcon();

    if (m_showText) {
        value = index.data(Qt::DisplayRole);
        if (value.isValid() && !value.isNull()) {
            option->features |= QStyleOptionViewItem::HasDisplay;
            option->text = displayText(value, option->locale);
        }
    }
    option->backgroundBrush = qvariant_cast<QBrush>(index.data(Qt::BackgroundRole));
    // No style animations inside item views.
    option->styleObject = nullptr;
}
