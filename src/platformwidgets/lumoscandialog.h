#pragma once

#include "platform/saneworker.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class SaneSession;

// The scanner dialog: lists the scanners SANE finds, offers each one's source, mode and
// resolution, and scans with a progress bar and a Cancel button, handing over every page. SANE
// runs on its own thread, so finding, opening and scanning never hold up the window. The
// image window creates it once and shows it only when a scanner is there.
class LumoScanDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LumoScanDialog(QWidget* parent = nullptr);
    ~LumoScanDialog() override;

    // Looks for scanners again (the window stays live meanwhile); true when there is one.
    virtual bool isReady();

    bool isScanning() const { return m_scanning; }

signals:
    void imageReady(const QImage& image);

public slots:
    void scan();
    void cancelScan();
    void reject() override;

private:
    void showDevices(const QList<SaneDevice>& devices);
    void openDevice(int index);
    void showOptions(const SaneDeviceOptions& options);
    void showProgress(int percent);
    void receivePage(const QImage& image);
    void finishScan(const QString& error);
    void updateControls();

    std::shared_ptr<SaneSession> m_session;
    SaneWorker* m_worker; // lives on the session's thread
    QComboBox* m_deviceBox;
    QLabel* m_sourceLabel;
    QComboBox* m_sourceBox;
    QLabel* m_modeLabel;
    QComboBox* m_modeBox;
    QLabel* m_resolutionLabel;
    QComboBox* m_resolutionBox;
    QProgressBar* m_progressBar;
    QLabel* m_statusLabel;
    QPushButton* m_scanButton;
    QPushButton* m_cancelButton;
    QPushButton* m_closeButton;
    QString m_openDevice;
    bool m_discovering = false;
    bool m_opening = false;
    bool m_scanning = false;
    int m_pages = 0;
};
