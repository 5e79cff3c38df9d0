#pragma once

#include <QByteArray>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

// The program's one persistent store: a typed getter per key, a setter where the program writes.
// Setters do not flush; callers call sync() at the moments they persist.
class Settings : public QObject
{
    Q_OBJECT

public:
    // Keys under "/lumo-apps/lumo-image".
    class General
    {
    public:
        explicit General(QSettings* store) : m_store(store) {}
        int qualityJPEG() const;
        void setQualityJPEG(int value);
        int qualityPNG() const;
        void setQualityPNG(int value);
        int qualityWEBP() const;
        void setQualityWEBP(int value);
        int undoN() const;
        void setUndoN(int value);
        bool showLastFiles() const;
        void setShowLastFiles(bool value);
        int lastN() const;
        void setLastN(int value);
        QStringList lasts() const;
        void setLasts(const QStringList& value);
        // An empty stored value reads as the desktop directory.
        QString lastDir() const;
        void setLastDir(const QString& value);
        int zoomModeInt() const;
        // Memory each decoder helper may take, in MiB; 0 or less for the default.
        qint64 decodingMemoryLimitMB() const;
        void setZoomModeInt(int value);
        bool watchWidthMin() const;
        bool watchWidthMax() const;
        bool watchHeightMin() const;
        bool watchHeightMax() const;
        int widthMinValue() const;
        int widthMaxValue() const;
        int heightMinValue() const;
        int heightMaxValue() const;

    private:
        QSettings* m_store;
    };

    class FilesCentralWidget
    {
    public:
        explicit FilesCentralWidget(QSettings* store) : m_store(store) {}
        bool iconViewMode() const;
        void setIconViewMode(bool value);
        int thumbnailSizeInIconMode() const;
        void setThumbnailSizeInIconMode(int value);
        int thumbnailSizeInListMode() const;
        void setThumbnailSizeInListMode(int value);

    private:
        QSettings* m_store;
    };

    class ImagesCentralWidget
    {
    public:
        explicit ImagesCentralWidget(QSettings* store) : m_store(store) {}
        bool thumbnailsBarVisible() const;
        void setThumbnailsBarVisible(bool value);
        QByteArray thumbnailsBarSplitterSizes() const;
        void setThumbnailsBarSplitterSizes(const QByteArray& value);
        bool singleWindowMode() const;
        void setSingleWindowMode(bool value);
        bool tabbedWindowMode() const;
        void setTabbedWindowMode(bool value);
        int slideDelay() const;
        void setSlideDelay(int value);
        bool slideLoop() const;
        // Tells Settings::slideLoopChanged when the value changes.
        void setSlideLoop(bool value);

    private:
        QSettings* m_store;
    };

    class ScanDialog
    {
    public:
        explicit ScanDialog(QSettings* store) : m_store(store) {}
        // Defaults to 800 by 600, cut to the primary screen's available area.
        QSize size() const;
        void setSize(const QSize& value);
        static QSize defaultSize(const QSize& available);

    private:
        QSettings* m_store;
    };

    class MetaInfoWidget
    {
    public:
        explicit MetaInfoWidget(QSettings* store) : m_store(store) {}
        int firstColumnWidth() const;
        void setFirstColumnWidth(int value);

    private:
        QSettings* m_store;
    };

    class WindowState
    {
    public:
        explicit WindowState(QSettings* store) : m_store(store) {}
        QByteArray filesWindowState() const;
        void setFilesWindowState(const QByteArray& value);
        QByteArray imagesWindowState() const;
        void setImagesWindowState(const QByteArray& value);

    private:
        QSettings* m_store;
    };

    class FullscreenPicView
    {
    public:
        explicit FullscreenPicView(QSettings* store) : m_store(store) {}
        int zoomMode() const;
        void setZoomMode(int value);

    private:
        QSettings* m_store;
    };

    static Settings* instance();
    static void sync();

    General* general() const { return m_general.get(); }
    FilesCentralWidget* filesCentralWidget() const { return m_filesCentralWidget.get(); }
    ImagesCentralWidget* imagesCentralWidget() const { return m_imagesCentralWidget.get(); }
    ScanDialog* scanDialog() const { return m_scanDialog.get(); }
    MetaInfoWidget* metaInfoWidget() const { return m_metaInfoWidget.get(); }
    WindowState* windowState() const { return m_windowState.get(); }
    FullscreenPicView* fullscreenPicView() const { return m_fullscreenPicView.get(); }

    QSettings* store() const { return m_store; }

    ~Settings() override;

signals:
    // Several controls show the loop at once, in the image window and full screen.
    void slideLoopChanged(bool loop);

private:
    Settings();

    QSettings* m_store;
    std::unique_ptr<General> m_general;
    std::unique_ptr<FilesCentralWidget> m_filesCentralWidget;
    std::unique_ptr<ImagesCentralWidget> m_imagesCentralWidget;
    std::unique_ptr<ScanDialog> m_scanDialog;
    std::unique_ptr<MetaInfoWidget> m_metaInfoWidget;
    std::unique_ptr<WindowState> m_windowState;
    std::unique_ptr<FullscreenPicView> m_fullscreenPicView;
};
