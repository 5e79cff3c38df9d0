#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <QStringList>

class QWidget;

// The work of the lumo-fops tool: deletes the given paths after one confirmation, or moves them
// to the freedesktop trash. Links go as links, their targets stay; whatever fails is named in
// one warning at the end.
class FileOperations
{
    Q_DECLARE_TR_FUNCTIONS(FileOperations)

public:
    enum class Outcome { Done, Declined, Failed };

    // Message boxes are centred on parent, which may be null.
    explicit FileOperations(QWidget* parent = nullptr);

    Outcome remove(const QStringList& paths);
    Outcome moveToTrash(const QStringList& paths);

    // One line per failed path, as the warning showed them.
    const QStringList& failures() const { return m_failures; }

    // The whole tool on its command line (program name first); returns the exit code:
    // 0 done or declined, 1 something failed, 2 the command line was wrong.
    static int run(const QStringList& arguments, QWidget* parent = nullptr);
    static QString description();

    // The question asked before deleting: each path named, folders with their item count.
    static QString confirmationText(const QStringList& paths);

    // Absolute and clean, each once, and without paths that lie inside another given folder:
    // deleting or trashing that folder already takes them along.
    static QStringList normalized(const QStringList& paths);

    // Everything below a folder, at any depth, links not followed.
    static int countItems(const QString& folder);

private:
    Outcome finish(const QString& heading);

    QPointer<QWidget> m_parent;
    QStringList m_failures;
};
