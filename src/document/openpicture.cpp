#include "document/openpicture.h"

#include "document/edithistory.h"
#include "document/filecursor.h"
#include "document/filelistmodel.h"
#include "document/newfilemodel.h"
#include "document/picture.h"
#include "document/picturecache.h"
#include "document/pictureedits.h"

#include <QAbstractItemModel>
#include <QImage>

OpenPicture::OpenPicture(int slideDelay, QObject* parent)
    : QObject(parent)
    , m_picture(new Picture(this))
    , m_history(new EditHistory(this))
    , m_edits(new PictureEdits(m_picture, m_history, this))
    , m_cursor(new FileCursor(slideDelay, this))
{
    connect(m_picture, &Picture::standInShown, this, &OpenPicture::showStandIn);
    connect(m_picture, &Picture::loaded, this, &OpenPicture::showRead);
    connect(m_edits, &PictureEdits::changed, this,
            [this] { emit changed(Aspect::Pixels | Aspect::Status | Aspect::History); });
    connect(m_cursor, &FileCursor::slideDue, this, &OpenPicture::slideDue);
    // A directory's listing arrives after its first picture is shown.
    connect(m_cursor, &FileCursor::listChanged, this, [this] {
        if (!m_picture->isLoading())
            m_readAheadDue = true;
        emit changed(Aspect::List);
    });
}

void OpenPicture::setFileModel(QAbstractItemModel* model, int row)
{
    QAbstractItemModel* old = m_cursor->model();
    m_cursor->setModel(model);
    m_cursor->setCurrentRow(row);
    if (old && old != model)
        old->deleteLater();
    emit changed(Aspect::List);
}

QAbstractItemModel* OpenPicture::fileModel() const
{
    return m_cursor->model();
}

void OpenPicture::openList(const QStringList& files)
{
    m_picture->setUnsavedNew(false);
    setFileModel(new FileListModel(files, this), 0);
    if (m_cursor->rowCount() == 0)
        load(QString());
    else
        moveTo(0);
}

void OpenPicture::setImage(const QImage& image)
{
    m_picture->adopt(image);
    m_history->clear();
    setFileModel(new NewFileModel(this), 0);
    emit changed(Aspect::Pixels | Aspect::File | Aspect::Status | Aspect::History);
}

void OpenPicture::load(const QString& path)
{
    // Whoever reads a file in has given up the edits of the picture it replaces.
    m_picture->setModified(false);
    m_history->clear();
    m_picture->load(path, m_shownSize, m_corner);
    if (m_picture->isLoading())
        emit changed(Aspect::Status | Aspect::History);
}

bool OpenPicture::isLoading() const
{
    return m_picture->isLoading();
}

void OpenPicture::waitUntilLoaded()
{
    m_picture->waitUntilLoaded();
}

void OpenPicture::previous()
{
    if (m_cursor->previous())
        readCurrent();
}

void OpenPicture::next()
{
    if (m_cursor->next())
        readCurrent();
}

void OpenPicture::first()
{
    if (m_cursor->first())
        readCurrent();
}

void OpenPicture::last()
{
    if (m_cursor->last())
        readCurrent();
}

void OpenPicture::moveTo(int row)
{
    if (m_cursor->moveTo(row))
        readCurrent();
}

void OpenPicture::tick()
{
    if (m_cursor->tick())
        readCurrent();
}

void OpenPicture::readCurrent()
{
    load(m_cursor->filePath());
}

void OpenPicture::showStandIn()
{
    emit changed(Aspect::Pixels);
}

void OpenPicture::showRead(bool readable)
{
    m_history->clear();
    m_picture->setModified(false);
    m_readAheadDue = true;
    m_cursor->readFinished(readable);
    emit changed(Aspect::Pixels | Aspect::File | Aspect::Status | Aspect::History);
}

void OpenPicture::shown()
{
    if (!m_readAheadDue)
        return;
    m_readAheadDue = false;
    preloadNeighbours();
}

void OpenPicture::preloadNeighbours()
{
    // The next one in the direction of travel first, then the one behind, but only when the
    // cache keeps it beside the picture shown and the one ahead (with smaller copies, a third
    // more each): else the three push each other out and are read again and again.
    const int behind = m_cursor->currentRow() - m_cursor->direction();
    // Copies serve only pictures shown reduced; at 100 % they would take memory for nothing.
    const bool withCopies = bool(m_shownSize);
    const qint64 bytes = m_picture->image().sizeInBytes() * (withCopies ? 4 : 3) / 3;
    const bool behindFits = 3 * bytes <= PictureCache::shared()->budget();
    QStringList paths;
    for (const int neighbour : {m_cursor->aheadRow(), behindFits ? behind : -1}) {
        if (neighbour >= 0 && neighbour < m_cursor->rowCount())
            paths << m_cursor->filePathAt(neighbour);
    }
    // What is read ahead pushes the oldest out before it is read, not after: else the one left
    // behind, the one shown and the one ahead are all in memory at once.
    int missing = 0;
    for (const QString& path : qAsConst(paths))
        missing += PictureCache::shared()->contains(path) ? 0 : 1;
    PictureCache::shared()->makeRoom(missing * bytes, paths + QStringList{m_picture->path()});
    m_picture->preload(paths, withCopies);
}
