#include "support/lumotest.h"

#include "app/settings.h"
#include "browser/metainfowidget.h"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <exiv2/exiv2.hpp>

// The Exif panel: rows from Exiv2, the "No metainfo" page, failures and the saved column width.
class TestMetaInfoWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exifRows_data();
    void exifRows();
    void fileWithoutExif();
    void failureAfterExif_data();
    void failureAfterExif();
    void damagedExif_data();
    void damagedExif();
    void cellsAreInert();
    void firstColumnWidth_data();
    void firstColumnWidth();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString writeJpegWithExif(const QString& name);
    QStringList column(const MetaInfoWidget& widget, int column) const;
    QTemporaryDir m_dir;
};

void TestMetaInfoWidget::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Damaged files make Exiv2 complain on stderr; the tests only care that nothing breaks.
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
}

QString TestMetaInfoWidget::writeJpegWithExif(const QString& name)
{
    const QString file = path(name);
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    if (!image.save(file, "JPG"))
        return QString();
    auto exivImage = Exiv2::ImageFactory::open(file.toStdString());
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Lumo Optics";
    exif["Exif.Image.Orientation"] = uint16_t(1);
    exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 60);
    exif["Exif.Photo.FNumber"] = Exiv2::URational(28, 10);
    exivImage->setExifData(exif);
    exivImage->writeMetadata();
    return file;
}

QStringList TestMetaInfoWidget::column(const MetaInfoWidget& widget, int column) const
{
    QStringList texts;
    for (int row = 0; row < widget.table()->rowCount(); ++row)
        texts << widget.table()->item(row, column)->text();
    return texts;
}

void TestMetaInfoWidget::exifRows_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("printed");
    QTest::newRow("ascii tag") << "Manufacturer" << "Lumo Optics";
    QTest::newRow("enumerated tag") << "Orientation" << "top, left";
    QTest::newRow("exposure time") << "Exposure Time" << "1/60 s";
    QTest::newRow("f-number") << "FNumber" << "F2.8";
}

void TestMetaInfoWidget::exifRows()
{
    QFETCH(QString, label);
    QFETCH(QString, printed);
    const QString file = writeJpegWithExif(QStringLiteral("tagged.jpg"));
    QVERIFY(!file.isEmpty());

    MetaInfoWidget widget;
    widget.setFilePath(file);
    QCOMPARE(widget.currentIndex(), int(MetaInfoWidget::TablePage));
    const QStringList labels = column(widget, 0);
    const int row = labels.indexOf(label);
    QVERIFY2(row >= 0, qPrintable(labels.join(QLatin1Char('|'))));
    QCOMPARE(widget.table()->item(row, 1)->text(), printed);

    // The library's order, one row per datum.
    auto exivImage = Exiv2::ImageFactory::open(file.toStdString());
    exivImage->readMetadata();
    QStringList expected;
    for (const Exiv2::Exifdatum& datum : exivImage->exifData())
        expected << QString::fromStdString(datum.tagLabel());
    QCOMPARE(labels, expected);
}

void TestMetaInfoWidget::fileWithoutExif()
{
    const QString file = path(QStringLiteral("plain.png"));
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(file, "PNG"));

    MetaInfoWidget widget;
    widget.setFilePath(file);
    QCOMPARE(widget.currentIndex(), int(MetaInfoWidget::NoMetaInfoPage));
    QCOMPARE(qobject_cast<QLabel*>(widget.currentWidget())->text(), QStringLiteral("No metainfo"));
    QCOMPARE(widget.table()->rowCount(), 0);
}

void TestMetaInfoWidget::failureAfterExif_data()
{
    QTest::addColumn<QString>("failing");
    QTest::newRow("empty path") << QString();
    QTest::newRow("missing file") << path(QStringLiteral("gone.jpg"));
    QTest::newRow("unsupported type") << path(QStringLiteral("notes.txt"));
}

void TestMetaInfoWidget::failureAfterExif()
{
    QFETCH(QString, failing);
    QFile text(path(QStringLiteral("notes.txt")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a picture at all\n");
    text.close();

    MetaInfoWidget widget;
    widget.setFilePath(writeJpegWithExif(QStringLiteral("before.jpg")));
    QVERIFY(widget.table()->rowCount() > 0);
    widget.setFilePath(failing);
    QCOMPARE(widget.table()->rowCount(), 0);
    QCOMPARE(widget.currentIndex(), int(MetaInfoWidget::TablePage));
}

void TestMetaInfoWidget::damagedExif_data()
{
    QTest::addColumn<QByteArray>("tiff");
    // Little-endian TIFF structures inside the APP1 segment.
    QTest::newRow("IFD offset past the end") << QByteArray("II*\0\xff\xff\xff\x7f", 8);
    QTest::newRow("huge entry count") << QByteArray("II*\0\x08\0\0\0\xff\xff", 10);
    QTest::newRow("entry pointing outside")
        << QByteArray("II*\0\x08\0\0\0\x01\0\x0f\x01\x02\0\xff\xff\xff\x0f\xf0\xff\xff\xff\0\0\0\0", 26);
    QTest::newRow("truncated header") << QByteArray("II*", 3);
}

void TestMetaInfoWidget::damagedExif()
{
    QFETCH(QByteArray, tiff);
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(image.save(&buffer, "JPG"));
    }
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xff\xe1", 2);
    const int length = payload.size() + 2;
    app1.append(char(length >> 8)).append(char(length & 0xff)).append(payload);
    jpeg.insert(2, app1);
    const QString file = path(QStringLiteral("damaged.jpg"));
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(jpeg);
    out.close();

    MetaInfoWidget widget;
    widget.setFilePath(file);
    QVERIFY(widget.currentIndex() == MetaInfoWidget::TablePage
            || widget.currentIndex() == MetaInfoWidget::NoMetaInfoPage);
}

void TestMetaInfoWidget::cellsAreInert()
{
    MetaInfoWidget widget;
    widget.resize(400, 300);
    widget.setFilePath(writeJpegWithExif(QStringLiteral("inert.jpg")));
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTableWidget* table = widget.table();
    QCOMPARE(table->focusPolicy(), Qt::NoFocus);

    const QPoint cell = table->visualItemRect(table->item(0, 1)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QVERIFY(table->selectedItems().isEmpty());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    table->edit(table->model()->index(0, 1));
    QVERIFY(!table->findChild<QLineEdit*>());
}

void TestMetaInfoWidget::firstColumnWidth_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("applied");
    QTest::newRow("0 keeps the default width") << 0 << false;
    QTest::newRow("a stored width is applied") << 173 << true;
}

void TestMetaInfoWidget::firstColumnWidth()
{
    QFETCH(int, stored);
    QFETCH(bool, applied);
    Settings::instance()->metaInfoWidget()->setFirstColumnWidth(stored);

    MetaInfoWidget widget;
    const int defaultWidth = widget.table()->columnWidth(0);
    QVERIFY(defaultWidth != 173);
    widget.restoreFirstColumnWidth();
    QCOMPARE(widget.table()->columnWidth(0), applied ? stored : defaultWidth);

    widget.table()->setColumnWidth(0, 91);
    widget.saveFirstColumnWidth();
    QCOMPARE(Settings::instance()->metaInfoWidget()->firstColumnWidth(), 91);
    // Saved means flushed: the file on disk has it, not only the settings object's memory.
    QFile disk(QSettings().fileName());
    QVERIFY(disk.open(QIODevice::ReadOnly));
    QVERIFY(disk.readAll().contains("firstColumnWidth=91"));
}

LUMO_TEST_MAIN(TestMetaInfoWidget)
#include "tst_metainfowidget.moc"
