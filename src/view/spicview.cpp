#include "view/spicview.h"

#include "document/edithistory.h"
#include "document/filecursor.h"
#include "document/filelistmodel.h"
#include "document/newfilemodel.h"
#include "document/picture.h"
#include "document/picturestatus.h"
#include "platform/lumofm/vfs.h"
#include "platform/lumoscrollbar.h"
#include "settings/settings.h"
#include "view/adjustmentdialogs.h"
#include "view/directoryproxymodel.h"
#include "view/picturesaver.h"
#include "view/picturesettings.h"
#include "view/sharedfilesystemmodel.h"
#include "view/smark.h"
#include "view/spic.h"
#include "view/touchgestures.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGestureEvent>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

namespace {

const int placeholderSize = 128;

// Shown for a file that cannot be read; drawn by hand when the icon theme has no such icon.
QImage placeholderImage()
{
    const QPixmap icon = QIcon::fromTheme(QStringLiteral("image-missing"))
                             .pixmap(placeholderSize, placeholderSize);
    // A theme with small bitmaps only still gives a placeholder of the usual size.
    if (!icon.isNull())
        return icon.toImage().scaled(placeholderSize, placeholderSize, Qt::KeepAspectRatio,
                                     Qt::SmoothTransformation);
    QImage image(placeholderSize, placeholderSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::lightGray);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::darkRed, 8));
    const int inset = placeholderSize / 4;
    painter.drawLine(inset, inset, placeholderSize - inset, placeholderSize - inset);
    painter.drawLine(placeholderSize - inset, inset, inset, placeholderSize - inset);
    painter.setPen(QPen(Qt::darkGray, 4));
    painter.drawRect(image.rect().adjusted(2, 2, -2, -2));
    return image;
}

// Restores the cursor however the read ends.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

SPicView::DialogFactory registered(AdjustmentDialogs::Kind kind, const QImage& insert = QImage())
{
    return [kind, insert](SPicView* parent, QImage* target, const QImage& source) {
        return AdjustmentDialogs::create(kind, parent, target, source, insert);
    };
}

} // namespace

