#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

// The one way the program asks the user for files to open or a name to save under.
// Tests install their own to choose files and filters and to record what was proposed.
class FileDialogs
{
public:
    // What a save dialog shows when it first opens.
    struct SaveProposal
    {
        QString caption;
        QString directory;
        QStringList filters;
        QString selectedFilter; // empty: the first filter stays selected
        QString selectedFile;
    };

    // One save dialog that may be shown several times; between runs it keeps what the user
    // left in it (folder, typed name, filter).
    class SaveDialog
    {
    public:
        virtual ~SaveDialog();
        // False when cancelled or nothing was chosen; otherwise the first chosen file and the
        // selected filter.
        virtual bool run(QString* file, QString* filter) = 0;
    };

    virtual ~FileDialogs();

    // The files chosen, in the order the dialog returns them; empty when cancelled.
    virtual QStringList openFileNames(QWidget* parent, const QString& caption,
                                      const QString& directory, const QString& filter) = 0;
    // A save dialog that asks before it lets the user pick an existing file.
    virtual std::unique_ptr<SaveDialog> saveDialog(QWidget* parent,
                                                   const SaveProposal& proposal) = 0;

    // The installed dialogs, or the ones the user sees.
    static FileDialogs* current();
    // Not owned; nullptr goes back to the real dialogs.
    static void install(FileDialogs* dialogs);
};
