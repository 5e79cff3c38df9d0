#include "view/pictureopener.h"

#include "document/edithistory.h"
#include "document/filecursor.h"
#include "document/filelistmodel.h"
#include "document/newfilemodel.h"
#include "document/picture.h"
#include "document/picturecache.h"
#include "document/picturestatus.h"
#include "platform/lumofm/vfs.h"
#include "view/directoryproxymodel.h"
#include "view/picturesaver.h"
#include "view/placeholderimage.h"
#include "view/sharedfilesystemmodel.h"
#include "view/smark.h"
#include "view/spic.h"
#include "view/spicview.h"
#include "view/waitcursor.h"
#include "view/zoomfit.h"
#include "view/zoommodel.h"

#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <utility>

PictureOpener::PictureOpener(SPicView* view, Picture* picture, FileCursor* cursor,
                             EditHistory* history)
    : QObject(view)
    , m_view(view)
    , m_picture(picture)
    , m_cursor(cursor)
    , m_history(history)
{
    connect(m_picture, &Picture::standInShown, this, &PictureOpener::showStandIn);
    connect(m_picture, &Picture::loaded, this, &PictureOpener::showRead);
    // A directory's listing arrives after its first picture is shown.
    connect(m_cursor, &FileCursor::listChanged, this, [this] {
        if (!m_picture->isLoading())
            preloadNeighboursOncePainted();
    });
    connect(m_view->pic(), &SPic::painted, this, [this] {
        if (std::exchange(m_preloadOncePainted, false))
            preloadNeighbours();
    });
}

void PictureOpener::openFile(const QString& path)
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
    // Taking in a big folder keeps the GUI thread busy: it waits until the picture is shown.
    model->setListingHeld(true);
    m_cursor->setCurrentRow(model->currentRow());
    loadFile(file);
    if (!m_picture->isLoading())
        releaseListing();
}

void PictureOpener::openList(const QStringList& files)
{
    m_picture->setModified(false);
    m_picture->setUnsavedNew(false);
    replaceFileModel(new FileListModel(files, m_view));
    m_cursor->setCurrentRow(0);
    if (m_cursor->rowCount() == 0) {
        loadFile(QString());
        return;
    }
    // Reads row 0 and tells the go actions the view stands at the first file.
    m_view->setCurrentIndex(m_cursor->model()->index(0, 0));
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

void PictureOpener::loadFile(const QString& path)
{
    // Whoever reads a file in has given up the edits of the picture it replaces.
    m_picture->setModified(false);
    m_history->clear();
    PictureReader::ShownSize shownSize;
    QSize corner;
    const QWidget* screenArea = m_view->isVisible() ? m_view->viewport() : nullptr;
    const QScreen* screen = m_view->screen();
    // Not placed yet: the picture can be no larger than the screen.
    const QSize area =
        screenArea ? screenArea->size() : (screen ? screen->availableSize() : QSize());
    // At 100 % the view opens on the picture's top left corner, which is read first.
    if (m_view->zoomMode() == ZoomModel::trueSizeMode)
        corner = area * m_view->devicePixelRatioF();
    // Only a picture shown at a fit is ever shown smaller than its pixels at first.
    if (ZoomModel::fitsLargePictures(m_view->zoomMode())) {
        const ZoomFit fit(area, m_view->margin());
        shownSize = [fit](const QSize& pictureSize) {
            const double scale = fit.scale(0, 1.0, pictureSize, false);
            if (!(scale < 1.0))
                return QSize();
            return QSize(std::max(1, qRound(pictureSize.width() * scale)),
                         std::max(1, qRound(pictureSize.height() * scale)));
        };
    }
    m_picture->load(path, shownSize, corner);
    if (m_picture->isLoading())
        emit m_view->imageInfoChanged(loadingText());
}

QString PictureOpener::loadingText()
{
    return tr("Loading…");
}

void PictureOpener::waitUntilLoaded()
{
    if (!m_picture->isLoading())
        return;
    WaitCursor waitCursor;
    m_picture->waitUntilLoaded();
}

void PictureOpener::releaseListing()
{
    if (auto* model = qobject_cast<DirectoryProxyModel*>(m_cursor->model()))
        model->setListingHeld(false);
}

void PictureOpener::showStandIn()
{
    SPic* pic = m_view->pic();
    clearSelectionIfAny();
    pic->setSelectable(false);
    m_view->setCurrentZoomMode(m_view->zoomMode());
    m_view->zoom();
    m_view->horizontalScrollBar()->setValue(0);
    m_view->verticalScrollBar()->setValue(0);
    releaseListing();
}

void PictureOpener::showRead(bool readable)
{
    SPic* pic = m_view->pic();
    if (!readable)
        m_picture->setImage(placeholderImage());
    clearSelectionIfAny();
    pic->setSelectable(readable);
    if (readable)
        emit m_view->fileRead(m_picture->path());
    m_history->clear();
    m_picture->setModified(false);
    m_view->setCurrentZoomMode(m_view->zoomMode());
    m_view->zoom();
    m_view->refreshStatus();
    m_view->horizontalScrollBar()->setValue(0);
    m_view->verticalScrollBar()->setValue(0);
    m_cursor->readFinished(readable);
    releaseListing();
    preloadNeighboursOncePainted();
}

void PictureOpener::preloadNeighboursOncePainted()
{
    // A view out of sight paints nothing.
    if (!m_view->pic()->isVisible()) {
        preloadNeighbours();
        return;
    }
    m_preloadOncePainted = true;
    m_view->pic()->update();
}

void PictureOpener::preloadNeighbours()
{
    // The next one in the direction of travel first, then the one behind, but only when the
    // cache keeps it beside the picture shown and the one ahead (with smaller copies, a third
    // more each): else the three push each other out and are read again and again.
    const int behind = m_cursor->currentRow() - m_cursor->direction();
    // Copies serve only pictures shown reduced; at 100 % they would take memory for nothing.
    const bool withCopies = ZoomModel::fitsLargePictures(m_view->zoomMode());
    const qint64 bytes = m_picture->image().sizeInBytes() * (withCopies ? 4 : 3) / 3;
    const bool behindFits = 3 * bytes <= PictureCache::shared()->budget();
    QStringList paths;
    for (const int neighbour : {m_cursor->aheadRow(), behindFits ? behind : -1}) {
        if (neighbour >= 0 && neighbour < m_cursor->rowCount())
            paths << m_cursor->filePathAt(neighbour);
    }
    m_picture->preload(paths, withCopies);
}

bool PictureOpener::write(const QString& path, const QString& format, PictureSaver* saver)
{
    // A picture made in memory has no file to save to; the caller asks for one instead.
    if (path.isEmpty())
        return false;
    waitUntilLoaded();
    const QString ownPath = m_cursor->filePath();
    const bool ownFile = !m_picture->isUnsavedNew() && !ownPath.isEmpty()
                         && PictureSaver::samePicture(ownPath, path);
    if (!saver->writeFile(path, format, ownPath))
        return false;
    m_picture->setModified(false);
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