SPicView::SPicView(int slideDelay, QWidget* parent)
    : QScrollArea(parent)
    , m_history(new EditHistory(this))
    , m_picture(new Picture(this))
    , m_pic(new SPic(this))
    , m_cursor(new FileCursor(slideDelay, this))
    , m_saver(new PictureSaver(m_picture, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidgetResizable(false);
    m_pic->setPicture(m_picture);
    setWidget(m_pic);
    setAlignment(Qt::AlignCenter);

    connect(m_pic, &SPic::selectionContextMenuRequested, this,
            &SPicView::selectionContextMenuRequested);
    connect(m_pic, &SPic::contextMenuRequested, this, &SPicView::contextMenuRequested);
    connect(m_pic, &SPic::markChanged4P, this, &SPicView::markChanged);
    connect(m_pic, &SPic::MPIChanged4P, this, &SPicView::MPIChanged);
    m_pic->installEventFilter(this);
    connect(m_history, &EditHistory::backupAdded, this, &SPicView::addToUndo);
    connect(m_history, &EditHistory::undoAvailableChanged, this, &SPicView::undoStatusChanged);
    connect(m_history, &EditHistory::redoAvailableChanged, this, &SPicView::redoStatusChanged);
    connect(m_saver, &PictureSaver::message, this, &SPicView::message);

    setBackgroundRole(QPalette::Dark);
    m_zoomMode = zoomMode();
    setFocusPolicy(Qt::StrongFocus);

    m_cursor->setMoveGuard([this] { return moveAllowed(); });
    m_cursor->setReader([this](const QString& path) { return loadFile(path); });
    connect(m_cursor, &FileCursor::atTheFirst, this, &SPicView::atTheFirst);
    connect(m_cursor, &FileCursor::atTheEnd, this, &SPicView::atTheEnd);
    connect(m_cursor, &FileCursor::hasNext, this, &SPicView::hasNext);
    connect(m_cursor, &FileCursor::hasPrevious, this, &SPicView::hasPrevious);
    connect(m_cursor, &FileCursor::slideshowStarted, this, &SPicView::slideshow_started);
    connect(m_cursor, &FileCursor::slideshowStopped, this, &SPicView::slideshow_stopped);
    connect(m_cursor, &FileCursor::listChanged, this, &SPicView::publishBrowseInfo);

    m_exitShortcut = new QShortcut(QKeySequence(tr("Esc", "Exit fullscreen")), this);
    m_exitShortcut->setContext(Qt::WindowShortcut);
    // Esc means something only while the view is full screen.
    m_exitShortcut->setEnabled(false);
    connect(m_exitShortcut, &QShortcut::activated, this, &SPicView::exitFullScreenRequested);

    m_hScrollBar = new LumoScrollBar(Qt::Horizontal, this);
    m_vScrollBar = new LumoScrollBar(Qt::Vertical, this);
    setHorizontalScrollBar(m_hScrollBar);
    setVerticalScrollBar(m_vScrollBar);

    m_touch = new TouchGestures(this);
    connect(m_touch, &TouchGestures::tapped, this, &SPicView::toggleFullscreenPanel);
    connect(m_touch, &TouchGestures::doubleTapped, this, &SPicView::toggleFullScreenRequested);
    connect(m_touch, &TouchGestures::pinched, this, &SPicView::zoomBy);
    connect(m_touch, &TouchGestures::swipedLeft, this, &SPicView::next);
    connect(m_touch, &TouchGestures::swipedRight, this, &SPicView::previous);
}

SPicView::~SPicView() = default;

bool SPicView::openFile(const QString& path)
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
        model = new DirectoryProxyModel(sharedFileSystemModel(), directory, this);
        model->setCurrentFile(file);
        connect(model, &DirectoryProxyModel::currentFileIndexChanged, this,
                &SPicView::updateCurrentImageIndex);
        replaceFileModel(model);
    }
    m_cursor->setCurrentRow(model->currentRow());
    return loadFile(file);
}

bool SPicView::openList(const QStringList& files)
{
    m_picture->setModified(false);
    m_picture->setUnsavedNew(false);
    replaceFileModel(new FileListModel(files, this));
    m_cursor->setCurrentRow(0);
    if (m_cursor->rowCount() == 0)
        return loadFile(QString());
    // Reads row 0 and tells the go actions the view stands at the first file.
    setCurrentIndex(m_cursor->model()->index(0, 0));
    return !isBroken();
}

void SPicView::setImage(const QImage& image)
{
    m_picture->adopt(image);
    clearSelectionIfAny();
    m_pic->setSelectable(true);
    replaceFileModel(new NewFileModel(this));
    m_cursor->setCurrentRow(0);
    setWindowTitle(PictureStatus::notSavedText());
    // Not shown here: a view without a parent would flash up as a window of its own. Whoever
    // places it shows it, and the resize on showing zooms.
    zoom();
}

void SPicView::newImage(int width, int height, int depth, uint pixel)
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

void SPicView::importImage(const QImage& image)
{
    setImage(image);
    m_picture->setModified(true);
    // Undoing every edit does not bring back a saved state: there never was one.
    m_history->markStartUnsaved();
    refreshStatus();
}

bool SPicView::loadFile(const QString& path)
{
    bool broken = true;
    {
        WaitCursor waitCursor;
        broken = !m_picture->read(path);
        if (broken)
            m_picture->setImage(placeholderImage());
        clearSelectionIfAny();
        m_pic->setSelectable(!broken);
        if (!broken)
            PictureSettings::recordRead(path);
    }
    clearHistory();
    m_picture->setModified(false);
    m_zoomMode = zoomMode();
    zoom();
    refreshStatus();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    return !broken;
}

