#include "view/pictureopener.h"

#include "document/edithistory.h"
#include "document/filecursor.h"
#include "document/filelistmodel.h"
#include "document/newfilemodel.h"
#include "document/picture.h"
#include "document/picturestatus.h"
#include "platform/lumofm/vfs.h"
#include "view/directoryproxymodel.h"
#include "view/picturesaver.h"
#include "view/picturesettings.h"
#include "view/placeholderimage.h"
#include "view/sharedfilesystemmodel.h"
#include "view/smark.h"
#include "view/spic.h"
#include "view/spicview.h"
#include "view/waitcursor.h"

#include <QScrollBar>

PictureOpener::PictureOpener(SPicView* view, Picture* picture, FileCursor* cursor,
                             EditHistory* history)
    : QObject(view)
    , m_view(view)
    , m_picture(picture)
    , m_cursor(cursor)
    , m_history(history)
{
}

bool PictureOpener::openFile(const QString& path)
{
    m_picture->setModified(false);
    m_picture->setUnsavedNew(false);
    const LumoFM::VFS* vfs = LumoFM::VFS::ptr();
    const LumoFM::Entry entry = vfs->entry(path);
    const QString file = entry.localPath();
    const QString directory = vfs->parent(entry).localPath();

    auto* model = qobject_cast<DirectoryProxyModel*>(m_cursor->model());
    if (model) {
        model->setDirectoryFile(directory, file);
    } else {
        model = new DirectoryProxyModel(sharedFileSystemModel(), directory, m_view);
        model->setCurrentFile(file);
        connect(model, &DirectoryProxyModel::currentFileIndexChanged, m_view,
                &SPicView::updateCurrentImageIndex);
        replaceFileModel(model);
    }
    m_cursor->setCurrentRow(model->currentRow());
    return loadFile(file);
}

bool PictureOpener::openList(const QStringList& files)
{
    m_picture->setModified(false);
    m_picture->setUnsavedNew(false);
    replaceFileModel(new FileListModel(files, m_view));
    m_cursor->setCurrentRow(0);
    if (m_cursor->rowCount() == 0)
        return loadFile(QString());
    // Reads row 0 and tells the go actions the view stands at the first file.
    m_view->setCurrentIndex(m_cursor->model()->index(0, 0));
    return !m_picture->isBroken();
}

void PictureOpener::setImage(const QImage& image)
{
    m_picture->adopt(image);
    clearSelectionIfAny();
    m_view->pic()->setSelectable(true);
    replaceFileModel(new NewFileModel(m_view));
    m_cursor->setCurrentRow(0);
    m_view->setWindowTitle(PictureStatus::notSavedText());
    // Not shown here: a view without a parent would flash up as a window of its own. Whoever
    // places it shows it, and the resize on showing zooms.
    m_view->zoom();
}

void PictureOpener::newImage(int width, int height, int depth, uint pixel)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(pixel);
    QImage::Format format = QImage::Format_Mono;
    if (depth == 32)
        format = QImage::Format_RGB32;
    else if (depth == 8)
        format = QImage::Format_Indexed8;
    setImage(image.convertToFormat(format, Qt::ThresholdDither));
}

void PictureOpener::importImage(const QImage& image)
{
    setImage(image);
    m_picture->setModified(true);
    // Undoing every edit does not bring back a saved state: there never was one.
    m_history->markStartUnsaved();
    m_view->refreshStatus();
}

bool PictureOpener::loadFile(const QString& path)
{
    bool broken = true;
    {
        WaitCursor waitCursor;
        broken = !m_picture->read(path);
        if (broken)
            m_picture->setImage(placeholderImage());
        clearSelectionIfAny();
        m_view->pic()->setSelectable(!broken);
        if (!broken)
            PictureSettings::recordRead(path);
    }
    m_history->clear();
    m_picture->setModified(false);
    m_view->setCurrentZoomMode(m_view->zoomMode());
    m_view->zoom();
    m_view->refreshStatus();
    m_view->horizontalScrollBar()->setValue(0);
    m_view->verticalScrollBar()->setValue(0);
    return !broken;
}

bool PictureOpener::write(const QString& path, const QString& format, PictureSaver* saver)
{
    // A picture made in memory has no file to save to; the caller asks for one instead.
    if (path.isEmpty())
        return false;
    const QString ownPath = m_cursor->filePath();
    const bool ownFile = !m_picture->isUnsavedNew() && !ownPath.isEmpty()
                         && PictureSaver::samePicture(ownPath, path);
    if (!saver->writeFile(path, format, ownPath))
        return false;
    if (ownFile) {
        // Re-read in place: the list the picture belongs to stays as the user made it.
        loadFile(ownPath);
        return true;
    }
    openFile(path);
    return true;
}

void PictureOpener::replaceFileModel(QAbstractItemModel* model)
{
    QAbstractItemModel* old = m_cursor->model();
    m_cursor->setModel(model);
    if (!old)
        return;
    old->disconnect(m_view);
    // Views that show the old model let go of it on dirModelChanged; until then it stays valid.
    old->deleteLater();
    emit m_view->dirModelChanged(m_view);
}

void PictureOpener::clearSelectionIfAny()
{
    SPic* pic = m_view->pic();
    if (pic->mark()->mode() != MarkMode::None)
        pic->clearSelection();
}
