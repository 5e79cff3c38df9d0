#pragma once

#include <QImage>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QStringList>

#include <atomic>

#include <sane/sane.h>

class SanePageAssembler;

// A scanner SANE found.
struct SaneDevice
{
    QString name;
    QString label;
};

// What an open scanner offers; lists are empty where it has no such option.
struct SaneDeviceOptions
{
    QString error;
    QStringList sources;
    QString source;
    QStringList modes;
    QString mode;
    QList<int> resolutions;
    int resolution = 0;
};

// How to scan: empty or zero values leave the scanner's own setting.
struct SaneScanRequest
{
    QString source;
    QString mode;
    int resolution = 0;
};

Q_DECLARE_METATYPE(SaneDevice)
Q_DECLARE_METATYPE(QList<SaneDevice>)
Q_DECLARE_METATYPE(SaneDeviceOptions)

// Does the scanner dialog's SANE work on the session thread: finds scanners, opens one, reads
// and sets its options, and scans pages. Results come back as signals.
class SaneWorker : public QObject
{
    Q_OBJECT

public:
    explicit SaneWorker(QObject* parent = nullptr);
    ~SaneWorker() override;

    // Both safe from any thread. A cancel stops the scan at its next read, or the next scan
    // before it starts, until cleared; clear before asking for a scan.
    void cancel() { m_cancelled = true; }
    void clearCancel() { m_cancelled = false; }

    // Sources that feed one page after another until they are empty.
    static bool isFeederSource(const QString& source);
    // The resolutions offered for a range: the usual ones inside it, and the current one.
    static QList<int> resolutionChoices(int minimum, int maximum, int current);

public slots:
    void discover();
    void openDevice(const QString& name);
    void scan(const SaneScanRequest& request);

signals:
    void devicesFound(const QList<SaneDevice>& devices);
    void deviceOpened(const SaneDeviceOptions& options);
    void progressChanged(int percent); // -1 while the page height is unknown
    void pageScanned(const QImage& image);
    void scanFinished(const QString& error); // empty after success or cancelling

private:
    void closeDevice();
    int optionIndex(const char* name) const;
    QString stringOption(int index, QStringList* choices) const;
    int resolutionOption(int index, QList<int>* choices) const;
    void setStringOption(const char* name, const QString& value);
    void setResolution(int dpi);
    // Our own reasons for failing go to error; SANE's are in the status.
    SANE_Status readPage(SanePageAssembler& page, QString* error);

    SANE_Handle m_handle = nullptr;
    std::atomic<bool> m_cancelled{false};
};
