#include "support/scriptedfiledialogs.h"

class ScriptedFileDialogs::ScriptedSaveDialog : public FileDialogs::SaveDialog
{
public:
    ScriptedSaveDialog(ScriptedFileDialogs* owner, int index, const SaveProposal& proposal)
        : m_owner(owner), m_index(index), m_file(proposal.selectedFile),
          m_filter(proposal.selectedFilter.isEmpty() && !proposal.filters.isEmpty()
                       ? proposal.filters.constFirst()
                       : proposal.selectedFilter)
    {
    }

    bool run(QString* file, QString* filter) override
    {
        m_owner->m_saveRuns.append({m_index, m_file, m_filter});
        if (m_owner->m_saveScript.isEmpty())
            return false;
        const SaveAnswer answer = m_owner->m_saveScript.takeFirst();
        m_file = answer.file;
        m_filter = answer.filter;
        *file = m_file;
        *filter = m_filter;
        return true;
    }

private:
    ScriptedFileDialogs* m_owner;
    int m_index;
    QString m_file;
    QString m_filter;
};

ScriptedFileDialogs::ScriptedFileDialogs()
{
    FileDialogs::install(this);
}

ScriptedFileDialogs::~ScriptedFileDialogs()
{
    FileDialogs::install(nullptr);
}

void ScriptedFileDialogs::chooseSave(const QString& file, const QString& filter)
{
    m_saveScript.append({file, filter});
}

QStringList ScriptedFileDialogs::openFileNames(QWidget*, const QString&, const QString& directory,
                                               const QString& filter)
{
    m_openCalls.append({directory, filter});
    return m_openScript.isEmpty() ? QStringList() : m_openScript.takeFirst();
}

std::unique_ptr<FileDialogs::SaveDialog>
ScriptedFileDialogs::saveDialog(QWidget*, const SaveProposal& proposal)
{
    m_saveProposals.append(proposal);
    return std::make_unique<ScriptedSaveDialog>(this, m_saveProposals.size() - 1, proposal);
}
