#include "support/lumotest.h"

#include "platform/lumoscandialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <memory>

namespace {

template <typename T> T* part(QWidget& widget, const char* name)
{
    return widget.findChild<T*>(QLatin1String(name));
}

} // namespace

// The scanner dialog on SANE's test backend: no hardware, a private SANE configuration.
class TestLumoScanDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readiness();
    void scan_data();
    void scan();
    void stop_data();
    void stop();

private:
    // Writes dll.conf with these backends and test.conf with the test backend's settings.
    void configure(const QString& backends, const QStringList& testSettings = {});
    // A ready dialog with its first scanner open.
    std::unique_ptr<LumoScanDialog> readyDialog();

    QTemporaryDir m_config;
};

void TestLumoScanDialog::initTestCase()
{
    QVERIFY(m_config.isValid());
    qputenv("SANE_CONFIG_DIR", QFile::encodeName(m_config.path()));
}

void TestLumoScanDialog::configure(const QString& backends, const QStringList& testSettings)
{
    QFile dll(m_config.filePath("dll.conf"));
    QVERIFY(dll.open(QIODevice::WriteOnly | QIODevice::Truncate));
    dll.write(backends.toUtf8() + '\n');
    QFile test(m_config.filePath("test.conf"));
    QVERIFY(test.open(QIODevice::WriteOnly | QIODevice::Truncate));
    test.write("number_of_devices 2\n");
    for (const QString& line : testSettings)
        test.write(line.toUtf8() + '\n');
}

std::unique_ptr<LumoScanDialog> TestLumoScanDialog::readyDialog()
{
    auto dialog = std::make_unique<LumoScanDialog>();
    if (!dialog->isReady())
        return nullptr;
    auto* scanButton = part<QPushButton>(*dialog, "scanButton");
    if (!QTest::qWaitFor([&] { return scanButton->isEnabled(); }, 20000))
        return nullptr;
    return dialog;
}

void TestLumoScanDialog::readiness()
{
    // With no device the dialog is not ready, so it is never shown. Asking again looks again.
    for (const QString& backend : QStringList{"test", ""}) {
        configure(backend);
        LumoScanDialog dialog;
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(dialog.isReady(), !backend.isEmpty());
            QCOMPARE(part<QComboBox>(dialog, "deviceBox")->count(), backend.isEmpty() ? 0 : 2);
        }
    }
}

void TestLumoScanDialog::scan_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QStringList>("choices"); // "box:text" set in the dialog
    QTest::addColumn<int>("pages");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<QString>("status"); // how the status line starts after the scan

    // Grey at 50 dpi unless chosen: 80 x 100 mm; a hand scanner is 110 mm wide and sends no
    // height ahead.
    const QSize size(157, 196);
    const QString white = "test-picture \"Solid white\"";
    const QStringList colour{"modeBox:Color"};
    const QRgb whiteRgb = 0xffffff;
    QTest::newRow("colour chosen in the dialog")
        << QStringList{white} << colour << 1 << size << whiteRgb << "";
    QTest::newRow("three passes, blue first")
        << QStringList{"three-pass true", "three-pass-order BRG", white} << colour << 1 << size
        << whiteRgb << "";
    QTest::newRow("resolution chosen in the dialog") << QStringList()
        << QStringList{"resolutionBox:75 dpi"} << 1 << QSize(236, 295) << QRgb(0) << "";
    QTest::newRow("hand scanner, height unknown ahead")
        << QStringList{"hand-scanner true", white} << QStringList() << 1 << QSize(216, 334)
        << whiteRgb << "";
    QTest::newRow("data in small odd pieces")
        << QStringList{"read-limit true", "read-limit-size 7", white} << colour << 1 << size
        << whiteRgb << "";
    QTest::newRow("pixels lost at line ends") << QStringList{"ppl-loss 5", white} << QStringList()
                                              << 1 << QSize(152, 196) << whiteRgb << "";
    // The test backend's feeder runs empty after ten pages.
    QTest::newRow("feeder") << QStringList{"resolution 25"}
                            << QStringList{"sourceBox:Automatic Document Feeder"} << 10 << QSize()
                            << whiteRgb << "10 page(s) scanned.";
    QTest::newRow("jammed") << QStringList{"read-status-code \"SANE_STATUS_JAMMED\""}
                            << QStringList() << 0 << QSize() << whiteRgb << "Scanning failed";
}

void TestLumoScanDialog::scan()
{
    QFETCH(QStringList, settings);
    QFETCH(QStringList, choices);
    QFETCH(int, pages);
    QFETCH(QSize, size);
    QFETCH(QRgb, colour);
    QFETCH(QString, status);
    configure("test", settings);
    const std::unique_ptr<LumoScanDialog> dialog = readyDialog();
    QVERIFY(dialog);
    for (const QString& choice : choices) {
        auto* box = part<QComboBox>(*dialog, qPrintable(choice.section(':', 0, 0)));
        box->setCurrentIndex(box->findText(choice.section(':', 1)));
        QCOMPARE(box->currentText(), choice.section(':', 1));
    }
    QSignalSpy images(dialog.get(), &LumoScanDialog::imageReady);
    part<QPushButton>(*dialog, "scanButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isScanning(), 60000);
    QCOMPARE(images.size(), pages);
    QVERIFY(part<QPushButton>(*dialog, "scanButton")->isEnabled());
    QVERIFY2(part<QLabel>(*dialog, "statusLabel")->text().startsWith(status),
             qPrintable(part<QLabel>(*dialog, "statusLabel")->text()));
    if (!size.isValid())
        return;
    const QImage image = images.first().first().value<QImage>();
    QCOMPARE(image.size(), size);
    QCOMPARE(image.pixel(0, 0) & 0xffffff, colour);
    QCOMPARE(image.pixel(size.width() - 1, size.height() - 1) & 0xffffff, colour);
}

void TestLumoScanDialog::stop_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("cancel button") << "cancel";
    QTest::newRow("close button") << "close";
    QTest::newRow("dialog deleted") << "delete";
}

void TestLumoScanDialog::stop()
{
    QFETCH(QString, how);
    // A slow scanner: a large colour page with a long pause after each piece of data.
    configure("test", {"mode Color", "resolution 300", "read-delay true",
                       "read-delay-duration 200000"});
    std::unique_ptr<LumoScanDialog> dialog = readyDialog();
    QVERIFY(dialog);
    QSignalSpy images(dialog.get(), &LumoScanDialog::imageReady);
    auto* cancelButton = part<QPushButton>(*dialog, "cancelButton");
    QVERIFY(!cancelButton->isEnabled());
    part<QPushButton>(*dialog, "scanButton")->click();
    QVERIFY(cancelButton->isEnabled());
    // Under way, and then stopped.
    auto* progressBar = part<QProgressBar>(*dialog, "progressBar");
    QTRY_VERIFY_WITH_TIMEOUT(progressBar->value() > 0, 20000);
    if (how == "delete") {
        dialog.reset();
        // SANE ended with the last dialog and starts again for the next one.
        configure("test");
        QVERIFY(readyDialog());
        return;
    }
    if (how == "cancel")
        cancelButton->click();
    else
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isScanning(), 20000);
    QCOMPARE(images.size(), 0);
    QVERIFY(!cancelButton->isEnabled());
}

LUMO_TEST_MAIN(TestLumoScanDialog)
#include "tst_lumoscandialog.moc"