int SPicView::zoomMode() const
{
    return Settings::instance()->general()->zoomModeInt();
}

void SPicView::setZoomMode(int mode)
{
    Settings::instance()->general()->setZoomModeInt(mode);
    Settings::sync();
}

double SPicView::scale() const
{
    return m_pic->scale();
}

const QImage& SPicView::image() const
{
    return m_picture->image();
}

QString SPicView::filePath() const
{
    return m_cursor->filePath();
}

QString SPicView::fileName() const
{
    return m_cursor->fileName();
}

QModelIndex SPicView::currentModelIndex() const
{
    return m_cursor->currentIndex();
}

QAbstractItemModel* SPicView::fileModel() const
{
    return m_cursor->model();
}

int SPicView::currentRow() const
{
    return m_cursor->currentRow();
}

bool SPicView::isSaveable() const
{
    // A placeholder is never written over the file it stands for; a changed picture made in
    // memory has no file yet, and saving it asks for a name.
    return m_picture->isModified() && !isBroken()
           && (!filePath().isEmpty() || m_picture->isUnsavedNew());
}

bool SPicView::isModified() const
{
    return m_picture->isModified();
}

bool SPicView::isUnsavedNew() const
{
    return m_picture->isUnsavedNew();
}

bool SPicView::isBroken() const
{
    return m_picture->isBroken();
}

void SPicView::setIndicatorMode(bool on)
{
    if (on == m_indicatorMode)
        return;
    m_indicatorMode = on;
    m_hScrollBar->setIndicatorMode(on);
    m_vScrollBar->setIndicatorMode(on);
    updateBackgroundRole();
}

void SPicView::setFullScreenMode(bool on)
{
    if (on != m_fullScreenMode) {
        if (on) {
            m_savedFrameStyle = frameStyle();
            setFrameShape(QFrame::NoFrame);
        } else {
            setFrameStyle(m_savedFrameStyle);
        }
    }
    m_fullScreenMode = on;
    m_margin = on ? 0 : defaultMargin;
    m_exitShortcut->setEnabled(on);
    updateBackgroundRole();
}

QSize SPicView::sizeHint() const
{
    return size();
}

void SPicView::updateBackgroundRole()
{
    setBackgroundRole(m_fullScreenMode && m_indicatorMode ? QPalette::Shadow : QPalette::Dark);
}

void SPicView::replaceFileModel(QAbstractItemModel* model)
{
    QAbstractItemModel* old = m_cursor->model();
    m_cursor->setModel(model);
    if (!old)
        return;
    old->disconnect(this);
    // Views that show the old model let go of it on dirModelChanged; until then it stays valid.
    old->deleteLater();
    emit dirModelChanged(this);
}

void SPicView::publishBrowseInfo()
{
    emit browseInfoChanged(browseText());
}

QString SPicView::browseText() const
{
    return PictureStatus::browseText(m_cursor->currentRow(), m_cursor->rowCount());
}

void SPicView::clearSelectionIfAny()
{
    if (m_pic->mark()->mode() != MarkMode::None)
        m_pic->clearSelection();
}

bool SPicView::moveAllowed()
{
    // An open adjustment dialog writes into this picture, so the view stays on its file.
    return !m_adjusting && confirmClose();
}

void SPicView::previous()
{
    m_cursor->previous();
}

void SPicView::next()
{
    m_cursor->next();
}

void SPicView::first()
{
    m_cursor->first();
}

void SPicView::last()
{
    m_cursor->last();
}

void SPicView::startSlideshow()
{
    m_cursor->startSlideshow();
}

void SPicView::stopSlideshow()
{
    m_cursor->stopSlideshow();
}

bool SPicView::slideshowRunning() const
{
    return m_cursor->slideshowRunning();
}

int SPicView::slideDelay() const
{
    return m_cursor->slideDelay();
}

void SPicView::setSlideDelay(int seconds)
{
    m_cursor->setSlideDelay(seconds);
}

