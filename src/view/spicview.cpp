#include "view/spicview.h"

#include "document/clipboardimage.h"
#include "document/edithistory.h"
#include "document/filecursor.h"
#include "document/picture.h"
#include "document/pictureedits.h"
#include "document/picturestatus.h"
#include "document/statustexts.h"
#include "imaging/blackenarea.h"
#include "platformwidgets/lumoscrollbar.h"
#include "settings/settings.h"
#include "view/adjustmentdialogs.h"
#include "view/adjustmentrunner.h"
#include "view/handtool.h"
#include "view/pictureopener.h"
#include "view/picturesaver.h"
#include "view/sizewarning.h"
#include "view/smark.h"
#include "view/spic.h"
#include "view/touchgestures.h"
#include "view/zoommodel.h"
#include "view/zoompass.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGestureEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QWheelEvent>

#include <memory>

namespace {

const int messageTime = 1000;

} // namespace

SPicView::SPicView(int slideDelay, QWidget* parent)
    : QScrollArea(parent)
    , m_history(new EditHistory(this))
    , m_picture(new Picture(this))
    , m_pic(new SPic(this))
    , m_cursor(new FileCursor(slideDelay, this))
    , m_saver(new PictureSaver(m_picture, this))
    , m_edits(new PictureEdits(m_picture, m_history, this))
    , m_adjustments(std::make_unique<AdjustmentRunner>(this, m_edits))
    , m_opener(new PictureOpener(this, m_picture, m_cursor, m_history))
    , m_zoomPass(std::make_unique<ZoomPass>(this))
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
    connect(m_edits, &PictureEdits::changed, this, &SPicView::showEdit);

    // An animation waits while a dialog is open or the picture is out of sight.
    m_picture->setAnimationHold(
        [this] { return !isVisible() || QApplication::activeModalWidget() != nullptr; });

    setBackgroundRole(QPalette::Dark);
    m_zoomMode = zoomMode();
    setFocusPolicy(Qt::StrongFocus);

    m_cursor->setMoveGuard([this] { return moveAllowed(); });
    m_cursor->setReader([this](const QString& path) { loadFile(path); });
    connect(m_cursor, &FileCursor::atTheFirst, this, &SPicView::atTheFirst);
    connect(m_cursor, &FileCursor::atTheEnd, this, &SPicView::atTheEnd);
    connect(m_cursor, &FileCursor::hasNext, this, &SPicView::hasNext);
    connect(m_cursor, &FileCursor::hasPrevious, this, &SPicView::hasPrevious);
    connect(m_cursor, &FileCursor::slideshowStarted, this, &SPicView::slideshow_started);
    connect(m_cursor, &FileCursor::slideshowStopped, this, &SPicView::slideshow_stopped);
    connect(m_cursor, &FileCursor::listChanged, this, &SPicView::publishBrowseInfo);

    // Everything actionState reads. A status refresh follows every read and every edit.
    const auto changed = &SPicView::actionStateChanged;
    for (auto signal : {&FileCursor::atTheFirst, &FileCursor::atTheEnd, &FileCursor::hasNext,
                        &FileCursor::hasPrevious, &FileCursor::slideshowStarted,
                        &FileCursor::slideshowStopped, &FileCursor::listChanged})
        connect(m_cursor, signal, this, changed);
    connect(this, &SPicView::currentIndexChanged, this, changed);
    connect(m_history, &EditHistory::backupAdded, this, changed);
    connect(m_history, &EditHistory::undoAvailableChanged, this, changed);
    connect(m_history, &EditHistory::redoAvailableChanged, this, changed);
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
        if (currentRow() + 1 < m_cursor->rowCount())
            next();
    });
}

SPicView::~SPicView() = default;

void SPicView::openFile(const QString& path)
{
    m_opener->openFile(path);
}

void SPicView::openList(const QStringList& files)
{
    m_opener->openList(files);
}

void SPicView::setImage(const QImage& image)
{
    m_opener->setImage(image);
}

void SPicView::newImage(int width, int height, int depth, uint pixel)
{
    m_opener->newImage(width, height, depth, pixel);
}

void SPicView::importImage(const QImage& image)
{
    m_opener->setImage(image);
    m_edits->markImported();
}

void SPicView::loadFile(const QString& path)
{
    m_opener->loadFile(path);
}

bool SPicView::isLoading() const
{
    return m_picture->isLoading();
}

void SPicView::waitUntilLoaded()
{
    m_opener->waitUntilLoaded();
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
    m_opener->waitUntilLoaded();
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
    state.row = m_cursor->currentRow();
    state.rowCount = m_cursor->rowCount();
    state.loop = Settings::instance()->imagesCentralWidget()->slideLoop();
    return state;
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
    return !m_adjustments->isRunning() && confirmClose();
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
    return m_opener->write(path, format, m_saver);
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

PictureSaver::Choice SPicView::askAboutChanges()
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
    m_picture->setModified(false);
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
    m_zoomPass->run();
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
    const StatusTexts texts(*m_picture, path, SizeWarning::limits());
    // Until a read is in, the pixels shown are not yet the file's to describe.
    const bool loading = m_picture->isLoading();
    emit imageInfoChanged(loading ? PictureOpener::loadingText() : texts.imageInfo());
    if (texts.flagged() && !loading)
        SizeWarning::beep();
    emit browseInfoChanged(browseText());
    emit currentIndexChanged(currentModelIndex());
    // A placeholder has neither a selection nor a zoom to tell.
    const bool shown = !m_picture->isBroken();
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
    return m_history->undoCount();
}

int SPicView::redoCount() const
{
    return m_history->redoCount();
}

void SPicView::pushUndo()
{
    // Every edit starts here, and edits the full pixels.
    m_opener->waitUntilLoaded();
    m_edits->backUp();
}

void SPicView::commit()
{
    m_edits->keep(undoDepth(Settings::instance()->general()->undoN()));
}

void SPicView::rollback()
{
    m_edits->rollback();
}

bool SPicView::applyEdit(const PictureEdits::Edit& edit)
{
    // Edits act on the full pixels.
    m_opener->waitUntilLoaded();
    return m_edits->apply(edit, undoDepth(Settings::instance()->general()->undoN()));
}

void SPicView::undo()
{
    m_opener->waitUntilLoaded();
    if (m_history->undoCount() == 0) {
        emit message(tr("Undo: No backups available, discontinued."), messageTime);
        return;
    }
    clearSelectionIfAny();
    m_edits->undo();
}

void SPicView::redo()
{
    m_opener->waitUntilLoaded();
    if (m_history->redoCount() == 0) {
        emit message(tr("Redo: No backups available, discontinued."), messageTime);
        return;
    }
    clearSelectionIfAny();
    m_edits->redo();
}

void SPicView::copy()
{
    m_opener->waitUntilLoaded();
    const bool part = m_pic->hasSelection();
    emit message(part ? tr("Copy: Copy selected area...") : tr("Copy: Copy full image..."),
                 messageTime);
    QApplication::clipboard()->setImage(
        part ? m_picture->image().copy(m_pic->selection()) : m_picture->image(),
        QClipboard::Clipboard);
    emit copy_to_clipboard();
}

void SPicView::cut()
{
    if (!m_pic->hasSelection())
        return;
    m_opener->waitUntilLoaded();
    emit message(tr("Cut: cutting selected area..."), messageTime);
    const QRect selection = m_pic->selection();
    QApplication::clipboard()->setImage(m_picture->image().copy(selection), QClipboard::Clipboard);
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

void SPicView::showEdit()
{
    zoom();
    refreshStatus();
    emit actionStateChanged();
}
