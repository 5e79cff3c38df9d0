#include "view/directoryproxymodel.h"

#include "document/filenameorder.h"
#include "document/imageformats.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHash>

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

QString cleanPath(const QString& path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

DirectoryProxyModel::DirectoryProxyModel(QFileSystemModel* source, const QString& directoryPath,
                                         QObject* parent)
    : QAbstractProxyModel(parent)
    , m_dirPath(cleanPath(directoryPath))
    , m_collator(filenameorder::collator())
{
    setSourceModel(source);
}

DirectoryProxyModel::~DirectoryProxyModel() = default;

QFileSystemModel* DirectoryProxyModel::fileSystemModel() const
{
    return qobject_cast<QFileSystemModel*>(sourceModel());
}

void DirectoryProxyModel::setSourceModel(QAbstractItemModel* model)
{
    beginResetModel();
    m_resetting = true;
    for (const QMetaObject::Connection& connection : m_sourceConnections)
        disconnect(connection);
    m_sourceConnections.clear();
    QAbstractProxyModel::setSourceModel(model);
    m_files.clear();
    m_dirIndex = QPersistentModelIndex();
    if (QFileSystemModel* fs = fileSystemModel()) {
        using Self = DirectoryProxyModel;
        m_sourceConnections = {
            connect(fs, &QAbstractItemModel::rowsInserted, this, &Self::sourceRowsInserted),
            connect(fs, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                    &Self::sourceRowsAboutToBeRemoved),
            connect(fs, &QAbstractItemModel::rowsRemoved, this, &Self::sourceRowsRemoved),
            connect(fs, &QAbstractItemModel::rowsMoved, this, &Self::sourceRowsMoved),
            connect(fs, &QAbstractItemModel::layoutChanged, this, &Self::sourceLayoutChanged),
            connect(fs, &QAbstractItemModel::modelReset, this, &Self::refresh),
            connect(fs, &QAbstractItemModel::dataChanged, this, &Self::sourceDataChanged),
            connect(fs, &QFileSystemModel::rootPathChanged, this, &Self::sourceRootPathChanged),
            connect(fs, &QObject::destroyed, this, &Self::sourceDestroyed),
        };
        readDirectoryLater();
    }
    m_resetting = false;
    endResetModel();
    updateCurrentRow();
}

void DirectoryProxyModel::setDirectoryFile(const QString& directoryPath, const QString& filePath)
{
    const QString dir = cleanPath(directoryPath);
    if (dir == m_dirPath && m_dirIndex.isValid()) {
        // Same list: keep it, so views keep what they made from it.
        if (!filePath.isEmpty())
            setCurrentFile(filePath);
        readDirectory();
        if (!remapSourceRows())
            refresh();
        updateCurrentRow();
        return;
    }
    beginResetModel();
    m_resetting = true;
    m_dirPath = dir;
    m_dirIndex = QPersistentModelIndex();
    m_files.clear();
    if (fileSystemModel())
        readDirectoryLater();
    m_resetting = false;
    endResetModel();
    if (filePath.isEmpty())
        updateCurrentRow();
    else
        setCurrentFile(filePath);
}

void DirectoryProxyModel::setCurrentFile(const QString& filePath)
{
    m_currentFilePath = cleanPath(filePath);
    // Asking the source for the file lists it at once, before its directory has been read.
    // The caller reads the row that results; it is no news to announce.
    if (QFileSystemModel* fs = fileSystemModel(); fs && !m_currentFilePath.isEmpty()) {
        m_settingCurrent = true;
        const QModelIndex file = fs->index(m_currentFilePath);
        // Listed at once: until the rest of the folder is taken in, the current file is listed
        // on its own, and a name without an image suffix is listed only while current.
        if (file.isValid() && file.parent() == m_dirIndex && findRow(fs->fileName(file)) < 0)
            insertFiles(sourceFiles(file.row(), file.row()));
        m_settingCurrent = false;
    }
    m_currentRow = findRow(currentName());
}

void DirectoryProxyModel::refresh()
{
    beginResetModel();
    m_resetting = true;
    QFileSystemModel* fs = fileSystemModel();
    if (fs && !m_dirIndex.isValid() && !m_dirPath.isEmpty())
        m_dirIndex = fs->index(m_dirPath);
    rebuild();
    m_resetting = false;
    endResetModel();
    updateCurrentRow();
}

void DirectoryProxyModel::readDirectory()
{
    QFileSystemModel* fs = fileSystemModel();
    if (m_dirPath.isEmpty() || !QFileInfo(m_dirPath).isDir()) {
        m_dirIndex = QPersistentModelIndex();
        return;
    }
    // Finding the directory lists the rows of its parents for every view; its own files come
    // from fetchDirectory. Moving the source's root there and back instead would make the
    // source sort everything under its root twice, stop watching the directory and read it
    // anew.
    m_dirIndex = fs->index(m_dirPath);
    scheduleFetch();
}

// A new directory's files are taken in from the event loop, also when the source has them
// already: sorting tens of thousands of names would hold up the picture.
void DirectoryProxyModel::readDirectoryLater()
{
    readDirectory();
    stopFill();
    m_fillPending = m_dirIndex.isValid();
}

void DirectoryProxyModel::scheduleFetch()
{
    // Posted below the priority of repaints: a picture opened in a big folder is painted
    // before the folder is listed or taken in, which keeps the GUI thread busy.
    if (m_fetchPending)
        return;
    m_fetchPending = true;
    QCoreApplication::postEvent(this, new QEvent(fetchEventType()), Qt::LowEventPriority - 1);
}

void DirectoryProxyModel::setListingHeld(bool held)
{
    m_listingHeld = held;
    if (!held && std::exchange(m_fetchWanted, false))
        scheduleFetch();
}

QEvent::Type DirectoryProxyModel::fetchEventType()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

bool DirectoryProxyModel::event(QEvent* event)
{
    if (event->type() != fetchEventType())
        return QAbstractProxyModel::event(event);
    fetchDirectory();
    return true;
}

void DirectoryProxyModel::fetchDirectory()
{
    m_fetchPending = false;
    if (m_listingHeld) {
        m_fetchWanted = true;
        return;
    }
    fetchSource();
    fillFromSource();
}

void DirectoryProxyModel::fetchSource()
{
    QFileSystemModel* fs = fileSystemModel();
    if (!fs || !m_dirIndex.isValid())
        return;
    // The source fetches nothing before a root path has been set; setting the one it has
    // changes nothing else and tells no view.
    fs->setRootPath(fs->rootPath());
    // Reading a directory also makes the source watch it.
    if (fs->canFetchMore(m_dirIndex))
        fs->fetchMore(m_dirIndex);
}

void DirectoryProxyModel::fillFromSource()
{
    if (!m_fillPending)
        return;
    const QFileSystemModel* fs = fileSystemModel();
    if (!fs || !m_dirIndex.isValid()) {
        stopFill();
        return;
    }
    // A slice of rows a turn of the event loop, so that a window shown meanwhile is painted
    // and input is handled while a big folder is taken in.
    constexpr int sliceRows = 4096;
    const int rows = fs->rowCount(m_dirIndex);
    const int end = std::min(rows, m_fillNextRow + sliceRows);
    std::vector<File> slice = sourceFiles(m_fillNextRow, end - 1);
    m_fillFiles.insert(m_fillFiles.end(), std::make_move_iterator(slice.begin()),
                       std::make_move_iterator(slice.end()));
    m_fillNextRow = end;
    if (end < rows) {
        scheduleFetch();
        return;
    }
    std::vector<bool> listed(std::size_t(rows), false);
    for (const File& file : m_files) {
        if (file.sourceRow < rows)
            listed[std::size_t(file.sourceRow)] = true;
    }
    std::vector<File> missing = std::move(m_fillFiles);
    stopFill();
    missing.erase(std::remove_if(missing.begin(), missing.end(),
                                 [&listed](const File& file) {
                                     return listed[std::size_t(file.sourceRow)];
                                 }),
                  missing.end());
    insertFiles(std::move(missing));
    updateCurrentRow();
}

void DirectoryProxyModel::restartFill()
{
    // Rows read so far may have moved.
    m_fillFiles.clear();
    m_fillNextRow = 0;
}

void DirectoryProxyModel::stopFill()
{
    m_fillPending = false;
    restartFill();
}

std::vector<DirectoryProxyModel::File> DirectoryProxyModel::sourceFiles(int first, int last) const
{
    std::vector<File> files;
    const QFileSystemModel* fs = fileSystemModel();
    if (!fs || !m_dirIndex.isValid())
        return files;
    files.reserve(std::max(0, last - first + 1));
    const ImageFormats* formats = ImageFormats::instance();
    // The file a picture shows is listed whatever its name: the image library reads by content.
    const QString current = currentName();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = fs->index(row, 0, m_dirIndex);
        if (!index.isValid() || fs->isDir(index))
            continue;
        QString name = fs->fileName(index);
        if (formats->hasReadableSuffix(name) || name == current)
            files.push_back({std::move(name), row});
    }
    return files;
}

