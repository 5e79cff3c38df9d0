#pragma once

#include <QSortFilterProxyModel>

class QFileSystemModel;

// The directories and image files of a file-system model, in the model's own order: the file
// browser's view of the shared model, which lists every file.
class ImageFileFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ImageFileFilterModel(QFileSystemModel* source, QObject* parent = nullptr);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
};
