#pragma once

#include "document/actionrules.h"
#include "document/filecursor.h"
#include "document/openpicture.h"
#include "document/pictureedits.h"
#include "view/writequestions.h"

#include <QFlags>
#include <QModelIndex>
#include <QPointer>
#include <QScrollArea>

#include <functional>
#include <memory>

class AdjustmentDialog;
class AdjustmentRunner;
class Picture;
class PictureAdjustment;
class LumoScrollBar;
class QAbstractItemModel;
class QImage;
class QShortcut;
class SPic;
class TouchGestures;
class ZoomPass;

// The scroll area that shows an OpenPicture on a canvas at a zoom. It follows what the document
// announces and asks the user about unsaved edits before it moves the document on.
class SPicView : public QScrollArea
{
    Q_OBJECT

public:
    // What the adjustment protocol does around a dialog besides backing up and committing.
    enum class AdjustmentOption {
        ClearsSelection = 0x1,
        RefreshesStatus = 0x2,
        // The dialog's constructor already changed the picture (insert), so show it at once.
        RedrawsBeforeRun = 0x4,
    };
    Q_DECLARE_FLAGS(AdjustmentOptions, AdjustmentOption)

    using DialogFactory =
        std::function<AdjustmentDialog*(SPicView* parent, PictureAdjustment* adjustment)>;

    static constexpr int defaultMargin = 20;
    // What is read before the whole picture, shown in area at the zoom mode: a stand-in at the
    // size a fit shows, or at 100 % the top left corner.
    struct FirstRead
    {
        PictureReader::ShownSize shownSize;
        QSize corner;
    };
    static FirstRead firstRead(int zoomMode, const QSize& area, int margin, double pixelRatio);

    explicit SPicView(int slideDelay, QWidget* parent = nullptr);
    ~SPicView() override;

    // Filling the view. Files are read in the background; isLoading tells while one is.
    void openFile(const QString& path);
    void openList(const QStringList& files);
    void setImage(const QImage& image);
    void newImage(int width, int height, int depth, uint pixel);
    // A picture handed in from outside (the scanner, another program) exists nowhere else, so
    // it counts as changed until it is written.
    void importImage(const QImage& image);
    void loadFile(const QString& path);
    bool isLoading() const;
    // Blocks, with a busy cursor, until the file being read is in: edits need the full pixels.
    void waitUntilLoaded();

    // The stored zoom mode the view starts in; the full-screen view keeps its own.
    virtual int zoomMode() const;
    virtual void setZoomMode(int mode);
    int currentZoomMode() const { return m_zoomMode; }
    void setCurrentZoomMode(int mode) { m_zoomMode = mode; }
    void zoomBy(double factor);
    double scale() const;

    // The document.
    SPic* pic() const { return m_pic; }
    // The full pixels, for whoever prints, copies or checks them: waits for a read under way.
    const QImage& image() const;
    QString filePath() const;
    QString fileName() const;
    QModelIndex currentModelIndex() const;
    QAbstractItemModel* fileModel() const;
    int currentRow() const;
    Picture* picture() const { return m_open->picture(); }
    OpenPicture* document() const { return m_open; }
    bool isModified() const;
    bool isUnsavedNew() const;
    bool isSaveable() const;
    bool isBroken() const;
    // What the actions of a window see of this picture; the clipboard is the window's to add.
    // actionStateChanged tells when any of it may have changed.
    ActionRules::State actionState() const;

    // Writes the picture; false (after telling the user why) when the file could not be written.
    bool write(const QString& path, const QString& format);
    bool confirmClose();
    // The last question about closing was cancelled: whoever asked should stop, not just keep
    // this picture.
    bool closeCancelled() const { return m_closeCancelled; }
    // For leaving many pictures at once: the question alone (a running slideshow stops for it),
    // and then, once every picture has its answer, what was chosen.
    WriteQuestions::Choice askAboutChanges();
    bool saveChanges();
    void discardChanges();

    // Edit history and the operations on the picture itself. Every change of the pixels goes
    // through the picture's edits, and the view follows what they announce.
    void pushUndo();
    void commit();
    void rollback();
    // Backs up, applies and keeps one edit; false when it made no image.
    bool applyEdit(const PictureEdits::Edit& edit);
    void undo();
    void redo();
    void copy();
    void cut();
    void reload();
    int undoCount() const;
    int redoCount() const;
    static int undoDepth(int stored);
    // Runs one adjustment dialog under the history protocol; true when it was accepted.
    bool runAdjustment(const DialogFactory& createDialog, AdjustmentOptions options);