void DirectoryProxyModel::rebuild()
{
    stopFill();
    const QFileSystemModel* fs = fileSystemModel();
    m_files = sourceFiles(0, fs && m_dirIndex.isValid() ? fs->rowCount(m_dirIndex) - 1 : -1);
    sortByName(m_files);
}

void DirectoryProxyModel::sortByName(std::vector<File>& files) const
{
    if (files.size() < 2)
        return;
    // Where keys would give another order than searching and the browser use, names are
    // compared directly; that is cheap in the C locale.
    if (!filenameorder::sortKeysAgree(m_collator)) {
        std::sort(files.begin(), files.end(), [this](const File& left, const File& right) {
            return lessThan(left.name, right.name);
        });
        return;
    }
    // Elsewhere sort keys are made once a name; comparing names with the collator costs several
    // times as much, and a big folder takes hundreds of thousands of comparisons.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(files.size());
    for (const File& file : files)
        keys.push_back(m_collator.sortKey(file.name));
    std::vector<std::size_t> order(files.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(), [&](std::size_t left, std::size_t right) {
        const int compared = keys[left].compare(keys[right]);
        return compared != 0 ? compared < 0 : files[left].name < files[right].name;
    });
    std::vector<File> sorted;
    sorted.reserve(files.size());
    for (const std::size_t index : order)
        sorted.push_back(std::move(files[index]));
    files.swap(sorted);
}

