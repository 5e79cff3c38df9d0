#include "view/spicview.h"

#include "document/clipboardimage.h"
#include "document/edithistory.h"
#include "document/filecursor.h"
#include "document/openpicture.h"
#include "document/picture.h"
#include "document/pictureedits.h"
#include "document/picturestatus.h"
#include "document/statustexts.h"
#include "imaging/blackenarea.h"
#include "platform/lumofm/vfs.h"
#include "platformwidgets/lumoscrollbar.h"
#include "settings/settings.h"
#include "view/adjustmentdialogs.h"
#include "view/adjustmentrunner.h"
#include "view/directoryproxymodel.h"
#include "view/handtool.h"
#include "view/placeholderimage.h"
#include "view/sharedfilesystemmodel.h"
#include "view/sizewarning.h"
#include "view/smark.h"
#include "view/spic.h"
#include "view/touchgestures.h"
#include "view/waitcursor.h"
#include "view/writequestions.h"
#include "view/zoomfit.h"
#include "view/zoommodel.h"
#include "view/zoompass.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGestureEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QWheelEvent>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

const int messageTime = 1000;

// Edits and whoever prints or copies need the full pixels of a read under way.
void waitWithCursor(OpenPicture* open)
{
    if (!open->isLoading())
        return;
    WaitCursor waitCursor;
    open->waitUntilLoaded();
}

} // namespace

