#include "platformwidgets/lumoscandialog.h"

#include "platform/sanesession.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

void fillChoices(QLabel* label, QComboBox* box, const QStringList& choices, const QString& current)
{
    box->clear();
    box->addItems(choices);
    box->setCurrentIndex(std::max(0, choices.indexOf(current)));
    label->setVisible(!choices.isEmpty());
    box->setVisible(!choices.isEmpty());
}

} // namespace

LumoScanDialog::LumoScanDialog(QWidget* parent)
    : QDialog(parent), m_session(SaneSession::acquire()), m_worker(new SaneWorker),
      m_deviceBox(new QComboBox(this)), m_sourceLabel(new QLabel(tr("Source:"), this)),
      m_sourceBox(new QComboBox(this)), m_modeLabel(new QLabel(tr("Mode:"), this)),
      m_modeBox(new QComboBox(this)), m_resolutionLabel(new QLabel(tr("Resolution:"), this)),
      m_resolutionBox(new QComboBox(this)), m_progressBar(new QProgressBar(this)),
      m_statusLabel(new QLabel(this))
{
    qRegisterMetaType<QList<SaneDevice>>();
    qRegisterMetaType<SaneDeviceOptions>();
    m_worker->moveToThread(m_session.get());

    setWindowTitle(tr("Scan"));
    m_deviceBox->setObjectName(QStringLiteral("deviceBox"));
    m_sourceBox->setObjectName(QStringLiteral("sourceBox"));
    m_modeBox->setObjectName(QStringLiteral("modeBox"));
    m_resolutionBox->setObjectName(QStringLiteral("resolutionBox"));
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_statusLabel->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(tr("Scanner:"), m_deviceBox);
    form->addRow(m_sourceLabel, m_sourceBox);
    form->addRow(m_modeLabel, m_modeBox);
    form->addRow(m_resolutionLabel, m_resolutionBox);

    auto* buttons = new QDialogButtonBox(this);
    m_scanButton = buttons->addButton(tr("Scan"), QDialogButtonBox::AcceptRole);
    m_scanButton->setObjectName(QStringLiteral("scanButton"));
    m_cancelButton = buttons->addButton(tr("Cancel"), QDialogButtonBox::ActionRole);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_closeButton = buttons->addButton(QDialogButtonBox::Close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_progressBar);
    layout->addWidget(m_statusLabel);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(m_scanButton, &QPushButton::clicked, this, &LumoScanDialog::scan);
    connect(m_cancelButton, &QPushButton::clicked, this, &LumoScanDialog::cancelScan);
    connect(m_closeButton, &QPushButton::clicked, this, &LumoScanDialog::reject);
    connect(m_deviceBox, qOverload<int>(&QComboBox::activated), this, &LumoScanDialog::openDevice);
    connect(m_worker, &SaneWorker::devicesFound, this, &LumoScanDialog::showDevices);
    connect(m_worker, &SaneWorker::deviceOpened, this, &LumoScanDialog::showOptions);
    connect(m_worker, &SaneWorker::progressChanged, this, &LumoScanDialog::showProgress);
    connect(m_worker, &SaneWorker::pageScanned, this, &LumoScanDialog::receivePage);
    connect(m_worker, &SaneWorker::scanFinished, this, &LumoScanDialog::finishScan);

    fillChoices(m_sourceLabel, m_sourceBox, {}, QString());
    fillChoices(m_modeLabel, m_modeBox, {}, QString());
    fillChoices(m_resolutionLabel, m_resolutionBox, {}, QString());
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    updateControls();
}

LumoScanDialog::~LumoScanDialog()
{
    // The worker goes on its own thread, before SANE ends if this was the last user.
    m_worker->cancel();
    m_worker->deleteLater();
}

bool LumoScanDialog::isReady()
{
    if (m_discovering)
        return false;
    m_discovering = true;
    updateControls();
    QPointer<LumoScanDialog> self(this);
    QEventLoop loop;
    connect(m_worker, &SaneWorker::devicesFound, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    QMetaObject::invokeMethod(m_worker, &SaneWorker::discover, Qt::QueuedConnection);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!self)
        return false;
    m_discovering = false;
    updateControls();
    return m_deviceBox->count() > 0;
}