bool DirectoryProxyModel::remapSourceRows()
{
    const QFileSystemModel* fs = fileSystemModel();
    if (!fs || !m_dirIndex.isValid())
        return m_files.empty();
    const std::vector<File> files = sourceFiles(0, fs->rowCount(m_dirIndex) - 1);
    // While the folder is taken in, the source has more files than the list.
    if (m_fillPending ? files.size() < m_files.size() : files.size() != m_files.size())
        return false;
    QHash<QString, int> rowOfName;
    rowOfName.reserve(int(files.size()));
    for (const File& file : files)
        rowOfName.insert(file.name, file.sourceRow);
    for (File& file : m_files) {
        const auto found = rowOfName.constFind(file.name);
        if (found == rowOfName.constEnd())
            return false;
        file.sourceRow = found.value();
    }
    return true;
}

void DirectoryProxyModel::insertFiles(std::vector<File> added)
{
    sortByName(added);
    // Files that fall between the same two listed files go in as one block of rows.
    auto next = added.begin();
    while (next != added.end()) {
        const int gap = lowerBound(next->name);
        auto end = next + 1;
        while (end != added.end()
               && (gap == int(m_files.size()) || lessThan(end->name, m_files[gap].name)))
            ++end;
        beginInsertRows(QModelIndex(), gap, gap + int(end - next) - 1);
        m_files.insert(m_files.begin() + gap, next, end);
        endInsertRows();
        next = end;
    }
}

