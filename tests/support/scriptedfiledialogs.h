#pragma once

#include "platformwidgets/filedialogs.h"

#include <QList>

// Answers file dialogs from a script (first in, first out) and records what each one showed.
// A save dialog shows its proposal on the first run and what the user left in it afterwards, as
// the real one does. Installs itself for its lifetime; an empty script cancels.
class ScriptedFileDialogs : public FileDialogs
{
public:
    struct OpenCall
    {
        QString directory;
        QString filter;
    };
    // The file and filter a save dialog showed when it was run.
    struct SaveRun
    {
        int dialog; // which dialog, counted from 0
        QString file;
        QString filter;
    };

    ScriptedFileDialogs();
    ~ScriptedFileDialogs() override;

    void chooseFiles(const QStringList& files) { m_openScript.append(files); }
    void chooseSave(const QString& file, const QString& filter);

    const QList<OpenCall>& openCalls() const { return m_openCalls; }
    const QList<SaveProposal>& saveProposals() const { return m_saveProposals; }
    const QList<SaveRun>& saveRuns() const { return m_saveRuns; }

    QStringList openFileNames(QWidget* parent, const QString& caption, const QString& directory,
                              const QString& filter) override;
    std::unique_ptr<SaveDialog> saveDialog(QWidget* parent, const SaveProposal& proposal) override;

private:
    class ScriptedSaveDialog;
    struct SaveAnswer
    {
        QString file;
        QString filter;
    };

    QList<QStringList> m_openScript;
    QList<SaveAnswer> m_saveScript;
    QList<OpenCall> m_openCalls;
    QList<SaveProposal> m_saveProposals;
    QList<SaveRun> m_saveRuns;
};
