#include "settings/settings.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString generalKey(const char* suffix)
{
    return QStringLiteral("/lumo-apps/lumo-image") + QLatin1String(suffix);
}

int readInt(const QSettings* store, const QString& key, int fallback)
{
    return store->value(key, fallback).toInt();
}

bool readBool(const QSettings* store, const QString& key, bool fallback)
{
    return store->value(key, fallback).toBool();
}

QByteArray readBytes(const QSettings* store, const char* key)
{
    return store->value(QLatin1String(key), QByteArray()).toByteArray();
}

} // namespace

// General

int Settings::General::qualityJPEG() const { return readInt(m_store, generalKey("/Quality/JPEG"), 0); }
void Settings::General::setQualityJPEG(int value)
{
    m_store->setValue(generalKey("/Quality/JPEG"), value);
}
qint64 Settings::General::decodingMemoryLimitMB() const
{
    return m_store->value(generalKey("/Decoding/memoryLimitMB"), 0).toLongLong();
}
int Settings::General::qualityPNG() const { return readInt(m_store, generalKey("/Quality/PNG"), 0); }
void Settings::General::setQualityPNG(int value)
{
    m_store->setValue(generalKey("/Quality/PNG"), value);
}
int Settings::General::qualityWEBP() const
{
    return readInt(m_store, generalKey("/Quality/WEBP"), 0);
}
void Settings::General::setQualityWEBP(int value)
{
    m_store->setValue(generalKey("/Quality/WEBP"), value);
}
int Settings::General::undoN() const { return readInt(m_store, generalKey("/undoN"), 10); }
void Settings::General::setUndoN(int value) { m_store->setValue(generalKey("/undoN"), value); }
bool Settings::General::showLastFiles() const
{
    return readBool(m_store, generalKey("/showLastFiles"), true);
}
void Settings::General::setShowLastFiles(bool value)
{
    m_store->setValue(generalKey("/showLastFiles"), value);
}
int Settings::General::lastN() const { return readInt(m_store, generalKey("/lastN"), 10); }
void Settings::General::setLastN(int value) { m_store->setValue(generalKey("/lastN"), value); }
QStringList Settings::General::lasts() const
{
    return m_store->value(generalKey("/lasts"), QStringList()).toStringList();
}
void Settings::General::setLasts(const QStringList& value)
{
    m_store->setValue(generalKey("/lasts"), value);
}
QString Settings::General::lastDir() const
{
    const QString stored = m_store->value(generalKey("/lastDir"), QString()).toString();
    if (!stored.isEmpty())
        return stored;
    // The desktop folder as XDG names it, else ~/Desktop.
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QDir::cleanPath(desktop.isEmpty() ? QDir::homePath() + QStringLiteral("/Desktop")
                                             : desktop);
}
void Settings::General::setLastDir(const QString& value)
{
    m_store->setValue(generalKey("/lastDir"), value);
}
int Settings::General::zoomModeInt() const { return readInt(m_store, generalKey("/zoomModeInt"), 4); }
void Settings::General::setZoomModeInt(int value)
{
    m_store->setValue(generalKey("/zoomModeInt"), value);
}
bool Settings::General::watchWidthMin() const
{
    return readBool(m_store, generalKey("/Watch/WatchWidthMin"), false);
}
bool Settings::General::watchWidthMax() const
{
    return readBool(m_store, generalKey("/Watch/WatchWidthMax"), false);
}
bool Settings::General::watchHeightMin() const
{
    return readBool(m_store, generalKey("/Watch/WatchHeightMin"), false);
}
bool Settings::General::watchHeightMax() const
{
    return readBool(m_store, generalKey("/Watch/WatchHeightMax"), false);
}
int Settings::General::widthMinValue() const
{
    return readInt(m_store, generalKey("/Watch/widthMinValue"), 100);
}
int Settings::General::widthMaxValue() const
{
    return readInt(m_store, generalKey("/Watch/widthMaxValue"), 100);
}
int Settings::General::heightMinValue() const
{
    return readInt(m_store, generalKey("/Watch/heightMinValue"), 100);
}
int Settings::General::heightMaxValue() const
{
    return readInt(m_store, generalKey("/Watch/heightMaxValue"), 100);
}

// FilesCentralWidget

bool Settings::FilesCentralWidget::iconViewMode() const
{
    return readBool(m_store, QStringLiteral("FilesCentralWidget/iconViewMode"), false);
}
void Settings::FilesCentralWidget::setIconViewMode(bool value)
{
    m_store->setValue(QStringLiteral("FilesCentralWidget/iconViewMode"), value);
}
int Settings::FilesCentralWidget::thumbnailSizeInIconMode() const
{
    return readInt(m_store, QStringLiteral("FilesCentralWidget/thumbnailSizeInIconMode"), 48);
}
void Settings::FilesCentralWidget::setThumbnailSizeInIconMode(int value)
{
    m_store->setValue(QStringLiteral("FilesCentralWidget/thumbnailSizeInIconMode"), value);
}
int Settings::FilesCentralWidget::thumbnailSizeInListMode() const
{
    return readInt(m_store, QStringLiteral("FilesCentralWidget/thumbnailSizeInListMode"), 32);
}
void Settings::FilesCentralWidget::setThumbnailSizeInListMode(int value)
{
    m_store->setValue(QStringLiteral("FilesCentralWidget/thumbnailSizeInListMode"), value);
}