void SPicView::timerTimeout()
{
    m_cursor->tick();
}

void SPicView::setCurrentIndex(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    // Choosing the shown picture again must not cost the user's edits a question.
    if (m_picture->isModified() && m_cursor->currentRow() == index.row())
        return;
    m_cursor->moveTo(index.row());
}

void SPicView::updateCurrentImageIndex(int imageFileIndex)
{
    m_cursor->setCurrentRow(imageFileIndex);
    emit currentIndexChanged(currentModelIndex());
    publishBrowseInfo();
}

bool SPicView::eventFilter(QObject* watched, QEvent* event)
{
    // The canvas is watched from early in the constructor, before the touch handling exists.
    if (watched == m_pic && m_touch && m_touch->filterCanvasEvent(event))
        return true;
    return QScrollArea::eventFilter(watched, event);
}

void SPicView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_touch->doubleClick(event))
        QScrollArea::mouseDoubleClickEvent(event);
}

bool SPicView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Gesture)
        return m_touch->gestureEvent(static_cast<QGestureEvent*>(event));
    return QScrollArea::viewportEvent(event);
}

bool SPicView::write(const QString& path, const QString& format)
{
    // A picture made in memory has no file to save to; the caller asks for one instead.
    if (path.isEmpty())
        return false;
    const QString ownPath = filePath();
    const bool ownFile = !m_picture->isUnsavedNew() && !ownPath.isEmpty()
                         && PictureSaver::samePicture(ownPath, path);
    if (!m_saver->writeFile(path, format, ownPath))
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
    // The question pauses a running slideshow; it stays stopped after Cancel or a failed save.
    const bool ran = slideshowRunning();
    if (ran)
        stopSlideshow();
    m_closeCancelled = false;
    using LeaveAnswer = PictureSaver::LeaveAnswer;
    const LeaveAnswer answer = m_picture->isModified()
                                   ? m_saver->askBeforeLeaving(filePath(), fileName())
                                   : LeaveAnswer::Leave;
    if (answer == LeaveAnswer::Cancelled)
        m_closeCancelled = true;
    if (ran && (answer == LeaveAnswer::Leave || answer == LeaveAnswer::Stay))
        startSlideshow();
    return answer == LeaveAnswer::Leave;
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

void SPicView::showRotateDialog()
{
    runAdjustment(registered(AdjustmentDialogs::Kind::Rotate),
                  AdjustmentOption::ClearsSelection | AdjustmentOption::RefreshesStatus);
}

void SPicView::showRGBAdjustDialog()
{
    runAdjustment(registered(AdjustmentDialogs::Kind::ColorBalance), AdjustmentOptions());
}

void SPicView::showDepthConversionDialog()
{
    runAdjustment(registered(AdjustmentDialogs::Kind::Depth), AdjustmentOption::RefreshesStatus);
}

void SPicView::showHSVAdjustDialog()
{
    runAdjustment(registered(AdjustmentDialogs::Kind::HueSaturation), AdjustmentOptions());
}

void SPicView::showBrightnessContrastDialog()
{
    runAdjustment(registered(AdjustmentDialogs::Kind::BrightnessContrast), AdjustmentOptions());
}

void SPicView::showResizeDialog()
{
    runAdjustment(registered(AdjustmentDialogs::Kind::Resize),
                  AdjustmentOption::ClearsSelection | AdjustmentOption::RefreshesStatus);
}

void SPicView::showInsertDialog()
{
    const QImage insert = QApplication::clipboard()->image(QClipboard::Clipboard);
    if (insert.isNull()) {
        emit message(tr("Paste: No usable clipboard content, aborted."), 1000);
        return;
    }
    runAdjustment(registered(AdjustmentDialogs::Kind::Insert, insert),
                  AdjustmentOption::ClearsSelection | AdjustmentOption::RefreshesStatus
                      | AdjustmentOption::RedrawsBeforeRun);
}
