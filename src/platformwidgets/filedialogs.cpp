#include "platformwidgets/filedialogs.h"

#include "platformwidgets/lumofiledialog.h"

#include <QPointer>

namespace {

class RealSaveDialog : public FileDialogs::SaveDialog
{
public:
    RealSaveDialog(QWidget* parent, const FileDialogs::SaveProposal& proposal)
        : m_dialog(new LumoFileDialog(parent, proposal.caption, proposal.directory, QString()))
    {
        m_dialog->setAcceptMode(QFileDialog::AcceptSave);
        m_dialog->setNameFilters(proposal.filters);
        m_dialog->setFileMode(QFileDialog::AnyFile);
        m_dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
        if (!proposal.selectedFilter.isEmpty())
            m_dialog->selectNameFilter(proposal.selectedFilter);
        if (!proposal.selectedFile.isEmpty())
            m_dialog->selectFile(proposal.selectedFile);
    }

    ~RealSaveDialog() override
    {
        // The parent may have taken the dialog with it while it ran.
        if (m_dialog)
            m_dialog->deleteLater();
    }

    bool run(QString* file, QString* filter) override
    {
        if (!m_dialog || m_dialog->exec() != QDialog::Accepted || !m_dialog ||
            m_dialog->selectedFiles().isEmpty())
            return false;
        *file = m_dialog->selectedFiles().constFirst();
        *filter = m_dialog->selectedNameFilter();
        return true;
    }

private:
    QPointer<LumoFileDialog> m_dialog;
};

class RealFileDialogs : public FileDialogs
{
public:
    QStringList openFileNames(QWidget* parent, const QString& caption, const QString& directory,
                              const QString& filter) override
    {
        return QFileDialog::getOpenFileNames(parent, caption, directory, filter);
    }

    std::unique_ptr<SaveDialog> saveDialog(QWidget* parent, const SaveProposal& proposal) override
    {
        return std::make_unique<RealSaveDialog>(parent, proposal);
    }
};

FileDialogs* g_installed = nullptr;

} // namespace

FileDialogs::SaveDialog::~SaveDialog() = default;

FileDialogs::~FileDialogs() = default;

FileDialogs* FileDialogs::current()
{
    static RealFileDialogs real;
    return g_installed ? g_installed : &real;
}

void FileDialogs::install(FileDialogs* dialogs)
{
    g_installed = dialogs;
}
