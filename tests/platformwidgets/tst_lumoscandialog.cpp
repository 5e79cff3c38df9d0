#include "support/lumotest.h"

#include "platformwidgets/lumoscandialog.h"

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

    // Writes dll.conf with these backends and test.conf with the test backend's settings.
    void configure(const QString& backends, const QStringList& testSettings = {})
    {
        QFile dll(m_config.filePath("dll.conf"));
        QVERIFY(dll.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dll.write(backends.toUtf8() + '\n');
        QFile test(m_config.filePath("test.conf"));
        QVERIFY(test.open(QIODevice::WriteOnly | QIODevice::Truncate));
        test.write("number_of_devices 2\n" + testSettings.join('\n').toUtf8() + '\n');
    }
    // A ready dialog with its first scanner open.
    std::unique_ptr<LumoScanDialog> readyDialog()
    {
        auto dialog = std::make_unique<LumoScanDialog>();
        auto* scanButton = part<QPushButton>(*dialog, "scanButton");
        if (!dialog->isReady() || !QTest::qWaitFor([&] { return scanButton->isEnabled(); }, 20000))
            return nullptr;
        return dialog;
    }

    QTemporaryDir m_config;

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(m_config.path()));
    }

    void readiness()
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

    void scan_data() { lumotest::addRows(QStringLiteral("lumoscandialog-scan.txt")); }

    void scan()
    {
        QFETCH(QString, settings);
        QFETCH(QString, choices);
        QFETCH(int, pages);
        QFETCH(QSize, size);
        QFETCH(QString, status);
        configure("test", settings.split(';'));
        const std::unique_ptr<LumoScanDialog> dialog = readyDialog();
        QVERIFY(dialog);
        for (const QString& choice : choices.split(';', Qt::SkipEmptyParts)) {
            auto* box = part<QComboBox>(*dialog, qPrintable(choice.section(':', 0, 0)));
            box->setCurrentIndex(box->findText(choice.section(':', 1)));
            QCOMPARE(box->currentText(), choice.section(':', 1));
        }
        QSignalSpy images(dialog.get(), &LumoScanDialog::imageReady);
        part<QPushButton>(*dialog, "scanButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isScanning(), 60000);
        QCOMPARE(images.size(), pages);
        QVERIFY(part<QPushButton>(*dialog, "scanButton")->isEnabled());
        const QString statusText = part<QLabel>(*dialog, "statusLabel")->text();
        QVERIFY2(statusText.startsWith(status), qPrintable(statusText));
        if (!size.isValid())
            return;
        const QImage image = images.first().first().value<QImage>();
        QCOMPARE(image.size(), size);
        // The test backend's default page is solid black.
        const QRgb colour = settings.contains("Solid white") ? 0xffffff : 0;
        QCOMPARE(image.pixel(0, 0) & 0xffffff, colour);
        QCOMPARE(image.pixel(size.width() - 1, size.height() - 1) & 0xffffff, colour);
    }

    void stop_data() { lumotest::addRows(QStringLiteral("lumoscandialog-stop.txt")); }

    void stop()
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
        QTRY_VERIFY_WITH_TIMEOUT(part<QProgressBar>(*dialog, "progressBar")->value() > 0, 20000);
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
};

LUMO_TEST_MAIN(TestLumoScanDialog)
#include "tst_lumoscandialog.moc"
