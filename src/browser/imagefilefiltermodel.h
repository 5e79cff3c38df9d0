#pragma once

#include <QCollator>
#include <QSortFilterProxyModel>

class QFileSystemModel;

// The directories and image files of a file-system model, directories first, in the name order
// of every list of a folder's files: the file browser's view of the shared model, which lists
// every file. It keeps the order itself, since the model adds arriving files at the end and
// sorts them only on a timer, after a repaint may have shown them out of order.
class ImageFileFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ImageFileFilterModel(QFileSystemModel* source, QObject* parent = nullptr);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    QCollator m_collator;
};
