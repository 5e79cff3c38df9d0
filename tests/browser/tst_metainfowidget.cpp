#include "support/lumotest.h"

#include "app/settings.h"
#include "browser/metainfowidget.h"

#include <QBuffer>
#include <QLineEdit>
#include <QTableWidget>

#include <exiv2/exiv2.hpp>

// The Exif panel: rows from Exiv2, the "No metainfo" page, failures and the saved column width.
class TestMetaInfoWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shows_data();
    void shows();
    void damagedExif_data();
    void damagedExif();
    void cellsAreInert();
    void firstColumnWidth_data();
    void firstColumnWidth();

private:
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

void TestMetaInfoWidget::initTestCase()
{
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); // damaged files make Exiv2 talk
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(path("tagged.jpg")) && image.save(path("plain.png")));
    auto exiv = Exiv2::ImageFactory::open(path("tagged.jpg").toStdString());
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Lumo Optics";
    exif["Exif.Image.Orientation"] = uint16_t(1);
    exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 60);
    exiv->setExifData(exif);
    exiv->writeMetadata();
    QFile text(path("notes.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a picture\n") > 0);
}

void TestMetaInfoWidget::shows_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("rows"); // label=value pairs, in the library's order
    const QString tagged = path("tagged.jpg");
    const QString rows = "Manufacturer=Lumo Optics|Orientation=top, left|Exposure Time=1/60 s";
    QTest::newRow("jpeg with exif") << QString() << tagged << 0 << rows;
    QTest::newRow("png without exif") << tagged << path("plain.png") << 1 << "";
    QTest::newRow("unsupported type after a jpeg") << tagged << path("notes.txt") << 0 << "";
    QTest::newRow("missing file after no exif keeps page 1")
        << path("plain.png") << path("gone.jpg") << 1 << "";
}

void TestMetaInfoWidget::shows()
{
    QFETCH(QString, before);
    QFETCH(QString, file);
    QFETCH(int, page);
    QFETCH(QString, rows);
    MetaInfoWidget widget;
    widget.setFilePath(before);
    widget.setFilePath(file);
    QCOMPARE(widget.currentIndex(), page);
    QStringList shown;
    for (int row = 0; row < widget.table()->rowCount(); ++row) {
        const QString label = widget.table()->item(row, 0)->text();
        // The sub-IFD pointer's value is an offset that depends on the writer's layout.
        if (!label.startsWith(QLatin1String("Exif IFD")))
            shown << label + '=' + widget.table()->item(row, 1)->text();
    }
    QCOMPARE(shown.join('|'), rows);
}

void TestMetaInfoWidget::damagedExif_data()
{
    QTest::addColumn<QByteArray>("tiff"); // little-endian TIFF inside the APP1 segment
    QTest::newRow("IFD offset past the end") << QByteArray("II*\0\xff\xff\xff\x7f", 8);
    QTest::newRow("entry pointing outside")
        << QByteArray("II*\0\x08\0\0\0\x01\0\x0f\x01\x02\0\xff\xff\xff\x0f\xf0\xff\xff\xff\0\0\0\0", 26);
}

void TestMetaInfoWidget::damagedExif()
{
    QFETCH(QByteArray, tiff);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && QImage(8, 8, QImage::Format_RGB32).save(&buffer, "JPG"));
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = payload.size() + 2;
    jpeg.insert(2, QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + payload);
    QFile out(path("damaged.jpg"));
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(jpeg) == jpeg.size());
    out.close();

    MetaInfoWidget widget;
    widget.setFilePath(out.fileName()); // must return, whatever it shows
    QVERIFY(widget.currentIndex() == 0 || widget.currentIndex() == 1);
}

void TestMetaInfoWidget::cellsAreInert()
{
    MetaInfoWidget widget;
    widget.setFilePath(path("tagged.jpg"));
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTableWidget* table = widget.table();
    QCOMPARE(table->focusPolicy(), Qt::NoFocus);
    const QPoint cell = table->visualItemRect(table->item(0, 1)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QVERIFY(table->selectedItems().isEmpty());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
    table->edit(table->model()->index(0, 1)); // even the slot that ignores the triggers
    QVERIFY(!table->findChild<QLineEdit*>());
}

void TestMetaInfoWidget::firstColumnWidth_data()
{
    QTest::addColumn<int>("stored");
    QTest::newRow("0 keeps the default width") << 0;
    QTest::newRow("a stored width is applied") << 173;
}

void TestMetaInfoWidget::firstColumnWidth()
{
    QFETCH(int, stored);
    Settings::instance()->metaInfoWidget()->setFirstColumnWidth(stored);
    MetaInfoWidget widget;
    const int defaultWidth = widget.table()->columnWidth(0);
    widget.restoreFirstColumnWidth();
    QCOMPARE(widget.table()->columnWidth(0), stored ? stored : defaultWidth);

    widget.table()->setColumnWidth(0, 91);
    widget.saveFirstColumnWidth();
    QFile disk(QSettings().fileName()); // flushed, not only in the settings object
    QVERIFY(disk.open(QIODevice::ReadOnly));
    QVERIFY(disk.readAll().contains("firstColumnWidth=91"));
}

LUMO_TEST_MAIN(TestMetaInfoWidget)
#include "tst_metainfowidget.moc"
