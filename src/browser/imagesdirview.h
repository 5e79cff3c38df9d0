#pragma once

#include "browser/thumbnailview.h"
#include "platform/lumofm/entry.h"

#include <QPointer>
#include <QStringList>

#include <memory>

class ImageFileFilterModel;
class LumoScrollBar;
class QAction;
class QFileSystemModel;
class QKeySequence;
class QMenu;
class QStandardItemModel;

namespace LumoFM {
class Navigation;
}

// The file browser's thumbnails of the image files and subdirectories of the current directory:
// follows the browser's navigation, opens images, descends into directories, zooms with a pinch
// and hands selected files to the desktop's file tools.
class ImagesDirView : public ThumbnailView
{
    Q_OBJECT

public:
    static constexpr int minimumThumbnailSize = 32;
    static constexpr int maximumThumbnailSize = 256;

    explicit ImagesDirView(LumoFM::Navigation* navigation, QWidget* parent = nullptr);

    // Path of the current item; empty when there is none.
    QString currentFilePath() const;
    // Paths of the selected items, in the order they were selected.
    QStringList selectedFilePaths() const;
    // The item of a listed file or directory; invalid when it is not shown.
    QModelIndex indexOfPath(const QString& path) const;

    // Shows the directory, or an empty view when the file-system model cannot index it.
    void setDirectory(const QString& localPath);

    void setTabletMode(bool tabletMode);
    bool tabletMode() const { return m_tabletMode; }
    int thumbnailSize() const { return m_thumbnailSize; }
    bool isShowingPlaceholder() const;

    // The grid of icon mode: room for the thumbnail and two lines of its name.
    static QSize iconModeGridSize(int iconWidth, int fontHeight);
    static int boundedThumbnailSize(int size);

    // The context menu for the current item, or null when there is no current item.
    std::unique_ptr<QMenu> createContextMenu();

signals:
    void imageActivated(const QString& imageFilePath);
    void imagesActivated(const QStringList& imageFilePaths);
    void currentFilePathChanged();
    void thumbnailSizeChanged(int size);

public slots:
    void setThumbnailSize(int size);
    void setIconViewMode(bool enable);
    void slotImageActivated(const QModelIndex& index);
    void slotOpenImageFiles();
    void slotRemoveImageFile();
    void slotRemoveToTrashImageFile();
    void slotImageFileProperties();
    void newEntrySelected(const LumoFM::Entry& entry);

protected slots:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool gestureEvent(QGestureEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showModel(QAbstractItemModel* model);
    void applyThumbnailSize(int size);
    QAction* makeShortcutAction(const QString& text, const QKeySequence& keys,
                                void (ImagesDirView::*slot)());
    void startFileTool(const QString& tool, const QString& option, const QString& workingDir);
    QString shownDirectory() const;

    QPointer<LumoFM::Navigation> m_navigation;
    // The folder is read once the view is first seen, not while a picture opened at start is.
    bool m_listing = false;
    QFileSystemModel* m_fsModel;
    ImageFileFilterModel* m_imageModel;
    QStandardItemModel* m_placeholderModel;
    LumoScrollBar* m_horizontalScrollBar;
    LumoScrollBar* m_verticalScrollBar;
    QAction* m_removeAction;
    QAction* m_trashAction;
    int m_thumbnailSize = minimumThumbnailSize;
    // The size a pinch has reached before rounding, so that slow pinches of many small steps
    // still move the size.
    qreal m_pinchedSize = minimumThumbnailSize;
    bool m_tabletMode = false;
};