bool DirectoryProxyModel::lessThan(const QString& left, const QString& right) const
{
    return filenameorder::lessThan(m_collator, left, right);
}

int DirectoryProxyModel::lowerBound(const QString& name) const
{
    const auto found = std::lower_bound(
        m_files.begin(), m_files.end(), name,
        [this](const File& file, const QString& key) { return lessThan(file.name, key); });
    return int(found - m_files.begin());
}

int DirectoryProxyModel::findRow(const QString& name) const
{
    if (name.isEmpty())
        return -1;
    const int row = lowerBound(name);
    return row < int(m_files.size()) && m_files[row].name == name ? row : -1;
}

int DirectoryProxyModel::proxyRowOfSource(int sourceRow) const
{
    const QFileSystemModel* fs = fileSystemModel();
    const int row = findRow(fs->fileName(fs->index(sourceRow, 0, m_dirIndex)));
    return row >= 0 && m_files[row].sourceRow == sourceRow ? row : -1;
}

QString DirectoryProxyModel::currentName() const
{
    if (m_currentFilePath.isEmpty())
        return QString();
    const QFileInfo info(m_currentFilePath);
    return info.path() == m_dirPath ? info.fileName() : QString();
}

void DirectoryProxyModel::updateCurrentRow()
{
    const int row = findRow(currentName());
    if (row != m_currentRow && !m_settingCurrent) {
        m_currentRow = row;
        emit currentFileIndexChanged(row);
    }
}

bool DirectoryProxyModel::isDirectoryWithin(const QModelIndex& parent, int first, int last) const
{
    for (QModelIndex index = m_dirIndex; index.isValid(); index = index.parent()) {
        if (index.parent() == parent && index.row() >= first && index.row() <= last)
            return true;
    }
    return false;
}

QModelIndex DirectoryProxyModel::index(int row, int column, const QModelIndex& parent) const
{
    return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
}

QModelIndex DirectoryProxyModel::parent(const QModelIndex& /*child*/) const
{
    return QModelIndex();
}

int DirectoryProxyModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_files.size());
}

int DirectoryProxyModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

bool DirectoryProxyModel::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_files.empty();
}

bool DirectoryProxyModel::canFetchMore(const QModelIndex& parent) const
{
    const QFileSystemModel* fs = fileSystemModel();
    return !parent.isValid() && fs && m_dirIndex.isValid() && fs->canFetchMore(m_dirIndex);
}

void DirectoryProxyModel::fetchMore(const QModelIndex& parent)
{
    // Only the source's listing: views ask for more while a new directory is being set up,
    // before its current file is known.
    if (!canFetchMore(parent))
        return;
    if (m_listingHeld)
        m_fetchWanted = true;
    else
        fetchSource();
}

QModelIndex DirectoryProxyModel::mapToSource(const QModelIndex& proxyIndex) const
{
    const QFileSystemModel* fs = fileSystemModel();
    if (!fs || !proxyIndex.isValid() || proxyIndex.model() != this
        || proxyIndex.row() >= int(m_files.size()) || !m_dirIndex.isValid())
        return QModelIndex();
    return fs->index(m_files[proxyIndex.row()].sourceRow, 0, m_dirIndex);
}

QModelIndex DirectoryProxyModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.model() != sourceModel() || !m_dirIndex.isValid()
        || sourceIndex.column() != 0 || sourceIndex.parent() != m_dirIndex)
        return QModelIndex();
    const int row = proxyRowOfSource(sourceIndex.row());
    return row >= 0 ? createIndex(row, 0) : QModelIndex();
}

void DirectoryProxyModel::sourceRowsInserted(const QModelIndex& parent, int first, int last)
{
    if (m_resetting || !m_dirIndex.isValid() || parent != m_dirIndex)
        return;
    const int count = last - first + 1;
    for (File& file : m_files) {
        if (file.sourceRow >= first)
            file.sourceRow += count;
    }
    restartFill();
    insertFiles(sourceFiles(first, last));
    updateCurrentRow();
}

