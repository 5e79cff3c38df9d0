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
    value = index.data(Qt::ForegroundRole);
    if (value.canConvert<QBrush>())
        option->palette.setBrush(QPalette::Text, qvariant_cast<QBrush>(value));
    option->index = index;
    value = index.data(Qt::CheckStateRole);
    if (value.isValid() && !value.isNull()) {
        option->features |= QStyleOptionViewItem::HasCheckIndicator;
        option->checkState = static_cast<Qt::CheckState>(value.toInt());
    }

    option->features |= QStyleOptionViewItem::HasDecoration;
    option->icon = m_view ? m_view->thumbnail(index) : QIcon();
    if (!option->icon.isNull()) {
        QIcon::Mode mode = QIcon::Normal;
        if (!(option->state & QStyle::State_Enabled))
            mode = QIcon::Disabled;
        else if (option->state & QStyle::State_Selected)
            mode = QIcon::Selected;
        const QIcon::State state = option->state & QStyle::State_Open ? QIcon::On : QIcon::Off;
        // Thumbnails shrink to the icon size but never grow beyond their own.
        option->decorationSize = option->decorationSize.boundedTo(
            option->icon.actualSize(option->decorationSize, mode, state));
    }

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