void LumoScanDialog::showDevices(const QList<SaneDevice>& devices)
{
    m_deviceBox->clear();
    int keep = -1;
    for (const SaneDevice& device : devices) {
        if (device.name == m_openDevice)
            keep = m_deviceBox->count();
        m_deviceBox->addItem(device.label, device.name);
    }
    if (keep >= 0)
        m_deviceBox->setCurrentIndex(keep);
    else if (!devices.isEmpty())
        openDevice(0);
    else
        m_openDevice.clear();
    updateControls();
}

void LumoScanDialog::openDevice(int index)
{
    const QString name = m_deviceBox->itemData(index).toString();
    if (name.isEmpty() || m_scanning || (name == m_openDevice && !m_opening))
        return;
    m_deviceBox->setCurrentIndex(index);
    m_openDevice = name;
    m_opening = true;
    m_statusLabel->setText(tr("Opening the scanner..."));
    updateControls();
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker, name] { worker->openDevice(name); }, Qt::QueuedConnection);
}

void LumoScanDialog::showOptions(const SaneDeviceOptions& options)
{
    m_opening = false;
    if (!options.error.isEmpty()) {
        m_statusLabel->setText(tr("The scanner could not be opened: %1").arg(options.error));
        m_openDevice.clear();
    } else {
        m_statusLabel->clear();
    }
    fillChoices(m_sourceLabel, m_sourceBox, options.sources, options.source);
    fillChoices(m_modeLabel, m_modeBox, options.modes, options.mode);
    m_resolutionBox->clear();
    for (int dpi : options.resolutions)
        m_resolutionBox->addItem(tr("%1 dpi").arg(dpi), dpi);
    m_resolutionBox->setCurrentIndex(std::max(0, options.resolutions.indexOf(options.resolution)));
    m_resolutionLabel->setVisible(!options.resolutions.isEmpty());
    m_resolutionBox->setVisible(!options.resolutions.isEmpty());
    updateControls();
}

void LumoScanDialog::scan()
{
    if (m_scanning || m_opening || m_openDevice.isEmpty())
        return;
    SaneScanRequest request;
    request.source = m_sourceBox->currentText();
    request.mode = m_modeBox->currentText();
    request.resolution = m_resolutionBox->currentData().toInt();
    m_scanning = true;
    m_pages = 0;
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_statusLabel->setText(tr("Scanning..."));
    updateControls();
    m_worker->clearCancel();
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker, request] { worker->scan(request); }, Qt::QueuedConnection);
}

void LumoScanDialog::cancelScan()
{
    if (m_scanning)
        m_worker->cancel();
}

void LumoScanDialog::reject()
{
    cancelScan();
    QDialog::reject();
}

void LumoScanDialog::showProgress(int percent)
{
    if (percent < 0) {
        m_progressBar->setRange(0, 0);
    } else {
        m_progressBar->setRange(0, 100);
        m_progressBar->setValue(percent);
    }
}

void LumoScanDialog::receivePage(const QImage& image)
{
    ++m_pages;
    emit imageReady(image);
}

void LumoScanDialog::finishScan(const QString& error)
{
    m_scanning = false;
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(error.isEmpty() && m_pages > 0 ? 100 : 0);
    if (!error.isEmpty())
        m_statusLabel->setText(tr("Scanning failed: %1").arg(error));
    else
        m_statusLabel->setText(tr("%n page(s) scanned.", nullptr, m_pages));
    updateControls();
}

void LumoScanDialog::updateControls()
{
    const bool busy = m_discovering || m_opening || m_scanning;
    m_deviceBox->setEnabled(!busy);
    m_sourceBox->setEnabled(!busy);
    m_modeBox->setEnabled(!busy);
    m_resolutionBox->setEnabled(!busy);
    m_scanButton->setEnabled(!busy && !m_openDevice.isEmpty());
    m_cancelButton->setEnabled(m_scanning);
}