SPicView::SPicView(int slideDelay, QWidget* parent)
    : QScrollArea(parent)
    , m_open(new OpenPicture(slideDelay, this))
    , m_pic(new SPic(this))
    , m_saver(new WriteQuestions(m_open->picture(), this))
    , m_adjustments(std::make_unique<AdjustmentRunner>(this, m_open->edits()))
    , m_zoomPass(std::make_unique<ZoomPass>(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidgetResizable(false);
    m_pic->setPicture(m_open->picture());
    setWidget(m_pic);
    setAlignment(Qt::AlignCenter);

    connect(m_pic, &SPic::selectionContextMenuRequested, this,
            &SPicView::selectionContextMenuRequested);
    connect(m_pic, &SPic::contextMenuRequested, this, &SPicView::contextMenuRequested);
    connect(m_pic, &SPic::markChanged4P, this, &SPicView::markChanged);
    connect(m_pic, &SPic::MPIChanged4P, this, &SPicView::MPIChanged);
    m_pic->installEventFilter(this);
    // The history's own news carry what the undo and redo signals tell.
    const EditHistory* history = m_open->history();
    connect(history, &EditHistory::backupAdded, this, &SPicView::addToUndo);
    connect(history, &EditHistory::undoAvailableChanged, this, &SPicView::undoStatusChanged);
    connect(history, &EditHistory::redoAvailableChanged, this, &SPicView::redoStatusChanged);
    connect(m_saver, &WriteQuestions::message, this, &SPicView::message);
    connect(m_open, &OpenPicture::changed, this, &SPicView::follow);
    connect(m_open, &OpenPicture::slideDue, this, &SPicView::timerTimeout);
    // Reading ahead waits until the picture shown is on screen.
    connect(m_pic, &SPic::painted, m_open, &OpenPicture::shown);

    // An animation waits while a dialog is open or the picture is out of sight.
    m_open->picture()->setAnimationHold(
        [this] { return !isVisible() || QApplication::activeModalWidget() != nullptr; });

    setBackgroundRole(QPalette::Dark);
    m_zoomMode = zoomMode();
    setFocusPolicy(Qt::StrongFocus);

    // Where the cursor stands and the slideshow's start and end are events, told as they come.
    const FileCursor* cursor = m_open->cursor();
    connect(cursor, &FileCursor::atTheFirst, this, &SPicView::atTheFirst);
    connect(cursor, &FileCursor::atTheEnd, this, &SPicView::atTheEnd);
    connect(cursor, &FileCursor::hasNext, this, &SPicView::hasNext);
    connect(cursor, &FileCursor::hasPrevious, this, &SPicView::hasPrevious);
    connect(cursor, &FileCursor::slideshowStarted, this, &SPicView::slideshow_started);
    connect(cursor, &FileCursor::slideshowStopped, this, &SPicView::slideshow_stopped);

    // Everything actionState reads besides the document's news.
    const auto changed = &SPicView::actionStateChanged;
    for (auto signal : {&FileCursor::atTheFirst, &FileCursor::atTheEnd, &FileCursor::hasNext,
                        &FileCursor::hasPrevious, &FileCursor::slideshowStarted,
                        &FileCursor::slideshowStopped})
        connect(cursor, signal, this, changed);
    connect(this, &SPicView::currentIndexChanged, this, changed);
    connect(m_pic, &SPic::markChanged4P, this, changed);
    connect(Settings::instance(), &Settings::slideLoopChanged, this, changed);

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

    auto* hand = new HandTool(this, {m_pic, m_pic->mark()});
    connect(hand, &HandTool::spaceTapped, this, [this] {
        // Like the next-picture action, a tap on the last picture goes nowhere.
        if (currentRow() + 1 < m_open->cursor()->rowCount())
            next();
    });
}

SPicView::~SPicView() = default;

void SPicView::openFile(const QString& path)
{
    picture()->setUnsavedNew(false);
    const LumoFM::VFS* vfs = LumoFM::VFS::ptr();
    const LumoFM::Entry entry = vfs->entry(path);
    const QString file = entry.localPath();
    const QString directory = vfs->parent(entry).localPath();

    auto* model = qobject_cast<DirectoryProxyModel*>(fileModel());
    if (model) {
        model->setDirectoryFile(directory, file);
        m_open->cursor()->setCurrentRow(model->currentRow());
    } else {
        model = new DirectoryProxyModel(sharedFileSystemModel(), directory, m_open);
        model->setCurrentFile(file);
        m_open->setFileModel(model, model->currentRow());
    }
    // Taking in a big folder keeps the GUI thread busy: it waits until the picture is shown.
    model->setListingHeld(true);
    loadFile(file);
    if (!isLoading())
        releaseListing();
}

void SPicView::openList(const QStringList& files)
{
    updateShownSize();
    m_open->openList(files);
}

void SPicView::setImage(const QImage& image)
{
    m_open->setImage(image);
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
    m_open->edits()->markImported();
}

void SPicView::loadFile(const QString& path)
{
    updateShownSize();
    m_open->load(path);
}

bool SPicView::isLoading() const
{
    return m_open->isLoading();
}

void SPicView::waitUntilLoaded()
{
    waitWithCursor(m_open);
}

void SPicView::updateShownSize()
{
    const QWidget* screenArea = isVisible() ? viewport() : nullptr;
    const QScreen* shownOn = screen();
    // Not placed yet: the picture can be no larger than the screen.
    const QSize area = screenArea ? screenArea->size()
                                  : (shownOn ? shownOn->availableSize() : QSize());
    const FirstRead first = firstRead(zoomMode(), area, margin(), devicePixelRatioF());
    m_open->setShownSize(first.shownSize, first.corner);
}

SPicView::FirstRead SPicView::firstRead(int zoomMode, const QSize& area, int margin,
                                        double pixelRatio)
{
    // Only a picture shown at a fit is ever shown smaller than its pixels at first; at 100 %
    // the view opens on the top left corner, which is read first.
    if (!ZoomModel::fitsLargePictures(zoomMode))
        return {{}, zoomMode == ZoomModel::trueSizeMode ? area * pixelRatio : QSize()};
    const ZoomFit fit(area, margin);
    return {[fit](const QSize& pictureSize) {
                const double scale = fit.scale(0, 1.0, pictureSize, false);
                if (!(scale < 1.0))
                    return QSize();
                return QSize(std::max(1, qRound(pictureSize.width() * scale)),
                             std::max(1, qRound(pictureSize.height() * scale)));
            },
            {}};
}

void SPicView::follow(OpenPicture::Aspects aspects)
{
    using Aspect = OpenPicture::Aspect;
    if (aspects & Aspect::List)
        followList();
    if (aspects & Aspect::File) {
        if (picture()->isUnsavedNew())
            showAdopted();
        else
            showRead();
    } else if (aspects & Aspect::Pixels) {
        if (isLoading()) {
            showStandIn();
        } else {
            zoom();
            refreshStatus();
        }
    } else if ((aspects & Aspect::Status) && isLoading()) {
        emit imageInfoChanged(PictureStatus::loadingText());
    }
    if (aspects & (Aspect::File | Aspect::List)) {
        // A view out of sight paints nothing, so reading ahead need not wait for it.
        if (m_pic->isVisible())
            m_pic->update();
        else
            m_open->shown();
    }
    emit actionStateChanged();
}

void SPicView::followList()
{
    QAbstractItemModel* model = fileModel();
    if (model == m_shownModel) {
        publishBrowseInfo();
        return;
    }
    if (m_shownModel)
        m_shownModel->disconnect(this);
    m_shownModel = model;
    if (auto* directory = qobject_cast<DirectoryProxyModel*>(model))
        connect(directory, &DirectoryProxyModel::currentFileIndexChanged, this,
                &SPicView::updateCurrentImageIndex);
    // Views that show the old list let go of it now; until then it stays valid.
    if (std::exchange(m_hadModel, true))
        emit dirModelChanged(this);
    publishBrowseInfo();
}

void SPicView::showStandIn()
{
    clearSelectionIfAny();
    m_pic->setSelectable(false);
    setCurrentZoomMode(zoomMode());
    zoom();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    releaseListing();
}

void SPicView::showRead()
{
    const bool readable = !isBroken();
    if (!readable)
        picture()->setImage(placeholderImage());
    clearSelectionIfAny();
    m_pic->setSelectable(readable);
    if (readable)
        emit fileRead(picture()->path());
    // The directory's own idea of the current file follows the file read, so that files
    // appearing and vanishing keep the row on the file shown. A file written a moment ago
    // may not be listed yet: the row it gets now, or once it is listed, is the cursor's.
    if (auto* model = qobject_cast<DirectoryProxyModel*>(fileModel())) {
        model->setCurrentFile(picture()->path());
        if (model->currentRow() >= 0)
            m_open->cursor()->setCurrentRow(model->currentRow());
    }
    setCurrentZoomMode(zoomMode());
    zoom();
    refreshStatus();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    releaseListing();
}

void SPicView::showAdopted()
{
    clearSelectionIfAny();
    m_pic->setSelectable(true);
    setWindowTitle(PictureStatus::notSavedText());
    // Not shown here: a view without a parent would flash up as a window of its own. Whoever
    // places it shows it, and the resize on showing zooms.
    zoom();
}

void SPicView::releaseListing()
{
    if (auto* model = qobject_cast<DirectoryProxyModel*>(fileModel()))
        model->setListingHeld(false);
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
    waitWithCursor(m_open);
    return picture()->image();
}

QString SPicView::filePath() const
{
    return m_open->cursor()->filePath();
}

QString SPicView::fileName() const
{
    return m_open->cursor()->fileName();
}

QModelIndex SPicView::currentModelIndex() const
{
    return m_open->cursor()->currentIndex();
}

QAbstractItemModel* SPicView::fileModel() const
{
    return m_open->cursor()->model();
}

int SPicView::currentRow() const
{
    return m_open->cursor()->currentRow();
}

bool SPicView::isSaveable() const
{
    // A placeholder is never written over the file it stands for; a changed picture made in
    // memory has no file yet, and saving it asks for a name.
    return picture()->isModified() && !isBroken()
           && (!filePath().isEmpty() || picture()->isUnsavedNew());
}

ActionRules::State SPicView::actionState() const
{
    ActionRules::State state;
    state.hasView = true;
    state.broken = isBroken();
    state.slideshowRunning = slideshowRunning();
    state.undoAvailable = undoCount() > 0;
    state.redoAvailable = redoCount() > 0;
    state.saveable = isSaveable();
    state.hasFilePath = !filePath().isEmpty();
    state.marked = m_pic->mark()->mode() != MarkMode::None;
    state.row = m_open->cursor()->currentRow();
    state.rowCount = m_open->cursor()->rowCount();
    state.loop = Settings::instance()->imagesCentralWidget()->slideLoop();
    return state;
}

bool SPicView::isModified() const
{
    return picture()->isModified();
}

bool SPicView::isUnsavedNew() const
{
    return picture()->isUnsavedNew();
}

bool SPicView::isBroken() const
{
    return picture()->isBroken();
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

void SPicView::publishBrowseInfo()
{
    emit browseInfoChanged(browseText());
}

QString SPicView::browseText() const
{
    return PictureStatus::browseText(m_open->cursor()->currentRow(), m_open->cursor()->rowCount());
}

void SPicView::clearSelectionIfAny()
{
    if (m_pic->mark()->mode() != MarkMode::None)
        m_pic->clearSelection();
}

bool SPicView::prepareMove()
{
    // An empty list goes nowhere, so there is nothing to ask.
    if (m_open->cursor()->rowCount() == 0 || !moveAllowed())
        return false;
    updateShownSize();
    return true;
}

bool SPicView::moveAllowed()
{
    // An open adjustment dialog writes into this picture, so the view stays on its file.
    return !m_adjustments->isRunning() && confirmClose();
}

void SPicView::setCurrentIndex(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    // Choosing the shown picture again must not cost the user's edits a question.
    if (picture()->isModified() && m_open->cursor()->currentRow() == index.row())
        return;
    if (prepareMove())
        m_open->moveTo(index.row());
}

void SPicView::previous()
{
    if (prepareMove())
        m_open->previous();
}

void SPicView::next()
{
    if (prepareMove())
        m_open->next();
}

void SPicView::first()
{
    if (prepareMove())
        m_open->first();
}

void SPicView::last()
{
    if (prepareMove())
        m_open->last();
}

void SPicView::timerTimeout()
{
    if (prepareMove())
        m_open->tick();
}

void SPicView::updateCurrentImageIndex(int imageFileIndex)
{
    m_open->cursor()->setCurrentRow(imageFileIndex);
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
    waitWithCursor(m_open);
    const QString ownPath = filePath();
    const bool ownFile = !isUnsavedNew() && !ownPath.isEmpty()
                         && WriteQuestions::samePicture(ownPath, path);
    if (!m_saver->writeFile(path, format, ownPath))
        return false;
    picture()->setModified(false);
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
    return write(filePath(), picture()->format());
}

bool SPicView::confirmClose()
{
    // The question pauses a running slideshow; it stays stopped after Cancel or a failed save.
    const bool ran = slideshowRunning();
    if (ran)
        stopSlideshow();
    m_closeCancelled = false;
    using LeaveAnswer = WriteQuestions::LeaveAnswer;
    const LeaveAnswer answer = picture()->isModified()
                                   ? m_saver->askBeforeLeaving(filePath(), fileName())
                                   : LeaveAnswer::Leave;
    if (answer == LeaveAnswer::Cancelled)
        m_closeCancelled = true;
    if (ran && (answer == LeaveAnswer::Leave || answer == LeaveAnswer::Stay))
        startSlideshow();
    return answer == LeaveAnswer::Leave;
}

WriteQuestions::Choice SPicView::askAboutChanges()
{
    if (slideshowRunning())
        stopSlideshow();
    return m_saver->askAboutChanges(filePath(), fileName());
}

bool SPicView::saveChanges()
{
    return m_saver->saveChanges(filePath());
}

void SPicView::discardChanges()
{
    picture()->setModified(false);
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
    m_adjustments->run(AdjustmentDialogs::Kind::Rotate);
}

void SPicView::showRGBAdjustDialog()
{
    m_adjustments->run(AdjustmentDialogs::Kind::ColorBalance);
}

void SPicView::showDepthConversionDialog()
{
    m_adjustments->run(AdjustmentDialogs::Kind::Depth);
}

void SPicView::showHSVAdjustDialog()
{
    m_adjustments->run(AdjustmentDialogs::Kind::HueSaturation);
}

void SPicView::showBrightnessContrastDialog()
{
    m_adjustments->run(AdjustmentDialogs::Kind::BrightnessContrast);
}

void SPicView::showResizeDialog()
{
    m_adjustments->run(AdjustmentDialogs::Kind::Resize);
}

void SPicView::showInsertDialog()
{
    const QImage insert = ClipboardImage::read();
    if (insert.isNull()) {
        emit message(tr("Paste: No usable clipboard content, aborted."), 1000);
        return;
    }
    m_adjustments->run(AdjustmentDialogs::Kind::Insert, insert);
}

void SPicView::zoom()
{
    if (m_zoomPass->run())
        emit zoomChanged(m_zoomPass->zoomShown() ? PictureStatus::zoomText(m_pic->scale())
                                                 : QString());
}

void SPicView::zoomBy(double factor)
{
    m_zoomMode = 5;
    m_pic->setScale(ZoomModel::clampScale(factor * m_pic->scale()));
    zoom();
}

void SPicView::wheelEvent(QWheelEvent* event)
{
    zoomBy(ZoomModel::wheelFactor(event->angleDelta().y() / 120.0, event->modifiers()));
    // The wheel zooms; it never scrolls the picture.
    event->accept();
}

void SPicView::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    zoom();
}

void SPicView::refreshStatus()
{
    const QString path = filePath();
    const StatusTexts texts(*picture(), path, SizeWarning::limits());
    // Until a read is in, the pixels shown are not yet the file's to describe.
    const bool loading = picture()->isLoading();
    emit imageInfoChanged(loading ? PictureStatus::loadingText() : texts.imageInfo());
    if (texts.flagged() && !loading)
        SizeWarning::beep();
    emit browseInfoChanged(browseText());
    emit currentIndexChanged(currentModelIndex());
    // A placeholder has neither a selection nor a zoom to tell.
    const bool shown = !picture()->isBroken();
    emit markChanged(shown && m_pic->hasSelection() ? PictureStatus::markText(m_pic->selection())
                                                    : QString());
    // What the pointer read is of the pixels before; the next drag reads anew.
    emit MPIChanged(QString());
    emit zoomChanged(shown && m_zoomPass->zoomShown() ? PictureStatus::zoomText(m_pic->scale())
                                                      : QString());
    emit fileInfoChanged(texts.fileInfo());
    setWindowTitle(texts.title());
}

int SPicView::undoDepth(int stored)
{
    return EditHistory::undoDepth(stored);
}

int SPicView::undoCount() const
{
    return m_open->history()->undoCount();
}

int SPicView::redoCount() const
{
    return m_open->history()->redoCount();
}

void SPicView::pushUndo()
{
    // Every edit starts here, and edits the full pixels.
    waitWithCursor(m_open);
    m_open->edits()->backUp();
}

void SPicView::commit()
{
    m_open->edits()->keep(undoDepth(Settings::instance()->general()->undoN()));
}

void SPicView::rollback()
{
    m_open->edits()->rollback();
}

bool SPicView::applyEdit(const PictureEdits::Edit& edit)
{
    // Edits act on the full pixels.
    waitWithCursor(m_open);
    return m_open->edits()->apply(edit, undoDepth(Settings::instance()->general()->undoN()));
}

void SPicView::undo()
{
    waitWithCursor(m_open);
    if (m_open->history()->undoCount() == 0) {
        emit message(tr("Undo: No backups available, discontinued."), messageTime);
        return;
    }
    clearSelectionIfAny();
    m_open->edits()->undo();
}

void SPicView::redo()
{
    waitWithCursor(m_open);
    if (m_open->history()->redoCount() == 0) {
        emit message(tr("Redo: No backups available, discontinued."), messageTime);
        return;
    }
    clearSelectionIfAny();
    m_open->edits()->redo();
}

void SPicView::copy()
{
    waitWithCursor(m_open);
    const bool part = m_pic->hasSelection();
    emit message(part ? tr("Copy: Copy selected area...") : tr("Copy: Copy full image..."),
                 messageTime);
    QApplication::clipboard()->setImage(
        part ? picture()->image().copy(m_pic->selection()) : picture()->image(),
        QClipboard::Clipboard);
    emit copy_to_clipboard();
}

void SPicView::cut()
{
    if (!m_pic->hasSelection())
        return;
    waitWithCursor(m_open);
    emit message(tr("Cut: cutting selected area..."), messageTime);
    const QRect selection = m_pic->selection();
    QApplication::clipboard()->setImage(picture()->image().copy(selection), QClipboard::Clipboard);
    emit copy_to_clipboard();
    applyEdit([selection](QImage image) {
        imaging::blackenArea(image, selection);
        return image;
    });
}

void SPicView::reload()
{
    const QString path = filePath();
    if (path.isEmpty() || m_adjustments->isRunning() || !confirmClose())
        return;
    emit message(tr("Reload: Loading image from \"%1\"...").arg(path), 3000);
    loadFile(path);
}

bool SPicView::runAdjustment(const DialogFactory& createDialog, AdjustmentOptions options)
{
    return m_adjustments->run(createDialog, options);
}