    // Moving through the list of files, and the slideshow.
    void previous();
    void next();
    void first();
    void last();
    void startSlideshow() { m_open->cursor()->startSlideshow(); }
    void stopSlideshow() { m_open->cursor()->stopSlideshow(); }
    bool slideshowRunning() const { return m_open->cursor()->slideshowRunning(); }
    int slideDelay() const { return m_open->cursor()->slideDelay(); }
    void setSlideDelay(int seconds) { m_open->cursor()->setSlideDelay(seconds); }

    // Presentation.
    int margin() const { return m_margin; }
    void setMargin(int margin) { m_margin = margin; }
    bool indicatorMode() const { return m_indicatorMode; }
    void setIndicatorMode(bool on);
    bool isFullScreenMode() const { return m_fullScreenMode; }
    void setFullScreenMode(bool on);

    bool eventFilter(QObject* watched, QEvent* event) override;
    QSize sizeHint() const override;

signals:
    void zoomChanged(const QString& text);
    void imageInfoChanged(const QString& text);
    void browseInfoChanged(const QString& text);
    void currentIndexChanged(const QModelIndex& index);
    void dirModelChanged(QWidget* view);
    void fileInfoChanged(const QString& text);
    void MPIChanged(const QString& text);
    void markChanged(const QString& text);
    void message(const QString& text, int milliseconds);
    void slideshow_started();
    void slideshow_stopped();
    void atTheEnd();
    void atTheFirst();
    void hasNext();
    void hasPrevious();
    void addToUndo();
    void copy_to_clipboard();
    void picClosed(QWidget* view);
    void selectionContextMenuRequested(const QPoint& globalPos);
    void contextMenuRequested(const QPoint& globalPos);
    void fullScreenPicClosed();
    void exitFullScreenRequested();
    void toggleFullScreenRequested();
    void undoStatusChanged(bool available);
    void redoStatusChanged(bool available);
    void toggleFullscreenPanel();
    // A file was read and shown; whoever keeps the recent files records it.
    void fileRead(const QString& path);
    void actionStateChanged();

public slots:
    void showRotateDialog();
    void showRGBAdjustDialog();
    void showDepthConversionDialog();
    void showHSVAdjustDialog();
    void showBrightnessContrastDialog();
    void showResizeDialog();
    void showInsertDialog();
    void zoom();
    void refreshStatus();
    void timerTimeout();
    bool save();
    void setCurrentIndex(const QModelIndex& index);
    void updateCurrentImageIndex(int imageFileIndex);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void updateBackgroundRole();
    void publishBrowseInfo();
    QString browseText() const;
    void clearSelectionIfAny();
    // The document's news: what changed decides what is redrawn and told.
    void follow(OpenPicture::Aspects aspects);
    void followList();
    void showStandIn();
    void showRead();
    void showAdopted();
    // Lets the directory be listed once the picture is on screen.
    void releaseListing();
    // How the document shows pictures it reads from now on, from the zoom and the room there is.
    void updateShownSize();
    // Asked before every move: false leaves the document where it is.
    bool moveAllowed();
    // Asks before a move and readies the document for the read; false: no move.
    bool prepareMove();

    OpenPicture* m_open = nullptr;
    // The list shown last, to tell when the document's list is another.
    QPointer<QAbstractItemModel> m_shownModel;
    bool m_hadModel = false;
    int m_zoomMode = 4;
    SPic* m_pic = nullptr;
    int m_margin = defaultMargin;
    WriteQuestions* m_saver = nullptr;
    bool m_closeCancelled = false;
    bool m_fullScreenMode = false;
    QShortcut* m_exitShortcut = nullptr;
    bool m_indicatorMode = false;
    LumoScrollBar* m_hScrollBar = nullptr;
    LumoScrollBar* m_vScrollBar = nullptr;
    int m_savedFrameStyle = 0;
    TouchGestures* m_touch = nullptr;
    std::unique_ptr<AdjustmentRunner> m_adjustments;
    std::unique_ptr<ZoomPass> m_zoomPass;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(SPicView::AdjustmentOptions)
