#include "browser/imagefilefiltermodel.h"

#include "view/imageformats.h"

#include <QFileSystemModel>

ImageFileFilterModel::ImageFileFilterModel(QFileSystemModel* source, QObject* parent)
    : QSortFilterProxyModel(parent)
{
    setSourceModel(source);
}

bool ImageFileFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    const auto* fs = static_cast<const QFileSystemModel*>(sourceModel());
    const QModelIndex index = fs->index(sourceRow, 0, sourceParent);
    return fs->isDir(index) || ImageFormats::instance()->hasReadableSuffix(fs->fileName(index));
}
