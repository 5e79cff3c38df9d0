#include "view/spicview.h"

#include "document/imageformats.h"
#include "document/picture.h"
#include "document/picturemetadata.h"
#include "platform/prompter.h"
#include "view/picturesettings.h"
#include "view/spic.h"

#include <QCloseEvent>
#include <QFileInfo>

namespace {

bool samePicture(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty())
        return ca == cb;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

bool SPicView::writeFile(const QString& path, const QString& format)
{
    // Read before writing: a save over the source replaces the file the metadata comes from.
    QString metadataError;
    const PictureMetadata metadata = m_picture->isUnsavedNew() || isBroken()
                                         ? PictureMetadata()
                                         : PictureMetadata::read(filePath(), &metadataError);
    QString error;
    // The format is stored only once written, so a failed write does not change what a later
    // Save uses.
    if (!m_picture->write(path, format, PictureSettings::writeQuality(format), &error, metadata,
                          &metadataError)) {
        Prompter::warning(this, tr("lumo-image - Write error"),
                          tr("The image could not be saved as %1:\n%2").arg(path, error));
        return false;
    }
    if (!metadataError.isEmpty())
        emit message(tr("Save: The picture was written without its metadata (%1).")
                         .arg(metadataError),
                     3000);
    return true;
}

bool SPicView::write(const QString& path, const QString& format)
{
    // A picture made in memory has no file to save to; the caller asks for one instead.
    if (path.isEmpty())
        return false;
    const QString ownPath = filePath();
    const bool ownFile =
        !m_picture->isUnsavedNew() && !ownPath.isEmpty() && samePicture(ownPath, path);
    if (!writeFile(path, format))
        return false;
    if (ownFile) {
        // Re-read in place: the list the picture belongs to stays as the user made it.
        loadFile(ownPath);
        return true;
    }
    openFile(path);
    return true;
}

bool SPicView::save()
{
    return write(filePath(), m_picture->format());
}

bool SPicView::confirmClose()
{
    const bool ran = slideshowRunning();
    if (ran)
        stopSlideshow();
    bool answer = true;
    bool resume = ran;
    m_closeCancelled = false;
    if (m_picture->isModified()) {
        const QString format = m_picture->format();
        const QString path = filePath();
        if (!format.isEmpty() && !path.isEmpty() && ImageFormats::instance()->canWrite(format)) {
            const QMessageBox::StandardButton choice = Prompter::information(
                this, tr("lumo-image - Save changes?"),
                tr("The current image has unsaved changes that will be lost after closing.\n"
                   "Do you want to save changes?\nFile will be saved with name %1")
                    .arg(fileName()),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            if (choice == QMessageBox::Yes) {
                // The view moves on or closes next, so the file is not read back.
                if (writeFile(path, format)) {
                    m_picture->setModified(false);
                } else {
                    answer = false;
                    resume = false;
                }
            } else if (choice == QMessageBox::Cancel) {
                answer = false;
                resume = false;
                m_closeCancelled = true;
            } else if (choice != QMessageBox::No) {
                answer = false;
            }
        } else {
            const QMessageBox::StandardButton choice = Prompter::information(
                this, tr("lumo-image - Close image?"),
                tr("The current image has unsaved changes that will be lost after closing.\n"
                   "Do you still want to close it?"),
                QMessageBox::Yes | QMessageBox::No);
            answer = choice != QMessageBox::No;
        }
    }
    if (resume)
        startSlideshow();
    return answer;
}

void SPicView::closeEvent(QCloseEvent* event)
{
    if (!confirmClose()) {
        event->ignore();
        return;
    }
    if (m_fullScreenMode)
        emit fullScreenPicClosed();
    emit picClosed(this);
    event->accept();
}
