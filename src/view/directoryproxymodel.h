#pragma once

#include <QAbstractProxyModel>
#include <QCollator>
#include <QEvent>
#include <QMetaObject>
#include <QPersistentModelIndex>
#include <QString>

#include <vector>

class QFileSystemModel;

// The image files of one directory of the shared file-system model, as one flat list in the
// file browser's name order, following files as they appear and vanish on disk, together with
// the row of the file a picture view shows.
class DirectoryProxyModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    DirectoryProxyModel(QFileSystemModel* source, const QString& directoryPath,
                        QObject* parent = nullptr);
    ~DirectoryProxyModel() override;

    // A file path makes that file the current one.
    void setDirectoryFile(const QString& directoryPath, const QString& filePath = QString());
    void setCurrentFile(const QString& filePath);
    // -1 while the current file is not in the list.
    int currentRow() const { return m_currentRow; }
    QString directoryPath() const { return m_dirPath; }
    // While held, the directory is not read: a picture opened in a big folder is shown first.
    void setListingHeld(bool held);

    void setSourceModel(QAbstractItemModel* model) override;
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;

public slots:
    // Reads the directory's files from the source anew (a model reset).
    void refresh();

signals:
    void currentFileIndexChanged(int row);

protected:
    bool event(QEvent* event) override;

private:
    struct File
    {
        QString name;
        int sourceRow;
    };

    QFileSystemModel* fileSystemModel() const;
    void readDirectory();
    void readDirectoryLater();
    void scheduleFetch();
    static QEvent::Type fetchEventType();
    void fetchDirectory();
    void fetchSource();
    void fillFromSource();
    void restartFill();
    void stopFill();
    std::vector<File> sourceFiles(int first, int last) const;
    void rebuild();
    void sortByName(std::vector<File>& files) const;
    bool remapSourceRows();
    void insertFiles(std::vector<File> added);
    bool lessThan(const QString& left, const QString& right) const;
    int lowerBound(const QString& name) const;
    int findRow(const QString& name) const;
    int proxyRowOfSource(int sourceRow) const;
    QString currentName() const;
    void updateCurrentRow();
    bool isDirectoryWithin(const QModelIndex& parent, int first, int last) const;

    void sourceRowsInserted(const QModelIndex& parent, int first, int last);
    void sourceRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last);
    void sourceRowsRemoved(const QModelIndex& parent, int first, int last);
    void sourceRowsMoved(const QModelIndex& parent, int first, int last,
                         const QModelIndex& destination, int row);
    void sourceLayoutChanged(const QList<QPersistentModelIndex>& parents);
    void sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                           const QVector<int>& roles);
    void sourceRootPathChanged();
    void reattach();
    void sourceDestroyed();

    QString m_dirPath;
    QPersistentModelIndex m_dirIndex;
    QString m_currentFilePath;
    int m_currentRow = -1;
    // Sorted by name; sourceRow is the file's row under m_dirIndex.
    std::vector<File> m_files;
    QCollator m_collator;
    // Set during our own resets: source changes then are read in one go at the end.
    bool m_resetting = false;
    bool m_settingCurrent = false;
    bool m_reattachPending = false;
    bool m_fetchPending = false;
    bool m_listingHeld = false;
    bool m_fetchWanted = false;
    // Set while the source's files are taken in, a slice at a time: all but the current one
    // and any that arrived since.
    bool m_fillPending = false;
    int m_fillNextRow = 0;
    std::vector<File> m_fillFiles;
    std::vector<QMetaObject::Connection> m_sourceConnections;
};
