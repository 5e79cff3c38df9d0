#include "imagewindow/savecommands.h"

#include "document/imageformats.h"
#include "document/picturewriter.h"
#include "imagewindow/saveasdecision.h"
#include "platformwidgets/filedialogs.h"
#include "platformwidgets/prompter.h"
#include "settings/settings.h"
#include "view/picturesettings.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>

namespace {

// Lossy formats, where the quality decides what the file keeps of the picture.
bool showsQuality(const QString& format)
{
    static const QStringList lossy{QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                   QStringLiteral("webp")};
    return lossy.contains(format, Qt::CaseInsensitive);
}

} // namespace

QString SaveCommands::qualityMessage(const SPicView* view, const QString& format)
{
    if (!showsQuality(format))
        return QString();
    const int quality = PictureWriter::effectiveQuality(
        format, PictureSettings::writeQuality(format, view->isUnsavedNew() ? QString()
                                                                            : view->filePath()));
    return tr("Saving as %1 at quality %2.").arg(format.toUpper()).arg(quality);
}

bool SaveCommands::save(SPicView* view, QWidget* parent)
{
    if (!view || !view->isModified())
        return false;
    const QString path = view->filePath();
    if (path.isEmpty())
        return saveAs(view, parent);
    const QString format = view->pic()->format();
    if (!ImageFormats::instance()->canWrite(format)) {
        // Said once, before anything else, with the way out.
        using Box = QMessageBox;
        if (Prompter::information(parent, tr("lumo-image - Save"),
                                  tr("Pictures cannot be written in the %1 format.\n"
                                     "Do you want to save it in another format?")
                                      .arg(format.toUpper()),
                                  Box::Save | Box::Cancel, Box::Save,
                                  {{Box::Save, tr("Save &as...")}})
            != Box::Save)
            return false;
        return saveAs(view, parent);
    }
    return view->write(path, format);
}

bool SaveCommands::saveAs(SPicView* view, QWidget* parent)
{
    if (!view)
        return false;
    const ImageFormats& formats = *ImageFormats::instance();
    const SaveAsDecision::Proposal proposal = SaveAsDecision::propose(
        view->filePath(), formats,
        {Settings::instance()->general()->lastDir(),
         QStandardPaths::writableLocation(QStandardPaths::PicturesLocation), QDir::homePath()});
    const std::unique_ptr<FileDialogs::SaveDialog> dialog = FileDialogs::current()->saveDialog(
        parent, {tr("Save file as"), proposal.directory, formats.writeFilters(), proposal.filter,
                 proposal.file});
    // The picture may be closed while the dialog waits for the user.
    const QPointer<SPicView> picture(view);
    QString file;
    QString filter;
    while (dialog->run(&file, &filter) && picture) {
        const SaveAsDecision decision(file, filter, formats);
        if (decision.outcome() == SaveAsDecision::Outcome::WrongSuffix) {
            Prompter::warning(parent, tr("lumo-image - Wrong file suffix"),
                              tr("Images cannot be saved with the file suffix \"%1\".\n"
                                 "Please select image format from list.")
                                  .arg(decision.suffix()));
            continue;
        }
        if (decision.suffixAdded() && QFileInfo::exists(decision.path()) &&
            Prompter::warning(parent, tr("lumo-image - Replace file?"),
                              tr("%1 already exists.\nDo you want to replace it?")
                                  .arg(QFileInfo(decision.path()).fileName()),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes)
            continue;
        if (!picture)
            return false;
        // Said before the write, so that a message about the write itself comes after it.
        const QString message = qualityMessage(picture, decision.format());
        if (!message.isEmpty())
            emit picture->message(message, 5000);
        if (picture->write(decision.path(), decision.format()))
            return true;
        // Nothing was saved at that quality after all.
        if (picture && !message.isEmpty())
            emit picture->message(QString(), 0);
        return false;
    }
    return false;
}
