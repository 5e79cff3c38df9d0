#include "dialogs/settingsdialog.h"

#include "document/recentfiles.h"
#include "settings/settings.h"

#include <QCheckBox>
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

// The JPEG box shows the lowest value as "Default", which stands for every stored value the
// writer does not take as a quality.
int jpegShown(int stored)
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

} // namespace

SettingsDialog::SettingsDialog(RecentFiles* recentFiles, QWidget* parent)
    : QDialog(parent)
    , m_recentFiles(recentFiles)
    , m_undoSpinBox(makeSpinBox(1, 127, QStringLiteral("undoSpinBox"), this))
    , m_showLastFilesCheckBox(new QCheckBox(tr("&Show list in File menu"), this))
    , m_lastNSpinBox(makeSpinBox(1, 100, QStringLiteral("lastNSpinBox"), this))
    , m_jpegQualitySpinBox(makeSpinBox(0, 100, QStringLiteral("jpegQualitySpinBox"), this))
    , m_pngCompressionSpinBox(makeSpinBox(-1, 9, QStringLiteral("pngCompressionSpinBox"), this))
{
    setWindowTitle(tr("Settings"));
    m_showLastFilesCheckBox->setObjectName(QStringLiteral("showLastFilesCheckBox"));

    auto* tabs = new QTabWidget(this);

    auto* undoPage = new QWidget(tabs);
    auto* undoLabel = new QLabel(tr("Number of &Undos:"), undoPage);
    undoLabel->setBuddy(m_undoSpinBox);
    auto* undoLayout = new QHBoxLayout(undoPage);
    undoLayout->addWidget(undoLabel);
    undoLayout->addWidget(m_undoSpinBox);
    tabs->addTab(undoPage, tr("&Undo"));

    auto* lastPage = new QWidget(tabs);
    auto* lastNLabel = new QLabel(tr("Number of entries:"), lastPage);
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
    auto* savingLayout = new QGridLayout(savingPage);
    savingLayout->addWidget(jpegLabel, 0, 0);
    savingLayout->addWidget(m_jpegQualitySpinBox, 0, 1);
    savingLayout->addWidget(pngLabel, 1, 0);
    savingLayout->addWidget(m_pngCompressionSpinBox, 1, 1);
    savingLayout->setRowStretch(2, 1);
    tabs->addTab(savingPage, tr("Sa&ving"));

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
    m_jpegQualitySpinBox->setValue(jpegShown(general->qualityJPEG()));
    m_pngCompressionSpinBox->setValue(pngLevel(general->qualityPNG()));
    m_shownJpegQuality = m_jpegQualitySpinBox->value();
    m_shownPngCompression = m_pngCompressionSpinBox->value();

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
    Settings::sync();
    accept();
}

void SettingsDialog::clearLast()
{
    m_recentFiles->clear();
}
