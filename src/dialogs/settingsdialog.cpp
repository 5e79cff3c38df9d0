#include "dialogs/settingsdialog.h"

#include "document/recentfiles.h"
#include "settings/settings.h"
#include "view/zoommodel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QSpinBox* makeSpinBox(int minimum, int maximum, const QString& name, QWidget* parent)
{
    auto* spinBox = new QSpinBox(parent);
    spinBox->setObjectName(name);
    spinBox->setRange(minimum, maximum);
    spinBox->setSingleStep(1);
    return spinBox;
}

// The JPEG and WebP boxes show the lowest value as "Default", which stands for every stored
// value the writer does not take as a quality.
int qualityShown(int stored)
{
    return stored >= 1 && stored <= 100 ? stored : 0;
}

// The writer hands the PNG value to the image library as a quality, which turns it into a
// zlib level 9..0; a negative one leaves the library's own level, shown as -1.
int pngLevel(int stored)
{
    return stored < 0 ? -1 : (100 - qMin(stored, 100)) * 9 / 91;
}

int pngStored(int level)
{
    return level < 0 ? -1 : 100 - (level * 91 + 8) / 9;
}

// The modes a view acts on, and what every other stored value does: keep the scale. That entry
// carries the stored value itself, so an untouched box stores nothing new.
QComboBox* makeZoomComboBox(int stored, const QString& name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItem(SettingsDialog::tr("Insert to window"), ZoomModel::fitMode);
    box->addItem(SettingsDialog::tr("Fit, no enlarging"), ZoomModel::fitNoEnlargingMode);
    box->addItem(SettingsDialog::tr("True size"), ZoomModel::trueSizeMode);
    const int index = box->findData(stored);
    box->addItem(SettingsDialog::tr("Keep the scale"), index < 0 ? stored : ZoomModel::manualMode);
    box->setCurrentIndex(index < 0 ? box->count() - 1 : index);
    return box;
}

// Whether the box holds another mode than the stored one.
bool modeChanged(const QComboBox* box, int stored)
{
    return box->currentData().toInt() != stored;
}

} // namespace

