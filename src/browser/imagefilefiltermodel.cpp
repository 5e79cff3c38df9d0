#include "browser/imagefilefiltermodel.h"

#include "document/filenameorder.h"
#include "document/imageformats.h"

#include <QFileSystemModel>

ImageFileFilterModel::ImageFileFilterModel(QFileSystemModel* source, QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_collator(filenameorder::collator())
{
    setSourceModel(source);
    sort(0);
}

bool ImageFileFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    const auto* fs = static_cast<const QFileSystemModel*>(sourceModel());
    const QModelIndex index = fs->index(sourceRow, 0, sourceParent);
    return fs->isDir(index) || ImageFormats::instance()->hasReadableSuffix(fs->fileName(index));
}

bool ImageFileFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const auto* fs = static_cast<const QFileSystemModel*>(sourceModel());
    const bool leftIsDir = fs->isDir(left);
    if (leftIsDir != fs->isDir(right))
        return leftIsDir;
    return filenameorder::lessThan(m_collator, fs->fileName(left), fs->fileName(right));
}
