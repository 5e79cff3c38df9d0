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

} // namespace

SettingsDialog::SettingsDialog(RecentFiles* recentFiles, QWidget* parent)
    : QDialog(parent)
    , m_recentFiles(recentFiles)
    , m_undoSpinBox(makeSpinBox(1, 127, QStringLiteral("undoSpinBox"), this))
    , m_showLastFilesCheckBox(new QCheckBox(tr("&Show list in File menu"), this))
    , m_lastNSpinBox(makeSpinBox(1, 100, QStringLiteral("lastNSpinBox"), this))
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
    Settings::sync();
    accept();
}

void SettingsDialog::clearLast()
{
    m_recentFiles->clear();
}
