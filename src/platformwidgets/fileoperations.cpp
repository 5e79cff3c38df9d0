#include "platformwidgets/fileoperations.h"

#include "platform/localpath.h"
#include "platform/toolcommandline.h"
#include "platform/trashinfo.h"
#include "platformwidgets/prompter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>

namespace {

// A long selection would make the question taller than the screen.
constexpr int kListedItems = 10;

bool isRealFolder(const QFileInfo& entry)
{
    return entry.isDir() && !entry.isSymLink();
}

// Qt 5 falls back to the working directory when it cannot make the home trash, which would
// scatter "files" and "info" folders wherever the tool was started; a missing data directory
// is the usual cause, so it is made first and a trash that cannot exist stops the operation.
bool prepareHomeTrash()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data))
        return false;
    return QFileInfo(data + QStringLiteral("/Trash")).isDir() || QFileInfo(data).isWritable();
}

// Qt 5 records the original path unescaped, so a file manager restores names holding "%" or
// bytes outside ASCII to the wrong place; the trash format wants it percent-encoded.
bool encodeRecordedPath(const QString& original, const QString& inTrash)
{
    const QFileInfo trashed(inTrash);
    const QString record = QDir::cleanPath(trashed.absolutePath() + QStringLiteral("/../info/")
                                           + trashed.fileName() + QStringLiteral(".trashinfo"));
    QFile in(record);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray read = in.readAll();
    in.close();
    const QByteArray text = TrashInfo::withEncodedPath(read, original);
    if (text.isEmpty())
        return false;
    if (text == read)
        return true;

    QSaveFile out(record);
    return out.open(QIODevice::WriteOnly) && out.write(text) == text.size() && out.commit();
}

QString describe(const QString& path)
{
    const QFileInfo entry(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (entry.isSymLink())
        return FileOperations::tr("%1 (link to %2)").arg(shown, entry.symLinkTarget());
    if (!entry.isDir())
        return shown;
    const int count = FileOperations::countItems(path);
    if (count == 0)
        return FileOperations::tr("%1 (empty folder)").arg(shown);
    if (count == 1)
        return FileOperations::tr("%1 (folder with 1 item)").arg(shown);
    return FileOperations::tr("%1 (folder with %2 items)").arg(shown).arg(count);
}

} // namespace

FileOperations::FileOperations(QWidget* parent)
    : m_parent(parent)
{
}

FileOperations::Outcome FileOperations::remove(const QStringList& paths)
{
    const QStringList targets = normalized(paths);
    m_failures.clear();
    if (targets.isEmpty())
        return Outcome::Done;
    const QMessageBox::StandardButton answer =
        Prompter::question(m_parent, tr("lumo-fops - Delete permanently?"),
                           confirmationText(targets), QMessageBox::Yes | QMessageBox::No,
                           QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return Outcome::Declined;

    for (const QString& path : targets) {
        const QFileInfo entry(path);
        if (!entry.exists() && !entry.isSymLink()) {
            m_failures << tr("%1: does not exist").arg(QDir::toNativeSeparators(path));
        } else if (isRealFolder(entry)) {
            if (!QDir(path).removeRecursively())
                m_failures << tr("%1: the folder could not be deleted completely")
                                  .arg(QDir::toNativeSeparators(path));
        } else {
            // Unlinks a link itself, whatever it points to.
            QFile file(path);
            if (!file.remove())
                m_failures << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        }
    }
    return finish(tr("These items could not be deleted:"));
}

FileOperations::Outcome FileOperations::moveToTrash(const QStringList& paths)
{
    const QStringList targets = normalized(paths);
    m_failures.clear();
    if (!targets.isEmpty() && !prepareHomeTrash()) {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        for (const QString& path : targets)
            m_failures << tr("%1: there is no usable trash in %2")
                              .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(data));
        return finish(tr("These items could not be moved to the trash:"));
    }

    for (const QString& path : targets) {
        const QFileInfo entry(path);
        const QString shown = QDir::toNativeSeparators(path);
        QString inTrash;
        if (!entry.exists() && !entry.isSymLink())
            m_failures << tr("%1: does not exist").arg(shown);
        else if (!entry.exists())
            m_failures << tr("%1: a link to nothing cannot be moved to the trash").arg(shown);
        else if (!QFile::moveToTrash(path, &inTrash))
            m_failures << tr("%1: could not be moved to the trash").arg(shown);
        else if (!encodeRecordedPath(path, inTrash))
            m_failures << tr("%1: moved to the trash, but its original place could not be "
                             "recorded for restoring")
                              .arg(shown);
    }
    return finish(tr("These items could not be moved to the trash:"));
}

FileOperations::Outcome FileOperations::finish(const QString& heading)
{
    if (m_failures.isEmpty())
        return Outcome::Done;
    Prompter::warning(m_parent, tr("lumo-fops - Error"),
                      heading + QStringLiteral("\n\n") + m_failures.join(QLatin1Char('\n')));
    return Outcome::Failed;
}

int FileOperations::run(const QStringList& arguments, QWidget* parent)
{
    ToolCommandLine commandLine(description());
    const QCommandLineOption removeOption(
        QStringLiteral("remove"),
        tr("Delete the files and folders permanently, after asking once."));
    const QCommandLineOption trashOption(QStringLiteral("trash"),
                                         tr("Move the files and folders to the trash."));
    commandLine.parser().addOptions({removeOption, trashOption});
    if (!commandLine.parse(arguments))
        return 2;
    if (commandLine.isSet(removeOption) == commandLine.isSet(trashOption))
        return ToolCommandLine::usageError(tr("Give exactly one of --remove and --trash."));
    const QStringList paths = commandLine.paths();
    if (paths.isEmpty())
        return ToolCommandLine::usageError(tr("No files or folders given."));

    FileOperations operations(parent);
    const Outcome outcome =
        commandLine.isSet(removeOption) ? operations.remove(paths) : operations.moveToTrash(paths);
    return outcome == Outcome::Failed ? 1 : 0;
}

QString FileOperations::description()
{
    return tr("Deletes files and folders or moves them to the trash.");
}

QString FileOperations::confirmationText(const QStringList& paths)
{
    const QString question =
        paths.size() == 1
            ? tr("Do you really want to delete this item permanently?")
            : tr("Do you really want to delete these %1 items permanently?").arg(paths.size());
    QStringList lines;
    for (const QString& path : paths.mid(0, kListedItems))
        lines << describe(path);
    if (paths.size() > kListedItems)
        lines << tr("and %1 more").arg(paths.size() - kListedItems);
    return question + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n'));
}

QStringList FileOperations::normalized(const QStringList& paths)
{
    QStringList absolute;
    for (const QString& path : paths) {
        if (path.isEmpty())
            continue;
        // Cleaning drops a trailing slash, which would otherwise make a link count as its target.
        const QString clean = absoluteLocalPath(path);
        if (!absolute.contains(clean))
            absolute << clean;
    }

    QStringList result;
    for (const QString& path : absolute) {
        const auto contains = [&path](const QString& other) {
            const QString prefix =
                other.endsWith(QLatin1Char('/')) ? other : other + QLatin1Char('/');
            return other != path && path.startsWith(prefix) && isRealFolder(QFileInfo(other));
        };
        const bool inside = std::any_of(absolute.cbegin(), absolute.cend(), contains);
        if (!inside)
            result << path;
    }
    return result;
}

int FileOperations::countItems(const QString& folder)
{
    int count = 0;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}