// ImagesCentralWidget

bool Settings::ImagesCentralWidget::thumbnailsBarVisible() const
{
    return readBool(m_store, QStringLiteral("ImagesCentralWidget/thumbnailsBarVisible"), true);
}
void Settings::ImagesCentralWidget::setThumbnailsBarVisible(bool value)
{
    m_store->setValue(QStringLiteral("ImagesCentralWidget/thumbnailsBarVisible"), value);
}
QByteArray Settings::ImagesCentralWidget::thumbnailsBarSplitterSizes() const
{
    return readBytes(m_store, "ImagesCentralWidget/thumbnailsBarSplitterSizes");
}
void Settings::ImagesCentralWidget::setThumbnailsBarSplitterSizes(const QByteArray& value)
{
    m_store->setValue(QStringLiteral("ImagesCentralWidget/thumbnailsBarSplitterSizes"), value);
}
bool Settings::ImagesCentralWidget::singleWindowMode() const
{
    return readBool(m_store, QStringLiteral("ImagesCentralWidget/singleWindowMode"), true);
}
void Settings::ImagesCentralWidget::setSingleWindowMode(bool value)
{
    m_store->setValue(QStringLiteral("ImagesCentralWidget/singleWindowMode"), value);
}
bool Settings::ImagesCentralWidget::tabbedWindowMode() const
{
    return readBool(m_store, QStringLiteral("ImagesCentralWidget/tabbedWindowMode"), false);
}
void Settings::ImagesCentralWidget::setTabbedWindowMode(bool value)
{
    m_store->setValue(QStringLiteral("ImagesCentralWidget/tabbedWindowMode"), value);
}
int Settings::ImagesCentralWidget::slideDelay() const
{
    return readInt(m_store, QStringLiteral("ImagesCentralWidget/slideDelay"), 5);
}
void Settings::ImagesCentralWidget::setSlideDelay(int value)
{
    m_store->setValue(QStringLiteral("ImagesCentralWidget/slideDelay"), value);
}
bool Settings::ImagesCentralWidget::slideLoop() const
{
    return readBool(m_store, QStringLiteral("ImagesCentralWidget/slideLoop"), false);
}
void Settings::ImagesCentralWidget::setSlideLoop(bool value)
{
    if (value == slideLoop())
        return;
    m_store->setValue(QStringLiteral("ImagesCentralWidget/slideLoop"), value);
    emit Settings::instance()->slideLoopChanged(value);
}

// ScanDialog

QSize Settings::ScanDialog::defaultSize(const QSize& available)
{
    return QSize(qMin(800, available.width()), qMin(600, available.height()));
}

QSize Settings::ScanDialog::size() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableGeometry().size() : QSize(800, 600);
    return m_store->value(QStringLiteral("ScanDialog/Size"), defaultSize(available)).toSize();
}
void Settings::ScanDialog::setSize(const QSize& value)
{
    m_store->setValue(QStringLiteral("ScanDialog/Size"), value);
}

// MetaInfoWidget

int Settings::MetaInfoWidget::firstColumnWidth() const
{
    return readInt(m_store, QStringLiteral("MetaInfoWidget/firstColumnWidth"), 0);
}
void Settings::MetaInfoWidget::setFirstColumnWidth(int value)
{
    m_store->setValue(QStringLiteral("MetaInfoWidget/firstColumnWidth"), value);
}

// WindowState

QByteArray Settings::WindowState::filesWindowState() const
{
    return readBytes(m_store, "WindowState/filesWindowState");
}
void Settings::WindowState::setFilesWindowState(const QByteArray& value)
{
    m_store->setValue(QStringLiteral("WindowState/filesWindowState"), value);
}
QByteArray Settings::WindowState::imagesWindowState() const
{
    return readBytes(m_store, "WindowState/imagesWindowState");
}
void Settings::WindowState::setImagesWindowState(const QByteArray& value)
{
    m_store->setValue(QStringLiteral("WindowState/imagesWindowState"), value);
}

// FullscreenPicView

int Settings::FullscreenPicView::zoomMode() const
{
    return readInt(m_store, QStringLiteral("FullscreenPicView/zoomMode"), 0);
}
void Settings::FullscreenPicView::setZoomMode(int value)
{
    m_store->setValue(QStringLiteral("FullscreenPicView/zoomMode"), value);
}

// Settings

Settings::Settings()
    : m_store(new QSettings(this))
    , m_general(std::make_unique<General>(m_store))
    , m_filesCentralWidget(std::make_unique<FilesCentralWidget>(m_store))
    , m_imagesCentralWidget(std::make_unique<ImagesCentralWidget>(m_store))
    , m_scanDialog(std::make_unique<ScanDialog>(m_store))
    , m_metaInfoWidget(std::make_unique<MetaInfoWidget>(m_store))
    , m_windowState(std::make_unique<WindowState>(m_store))
    , m_fullscreenPicView(std::make_unique<FullscreenPicView>(m_store))
{
}

Settings::~Settings() = default;

Settings* Settings::instance()
{
    static std::unique_ptr<Settings> holder(new Settings);
    return holder.get();
}

void Settings::sync()
{
    instance()->m_store->sync();
}
