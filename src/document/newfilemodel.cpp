#include "document/newfilemodel.h"

#include <QPixmap>

NewFileModel::NewFileModel(QObject* parent)
    : QAbstractListModel(parent)
{
    QPixmap blank(256, 256);
    blank.fill(Qt::white);
    m_icon = QIcon(blank);
}

int NewFileModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant NewFileModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DecorationRole || !index.isValid() || index.row() != 0)
        return QVariant();
    return m_icon;
}
