#include "document/filelistmodel.h"

#include <QFileInfo>

FileListModel::FileListModel(const QStringList& files, QObject* parent)
    : QAbstractListModel(parent)
    , m_files(files)
{
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    // Items have no children, or tree views would nest the list in itself.
    return parent.isValid() ? 0 : m_files.size();
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_files.size())
        return QVariant();
    const QFileInfo info(m_files.at(index.row()));
    if (!info.exists())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return info.fileName();
    case filePathRole:
        return info.canonicalFilePath();
    default:
        return QVariant();
    }
}
