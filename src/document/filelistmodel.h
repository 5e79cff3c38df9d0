#pragma once

#include <QAbstractListModel>
#include <QStringList>

// A fixed list of picture files, standing in for a directory when a view was given the files.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // QFileSystemModel::FilePathRole, where every model a view lists gives a file's path; the
    // file-system model lives with the widgets, so its value is spelt out here.
    static constexpr int filePathRole = Qt::UserRole + 1;

    explicit FileListModel(const QStringList& files, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // A file that no longer exists gives nothing, so views show it as gone.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const QStringList m_files;
};
