#include "support/lumotest.h"

#include "browser/metainfowidget.h"

#include <QBuffer>
#include <QTableWidget>
#include <QThreadPool>

#include <exiv2/exiv2.hpp>

#include <sys/stat.h>

// The Exif panel: rows from Exiv2, the "No metainfo" page, failures and inert cells.
class TestMetaInfoWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); // damaged files make Exiv2 talk
        QImage image(16, 8, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(path("tagged.jpg")) && image.save(path("plain.png")));
        auto exiv = Exiv2::ImageFactory::open(path("tagged.jpg").toStdString());
        Exiv2::ExifData exif;
        exif["Exif.Image.Make"] = "Lumo Optics";
        exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 60);
        exiv->setExifData(exif);
        exiv->writeMetadata();
        QFile text(path("notes.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a picture\n") > 0);
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe.jpg")).constData(), 0600), 0);
    }

    void shows_data() { lumotest::addRows(QStringLiteral("metainfoshown.txt")); }

    void shows()
    {
        QFETCH(QString, before);
        QFETCH(QString, file);
        QFETCH(int, page);
        QFETCH(QString, rows);
        MetaInfoWidget widget;
        QVERIFY(fill(widget, before.isEmpty() ? before : path(before)));
        QVERIFY(fill(widget, file.isEmpty() ? file : path(file)));
        QCOMPARE(widget.currentIndex(), page);
        QStringList shown;
        const QTableWidget* table = widget.table();
        for (int row = 0; row < table->rowCount(); ++row) {
            shown << table->item(row, 0)->text() + '=' + table->item(row, 1)->text();
            // A value too long for its column is read whole from its tooltip.
            QCOMPARE(table->item(row, 1)->toolTip(), table->item(row, 1)->text());
        }
        QCOMPARE(shown.join(';'), rows);
    }

    void damagedExif_data() { lumotest::addRows(QStringLiteral("metainfowidget-damagedexif.txt")); }

    void damagedExif()
    {
        QFETCH(QByteArray, tiff);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        QVERIFY(buffer.open(QIODevice::WriteOnly) &&
                QImage(8, 8, QImage::Format_RGB32).save(&buffer, "JPG"));
        const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
        const int length = payload.size() + 2; // the APP1 segment after the start marker
        jpeg.insert(2, QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length) + payload);
        QFile out(path("damaged.jpg"));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(jpeg) == jpeg.size() && out.flush());
        MetaInfoWidget widget;
        QVERIFY(fill(widget, out.fileName())); // must come back, whatever it shows
    }

    // Each read costs a helper: the same file set again keeps its rows until it changes.
    void unchangedFileReadOnce()
    {
        MetaInfoWidget widget;
        QVERIFY(fill(widget, path("tagged.jpg")));
        QSignalSpy filled(&widget, &MetaInfoWidget::filled);
        widget.setFilePath(path("tagged.jpg"));
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QVERIFY(filled.isEmpty());
        QCOMPARE(widget.table()->rowCount(), 2);
        QFile file(path("tagged.jpg"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                 QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(fill(widget, path("tagged.jpg")));
        QCOMPARE(widget.table()->rowCount(), 2);
    }

    void laterFileWins()
    {
        MetaInfoWidget widget;
        QSignalSpy filled(&widget, &MetaInfoWidget::filled);
        widget.setFilePath(path("plain.png"));
        widget.setFilePath(path("tagged.jpg"));
        QVERIFY(filled.wait(20000));
        QCOMPARE(widget.currentIndex(), 0);
        QVERIFY(widget.table()->rowCount() > 0);
        // Once both reads are done, the overtaken one has still not shown up.
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        QCOMPARE(filled.count(), 1);
        QCOMPARE(widget.currentIndex(), 0);
    }

    void labelColumnWidth_data() { lumotest::addRows(QStringLiteral("labelcolumnwidth.txt")); }

    void labelColumnWidth()
    {
        QFETCH(int, labels);
        QFETCH(int, values);
        QFETCH(int, chosen);
        QFETCH(int, panel);
        QFETCH(int, width);
        QCOMPARE(MetaInfoWidget::labelColumnWidth(labels, values, chosen, panel), width);
    }

private:
    // Sets the file and waits for its rows.
    static bool fill(MetaInfoWidget& widget, const QString& file)
    {
        QSignalSpy filled(&widget, &MetaInfoWidget::filled);
        widget.setFilePath(file);
        return !filled.isEmpty() || filled.wait(20000);
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

LUMO_TEST_MAIN(TestMetaInfoWidget)
#include "tst_metainfowidget.moc"