void DirectoryProxyModel::sourceRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    if (m_resetting || !m_dirIndex.isValid())
        return;
    if (parent != m_dirIndex) {
        if (isDirectoryWithin(parent, first, last)) {
            beginResetModel();
            m_files.clear();
            m_dirIndex = QPersistentModelIndex();
            endResetModel();
            // A listing of a parent taken before the directory was made drops it from the
            // source although it is still there; it is looked up again once the source has
            // finished removing.
            if (!m_reattachPending) {
                m_reattachPending = true;
                QMetaObject::invokeMethod(this, &DirectoryProxyModel::reattach,
                                          Qt::QueuedConnection);
            }
        }
        return;
    }
    restartFill();
    // Removed while the source still has the rows, so every step reads consistent data.
    const auto going = [first, last](const File& file) {
        return file.sourceRow >= first && file.sourceRow <= last;
    };
    int row = int(m_files.size()) - 1;
    while (row >= 0) {
        if (!going(m_files[row])) {
            --row;
            continue;
        }
        int top = row;
        while (top > 0 && going(m_files[top - 1]))
            --top;
        beginRemoveRows(QModelIndex(), top, row);
        m_files.erase(m_files.begin() + top, m_files.begin() + row + 1);
        endRemoveRows();
        row = top - 1;
    }
}

void DirectoryProxyModel::sourceRowsRemoved(const QModelIndex& parent, int first, int last)
{
    if (m_resetting)
        return;
    if (m_dirIndex.isValid() && parent == m_dirIndex) {
        const int count = last - first + 1;
        for (File& file : m_files) {
            if (file.sourceRow > last)
                file.sourceRow -= count;
        }
    }
    updateCurrentRow();
}

void DirectoryProxyModel::sourceRowsMoved(const QModelIndex& parent, int /*first*/, int /*last*/,
                                          const QModelIndex& destination, int /*row*/)
{
    if (!m_resetting && m_dirIndex.isValid() && (parent == m_dirIndex || destination == m_dirIndex))
        refresh();
}

void DirectoryProxyModel::sourceLayoutChanged(const QList<QPersistentModelIndex>& parents)
{
    if (m_resetting || !m_dirIndex.isValid()
        || (!parents.isEmpty() && !parents.contains(m_dirIndex)))
        return;
    // The source sorts its rows now and then; only the row numbers change for us, unless
    // files came or went unnoticed.
    restartFill();
    if (!remapSourceRows())
        refresh();
}

void DirectoryProxyModel::sourceDataChanged(const QModelIndex& topLeft,
                                            const QModelIndex& bottomRight,
                                            const QVector<int>& roles)
{
    if (m_resetting || !m_dirIndex.isValid() || topLeft.parent() != m_dirIndex
        || topLeft.column() > 0)
        return;
    int top = int(m_files.size());
    int bottom = -1;
    for (int sourceRow = topLeft.row(); sourceRow <= bottomRight.row(); ++sourceRow) {
        const int row = proxyRowOfSource(sourceRow);
        if (row >= 0) {
            top = std::min(top, row);
            bottom = std::max(bottom, row);
        }
    }
    if (bottom >= 0)
        emit dataChanged(index(top, 0), index(bottom, 0), roles);
}

void DirectoryProxyModel::sourceRootPathChanged()
{
    // Moving the root away from a directory makes the source stop watching it.
    QFileSystemModel* fs = fileSystemModel();
    if (fs && m_dirIndex.isValid() && fs->canFetchMore(m_dirIndex))
        scheduleFetch();
}

void DirectoryProxyModel::reattach()
{
    m_reattachPending = false;
    if (m_dirIndex.isValid() || !fileSystemModel() || !QFileInfo(m_dirPath).isDir())
        return;
    beginResetModel();
    m_resetting = true;
    readDirectory();
    rebuild();
    m_resetting = false;
    endResetModel();
    updateCurrentRow();
}

void DirectoryProxyModel::sourceDestroyed()
{
    beginResetModel();
    m_files.clear();
    m_dirIndex = QPersistentModelIndex();
    endResetModel();
    updateCurrentRow();
}
