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
    void readiness_data();
    void readiness();
    void scan_data();
    void scan();
    void feeder();
    void stop_data();
    void stop();
    void failure();

private:
    // Writes dll.conf with these backends and test.conf with the test backend's settings.
    void configure(const QString& backends, const QStringList& testSettings = {});
    // A ready dialog with its first scanner open.
    std::unique_ptr<LumoScanDialog> readyDialog();
    static void choose(QWidget& dialog, const char* box, const QString& text);

    QTemporaryDir m_config;
};

void TestLumoScanDialog::initTestCase()
{
    QVERIFY(m_config.isValid());
    qputenv("SANE_CONFIG_DIR", QFile::encodeName(m_config.path()));
}

void TestLumoScanDialog::configure(const QString& backends, const QStringList& testSettings)
{
    QFile dll(m_config.filePath(QStringLiteral("dll.conf")));
    QVERIFY(dll.open(QIODevice::WriteOnly | QIODevice::Truncate));
    dll.write(backends.toUtf8() + '\n');
    QFile test(m_config.filePath(QStringLiteral("test.conf")));
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

void TestLumoScanDialog::choose(QWidget& dialog, const char* box, const QString& text)
{
    auto* combo = part<QComboBox>(dialog, box);
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
}

void TestLumoScanDialog::readiness_data()
{
    QTest::addColumn<QString>("backends");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<int>("scanners");
    QTest::newRow("test backend") << "test" << true << 2;
    QTest::newRow("no backend") << "" << false << 0;
}

void TestLumoScanDialog::readiness()
{
    QFETCH(QString, backends);
    QFETCH(bool, ready);
    QFETCH(int, scanners);
    configure(backends);
    LumoScanDialog dialog;
    QCOMPARE(dialog.isReady(), ready);
    QCOMPARE(part<QComboBox>(dialog, "deviceBox")->count(), scanners);
    // Asking again looks again and finds the same.
    QCOMPARE(dialog.isReady(), ready);
    QCOMPARE(part<QComboBox>(dialog, "deviceBox")->count(), scanners);
}

void TestLumoScanDialog::scan_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRgb>("colour");

    // 80 x 100 mm at 50 dpi; a hand scanner is 110 mm wide and sends no height ahead.
    const QSize size(157, 196);
    const QString white = QStringLiteral("test-picture \"Solid white\"");
    const QRgb whiteRgb = 0xffffff;
    QTest::newRow("grey, 8 bits, white") << QStringList{white} << "Gray"
                                         << "50 dpi" << size << whiteRgb;
    QTest::newRow("grey, 1 bit, black") << QStringList{"depth 1"} << "Gray"
                                        << "50 dpi" << size << QRgb(0);
    QTest::newRow("grey, 1 bit, white") << QStringList{"depth 1", white} << "Gray"
                                        << "50 dpi" << size << whiteRgb;
    QTest::newRow("grey, 16 bits, white") << QStringList{"depth 16", white} << "Gray"
                                          << "50 dpi" << size << whiteRgb;
    QTest::newRow("colour chosen in the dialog") << QStringList{white} << "Color"
                                                 << "50 dpi" << size << whiteRgb;
    QTest::newRow("colour, 1 bit, white") << QStringList{"depth 1", white} << "Color"
                                          << "50 dpi" << size << whiteRgb;
    QTest::newRow("three passes, blue first")
        << QStringList{"three-pass true", "three-pass-order BRG", white} << "Color"
        << "50 dpi" << size << whiteRgb;
    QTest::newRow("resolution chosen in the dialog") << QStringList() << "Gray"
                                                     << "75 dpi" << QSize(236, 295) << QRgb(0);
    QTest::newRow("hand scanner, height unknown ahead")
        << QStringList{"hand-scanner true", white} << "Gray"
        << "50 dpi" << QSize(216, 334) << whiteRgb;
    QTest::newRow("data in small odd pieces")
        << QStringList{"read-limit true", "read-limit-size 7", white} << "Color"
        << "50 dpi" << size << whiteRgb;
    QTest::newRow("pixels lost at line ends") << QStringList{"ppl-loss 5", white} << "Gray"
                                              << "50 dpi" << QSize(152, 196) << whiteRgb;
}

void TestLumoScanDialog::scan()
{
    QFETCH(QStringList, settings);
    QFETCH(QString, mode);
    QFETCH(QString, resolution);
    QFETCH(QSize, size);
    QFETCH(QRgb, colour);
    configure(QStringLiteral("test"), settings);
    const std::unique_ptr<LumoScanDialog> dialog = readyDialog();
    QVERIFY(dialog);
    choose(*dialog, "modeBox", mode);
    choose(*dialog, "resolutionBox", resolution);
    QSignalSpy images(dialog.get(), &LumoScanDialog::imageReady);
    part<QPushButton>(*dialog, "scanButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isScanning(), 60000);
    QCOMPARE(images.size(), 1);
    const QImage image = images.first().first().value<QImage>();
    QCOMPARE(image.size(), size);
    QCOMPARE(image.pixel(0, 0) & 0xffffff, colour);
    QCOMPARE(image.pixel(size.width() - 1, size.height() - 1) & 0xffffff, colour);
    QVERIFY(part<QPushButton>(*dialog, "scanButton")->isEnabled());
}

void TestLumoScanDialog::feeder()
{
    // The test backend's feeder runs empty after ten pages.
    configure(QStringLiteral("test"), {QStringLiteral("resolution 25")});
    const std::unique_ptr<LumoScanDialog> dialog = readyDialog();
    QVERIFY(dialog);
    choose(*dialog, "sourceBox", QStringLiteral("Automatic Document Feeder"));
    QSignalSpy images(dialog.get(), &LumoScanDialog::imageReady);
    part<QPushButton>(*dialog, "scanButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isScanning(), 60000);
    QCOMPARE(images.size(), 10);
    QCOMPARE(part<QLabel>(*dialog, "statusLabel")->text(), QStringLiteral("10 page(s) scanned."));
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
    configure(QStringLiteral("test"),
              {QStringLiteral("mode Color"), QStringLiteral("resolution 300"),
               QStringLiteral("read-delay true"), QStringLiteral("read-delay-duration 200000")});
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
    if (how == QLatin1String("delete")) {
        dialog.reset();
        // SANE ended with the last dialog and starts again for the next one.
        configure(QStringLiteral("test"));
        QVERIFY(readyDialog());
        return;
    }
    if (how == QLatin1String("cancel"))
        cancelButton->click();
    else
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isScanning(), 20000);
    QCOMPARE(images.size(), 0);
    QVERIFY(!cancelButton->isEnabled());
}

void TestLumoScanDialog::failure()
{
    configure(QStringLiteral("test"), {QStringLiteral("read-status-code \"SANE_STATUS_JAMMED\"")});
    const std::unique_ptr<LumoScanDialog> dialog = readyDialog();
    QVERIFY(dialog);
    QSignalSpy images(dialog.get(), &LumoScanDialog::imageReady);
    part<QPushButton>(*dialog, "scanButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isScanning(), 20000);
    QCOMPARE(images.size(), 0);
    QVERIFY(
        part<QLabel>(*dialog, "statusLabel")->text().startsWith(QLatin1String("Scanning failed")));
}

LUMO_TEST_MAIN(TestLumoScanDialog)
#include "tst_lumoscandialog.moc"