SettingsDialog::SettingsDialog(RecentFiles* recentFiles, QWidget* parent)
    : QDialog(parent)
    , m_recentFiles(recentFiles)
    , m_undoSpinBox(makeSpinBox(1, 127, QStringLiteral("undoSpinBox"), this))
    , m_showLastFilesCheckBox(new QCheckBox(tr("&Show list in File menu"), this))
    , m_lastNSpinBox(makeSpinBox(1, 100, QStringLiteral("lastNSpinBox"), this))
    , m_jpegQualitySpinBox(makeSpinBox(0, 100, QStringLiteral("jpegQualitySpinBox"), this))
    , m_pngCompressionSpinBox(makeSpinBox(-1, 9, QStringLiteral("pngCompressionSpinBox"), this))
    , m_webpQualitySpinBox(makeSpinBox(0, 100, QStringLiteral("webpQualitySpinBox"), this))
    , m_windowZoomComboBox(makeZoomComboBox(Settings::instance()->general()->zoomModeInt(),
                                            QStringLiteral("windowZoomComboBox"), this))
    , m_fullscreenZoomComboBox(
          makeZoomComboBox(Settings::instance()->fullscreenPicView()->zoomMode(),
                           QStringLiteral("fullscreenZoomComboBox"), this))
    , m_slideDelaySpinBox(makeSpinBox(1, 100, QStringLiteral("slideDelaySpinBox"), this))
    , m_slideLoopCheckBox(new QCheckBox(tr("L&oop slideshow"), this))
{
    setWindowTitle(tr("Settings"));
    m_showLastFilesCheckBox->setObjectName(QStringLiteral("showLastFilesCheckBox"));

    auto* tabs = new QTabWidget(this);

    auto* undoPage = new QWidget(tabs);
    // Each mnemonic once in the whole dialog: the tab's own letter would make this one ambiguous.
    auto* undoLabel = new QLabel(tr("&Number of undos:"), undoPage);
    undoLabel->setBuddy(m_undoSpinBox);
    auto* undoLayout = new QHBoxLayout(undoPage);
    undoLayout->addWidget(undoLabel);
    undoLayout->addWidget(m_undoSpinBox);
    tabs->addTab(undoPage, tr("&Undo"));

    auto* lastPage = new QWidget(tabs);
    auto* lastNLabel = new QLabel(tr("Number of &entries:"), lastPage);
    lastNLabel->setBuddy(m_lastNSpinBox);
    auto* deleteButton = new QPushButton(tr("&Delete all entries"), lastPage);
    deleteButton->setObjectName(QStringLiteral("deleteButton"));
    deleteButton->setAutoDefault(false);
    auto* lastLayout = new QGridLayout(lastPage);
    lastLayout->addWidget(m_showLastFilesCheckBox, 0, 0, 1, 2);
    lastLayout->addWidget(lastNLabel, 1, 0);
    lastLayout->addWidget(m_lastNSpinBox, 1, 1);
    lastLayout->addWidget(deleteButton, 2, 1);
    tabs->addTab(lastPage, tr("&Last files"));

    auto* savingPage = new QWidget(tabs);
    m_jpegQualitySpinBox->setSpecialValueText(tr("Default"));
    m_jpegQualitySpinBox->setToolTip(
        tr("Default: a photo read from a JPEG file keeps about its own quality, other pictures "
           "are written at 75."));
    auto* jpegLabel = new QLabel(tr("JPEG &quality:"), savingPage);
    jpegLabel->setBuddy(m_jpegQualitySpinBox);
    m_pngCompressionSpinBox->setSpecialValueText(tr("Library default"));
    m_pngCompressionSpinBox->setToolTip(tr("0: fastest, largest files; 9: smallest files."));
    auto* pngLabel = new QLabel(tr("PNG &compression:"), savingPage);
    pngLabel->setBuddy(m_pngCompressionSpinBox);
    m_webpQualitySpinBox->setSpecialValueText(tr("Default"));
    m_webpQualitySpinBox->setToolTip(tr("Default: pictures are written at 75."));
    auto* webpLabel = new QLabel(tr("We&bP quality:"), savingPage);
    webpLabel->setBuddy(m_webpQualitySpinBox);
    auto* savingLayout = new QGridLayout(savingPage);
    savingLayout->addWidget(jpegLabel, 0, 0);
    savingLayout->addWidget(m_jpegQualitySpinBox, 0, 1);
    savingLayout->addWidget(webpLabel, 1, 0);
    savingLayout->addWidget(m_webpQualitySpinBox, 1, 1);
    savingLayout->addWidget(pngLabel, 2, 0);
    savingLayout->addWidget(m_pngCompressionSpinBox, 2, 1);
    savingLayout->setRowStretch(3, 1);
    tabs->addTab(savingPage, tr("Sa&ving"));

    auto* viewingPage = new QWidget(tabs);
    auto* windowZoomLabel = new QLabel(tr("&Zoom in picture windows:"), viewingPage);
    windowZoomLabel->setBuddy(m_windowZoomComboBox);
    auto* fullscreenZoomLabel = new QLabel(tr("Zoom in &full screen:"), viewingPage);
    fullscreenZoomLabel->setBuddy(m_fullscreenZoomComboBox);
    m_slideDelaySpinBox->setSuffix(tr("s"));
    auto* delayLabel = new QLabel(tr("Slideshow dela&y:"), viewingPage);
    delayLabel->setBuddy(m_slideDelaySpinBox);
    m_slideLoopCheckBox->setObjectName(QStringLiteral("slideLoopCheckBox"));
    auto* viewingLayout = new QGridLayout(viewingPage);
    viewingLayout->addWidget(windowZoomLabel, 0, 0);
    viewingLayout->addWidget(m_windowZoomComboBox, 0, 1);
    viewingLayout->addWidget(fullscreenZoomLabel, 1, 0);
    viewingLayout->addWidget(m_fullscreenZoomComboBox, 1, 1);
    viewingLayout->addWidget(delayLabel, 2, 0);
    viewingLayout->addWidget(m_slideDelaySpinBox, 2, 1);
    viewingLayout->addWidget(m_slideLoopCheckBox, 3, 0, 1, 2);
    viewingLayout->setRowStretch(4, 1);
    tabs->addTab(viewingPage, tr("Vie&wing"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    // Out-of-range stored values are clamped by the spin boxes.
    const Settings::General* general = Settings::instance()->general();
    m_undoSpinBox->setValue(general->undoN());
    m_showLastFilesCheckBox->setChecked(general->showLastFiles());
    m_lastNSpinBox->setValue(general->lastN());
    m_jpegQualitySpinBox->setValue(qualityShown(general->qualityJPEG()));
    m_pngCompressionSpinBox->setValue(pngLevel(general->qualityPNG()));
    m_webpQualitySpinBox->setValue(qualityShown(general->qualityWEBP()));
    m_shownJpegQuality = m_jpegQualitySpinBox->value();
    m_shownPngCompression = m_pngCompressionSpinBox->value();
    m_shownWebpQuality = m_webpQualitySpinBox->value();
    const Settings::ImagesCentralWidget* images = Settings::instance()->imagesCentralWidget();
    m_slideDelaySpinBox->setValue(images->slideDelay());
    m_slideLoopCheckBox->setChecked(images->slideLoop());

    connect(deleteButton, &QPushButton::clicked, this, &SettingsDialog::clearLast);
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::slotAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void SettingsDialog::slotAccept()
{
    Settings::General* general = Settings::instance()->general();
    general->setUndoN(m_undoSpinBox->value());
    general->setShowLastFiles(m_showLastFilesCheckBox->isChecked());
    general->setLastN(m_lastNSpinBox->value());
    // Untouched, the stored values stay as they are: several of them read the same.
    if (m_jpegQualitySpinBox->value() != m_shownJpegQuality)
        general->setQualityJPEG(m_jpegQualitySpinBox->value());
    if (m_pngCompressionSpinBox->value() != m_shownPngCompression)
        general->setQualityPNG(pngStored(m_pngCompressionSpinBox->value()));
    if (m_webpQualitySpinBox->value() != m_shownWebpQuality)
        general->setQualityWEBP(m_webpQualitySpinBox->value());
    if (modeChanged(m_windowZoomComboBox, general->zoomModeInt()))
        general->setZoomModeInt(m_windowZoomComboBox->currentData().toInt());
    Settings::FullscreenPicView* fullscreen = Settings::instance()->fullscreenPicView();
    if (modeChanged(m_fullscreenZoomComboBox, fullscreen->zoomMode()))
        fullscreen->setZoomMode(m_fullscreenZoomComboBox->currentData().toInt());
    Settings::ImagesCentralWidget* images = Settings::instance()->imagesCentralWidget();
    images->setSlideDelay(m_slideDelaySpinBox->value());
    images->setSlideLoop(m_slideLoopCheckBox->isChecked());
    Settings::sync();
    accept();
}

void SettingsDialog::clearLast()
{
    m_recentFiles->clear();
}
