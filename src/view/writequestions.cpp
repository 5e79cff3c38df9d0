#include "view/writequestions.h"

#include "document/imageformats.h"
#include "document/picture.h"
#include "document/picturemetadata.h"
#include "platformwidgets/prompter.h"
#include "platform/writtenfiles.h"
#include "view/picturesettings.h"

#include <QFileInfo>

WriteQuestions::WriteQuestions(Picture* picture, QWidget* dialogParent)
    : QObject(dialogParent)
    , m_picture(picture)
    , m_dialogParent(dialogParent)
{
}

bool WriteQuestions::samePicture(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty())
        return ca == cb;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

bool WriteQuestions::writeFile(const QString& path, const QString& format, const QString& sourcePath)
{
    // Read before writing: a save over the source replaces the file the metadata comes from.
    QString metadataError;
    const PictureMetadata metadata = m_picture->isUnsavedNew() || m_picture->isBroken()
                                         ? PictureMetadata()
                                         : PictureMetadata::read(sourcePath, &metadataError);
    const int quality = PictureSettings::writeQuality(
        format, m_picture->isUnsavedNew() ? QString() : sourcePath);
    // Told only where the write can happen, and once a picture: the user may still go back.
    if (m_picture->isAnimated() && !m_picture->frameLossTold()
        && ImageFormats::instance()->canWrite(format)) {
        if (Prompter::information(m_dialogParent, tr("lumo-image - Save animation"),
                                  tr("Only the frame shown is saved; the animation is lost."),
                                  QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok,
                                  {{QMessageBox::Ok, tr("&Save the frame")}})
            == QMessageBox::Cancel)
            return false;
        m_picture->setFrameLossTold();
    }
    QString error;
    // The format is stored only once written, so a failed write does not change what a later
    // Save uses.
    if (!m_picture->write(path, format, quality, &error, metadata, &metadataError)) {
        Prompter::warning(m_dialogParent, tr("lumo-image - Write error"),
                          tr("The image could not be saved as %1:\n%2").arg(path, error));
        return false;
    }
    WrittenFiles::instance()->announce(path);
    if (!metadataError.isEmpty())
        emit message(
            tr("Save: The picture was written without its metadata (%1).").arg(metadataError),
            3000);
    return true;
}

WriteQuestions::LeaveAnswer WriteQuestions::askBeforeLeaving(const QString& path, const QString& name)
{
    switch (askAboutChanges(path, name)) {
    case Choice::Save:
        // The view moves on or closes next, so the file is not read back.
        return saveChanges(path) ? LeaveAnswer::Leave : LeaveAnswer::WriteFailed;
    case Choice::Discard:
        return LeaveAnswer::Leave;
    case Choice::Keep:
        return LeaveAnswer::Stay;
    case Choice::Cancel:
        break;
    }
    return LeaveAnswer::Cancelled;
}

WriteQuestions::Choice WriteQuestions::askAboutChanges(const QString& path, const QString& name) const
{
    using Box = QMessageBox;
    const QString format = m_picture->format();
    if (format.isEmpty() || path.isEmpty() || !ImageFormats::instance()->canWrite(format)) {
        const Box::StandardButton choice = Prompter::information(
            m_dialogParent, tr("lumo-image - Close image?"),
            tr("The current image has unsaved changes that will be lost after closing.\n"
               "Do you still want to close it?"),
            Box::Discard | Box::No, Box::No,
            {{Box::Discard, tr("&Discard")}, {Box::No, tr("&Keep open")}});
        return choice == Box::Discard ? Choice::Discard : Choice::Keep;
    }
    const Box::StandardButton choice = Prompter::information(
        m_dialogParent, tr("lumo-image - Save changes?"),
        tr("The current image has unsaved changes that will be lost after closing.\n"
           "Do you want to save changes?\nFile will be saved with name %1")
            .arg(name),
        Box::Save | Box::Discard | Box::Cancel, Box::Save,
        {{Box::Save, tr("&Save")}, {Box::Discard, tr("&Discard")}});
    switch (choice) {
    case Box::Save:
        return Choice::Save;
    case Box::Discard:
        return Choice::Discard;
    case Box::Cancel:
        return Choice::Cancel;
    default:
        return Choice::Keep;
    }
}

bool WriteQuestions::saveChanges(const QString& path)
{
    if (!writeFile(path, m_picture->format(), path))
        return false;
    m_picture->setModified(false);
    return true;
}
