#include "browser/imagefilefiltermodel.h"

#include "view/imageformats.h"

#include <QFileSystemModel>

ImageFileFilterModel::ImageFileFilterModel(QFileSystemModel* source, QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_fsModel(source)
{
    setSourceModel(source);
}

bool ImageFileFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    const QModelIndex index = m_fsModel->index(sourceRow, 0, sourceParent);
    return m_fsModel->isDir(index)
        || ImageFormats::instance()->hasReadableSuffix(m_fsModel->fileName(index));
}
