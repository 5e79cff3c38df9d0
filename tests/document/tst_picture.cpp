#include "support/lumotest.h"

#include "document/picture.h"
#include "document/picturemetadata.h"

#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <exiv2/exiv2.hpp>

// Reading resets what a picture was before; a failed write keeps the format a later save uses;
// a picture with a colour profile keeps its own pixels and profile, and only the copy for the
// screen is in sRGB.
class TestPicture : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("format");
        QTest::newRow("picture file")
            << lumotest::encoded(lumotest::rampImage({6, 4}), "png") << true << "png";
        QTest::newRow("not a picture") << QByteArray("plain text") << false << QString();
        QTest::newRow("missing file") << QByteArray() << false << QString();
    }
    void read()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, readable);
        QFETCH(QString, format);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture"));
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        }
        Picture picture;
        picture.adopt(QImage(3, 3, QImage::Format_RGB32));
        picture.setModified(true);
        QSignalSpy modified(&picture, &Picture::modifiedChanged);
        QSignalSpy image(&picture, &Picture::imageChanged);
        QSignalSpy loaded(&picture, &Picture::loaded);
        picture.load(path);
        QVERIFY(loaded.wait(20000));
        QCOMPARE(loaded.first().at(0).toBool(), readable);
        QCOMPARE(picture.isBroken(), !readable);
        QCOMPARE(picture.image().isNull(), !readable);
        QCOMPARE(picture.format(), format);
        QCOMPARE(picture.path(), path);
        QVERIFY(!picture.isModified() && !picture.isUnsavedNew());
        QCOMPARE(modified.count(), 1);
        QCOMPARE(image.count(), 1);
    }

    void write_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("written");
        QTest::newRow("into an existing folder") << QString() << true;
        QTest::newRow("into a missing folder") << "missing/" << false;
    }
    void write()
    {
        QFETCH(QString, folder);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString path = dir.filePath(folder + QStringLiteral("new.png"));
        Picture picture;
        picture.adopt(QImage(5, 5, QImage::Format_RGB32));
        picture.setFormat(QStringLiteral("bmp"));
        QString error;
        QString metadataError;
        QCOMPARE(picture.write(path, QStringLiteral("png"), -1, &error, PictureMetadata(),
                               &metadataError),
                 written);
        QCOMPARE(error.isEmpty(), written);
        QCOMPARE(picture.format(), written ? QStringLiteral("png") : QStringLiteral("bmp"));
        QCOMPARE(QFile::exists(path), written);
    }

    void colourProfileKept_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("withExif");
        QTest::newRow("png") << "png" << false;
        QTest::newRow("jpeg") << "jpeg" << false;
        QTest::newRow("jpeg with camera data") << "jpeg" << true;
    }
    void colourProfileKept()
    {
        QFETCH(QString, format);
        QFETCH(bool, withExif);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("adobe.") + format);
        QImage stored(8, 6, QImage::Format_RGB32);
        stored.fill(qRgb(60, 140, 200));
        stored.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
        QVERIFY(stored.save(path, qPrintable(format), 100));
        if (withExif) {
            Exiv2::Image::AutoPtr file = Exiv2::ImageFactory::open(path.toStdString());
            file->readMetadata();
            file->exifData()["Exif.Image.Model"] = "LumoCam 7";
            file->writeMetadata();
        }
        Picture picture;
        QSignalSpy loaded(&picture, &Picture::loaded);
        picture.load(path);
        QVERIFY(loaded.wait(20000));
        // The document holds the file's own pixels; the screen gets them in sRGB.
        QCOMPARE(picture.image().colorSpace(), QColorSpace(QColorSpace::AdobeRgb));
        QVERIFY(qAbs(qGreen(picture.image().pixel(4, 3)) - 140) <= 2);
        const QImage shown = picture.displayCopy();
        QCOMPARE(shown.colorSpace(), QColorSpace(QColorSpace::SRgb));
        QCOMPARE(shown.size(), stored.size());
        // Adobe RGB's wider green takes the red out of this blue.
        QVERIFY(qRed(shown.pixel(4, 3)) < 20);
        const PictureMetadata metadata = PictureMetadata::read(path);
        QCOMPARE(metadata.isEmpty(), !withExif);

        const QString copy = dir.filePath(QStringLiteral("copy.") + format);
        QString error;
        QString metadataError;
        QVERIFY(picture.write(copy, format, 95, &error, metadata, &metadataError));
        QVERIFY2(metadataError.isEmpty(), qPrintable(metadataError));
        QImageReader reader(copy);
        const QImage written = reader.read();
        QCOMPARE(written.colorSpace(), QColorSpace(QColorSpace::AdobeRgb));
        QVERIFY(qAbs(qGreen(written.pixel(4, 3)) - 140) <= 2);

        // Pixels changed in place: the copy read with them no longer stands for them.
        picture.image().setPixel(0, 0, qRgb(0, 0, 0));
        QVERIFY(picture.displayCopy().isNull());
    }

    void colourSpaceThroughEdits_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("adobe"); // the colour space the picture has after it
        QTest::newRow("a quarter turn, which Qt leaves without one") << "turn" << true;
        QTest::newRow("pixels converted to sRGB by an edit") << "to sRGB" << false;
        QTest::newRow("a new picture made in memory") << "adopt" << false;
    }
    void colourSpaceThroughEdits()
    {
        QFETCH(QString, edit);
        QFETCH(bool, adobe);
        QImage stored(8, 6, QImage::Format_RGB32);
        stored.fill(qRgb(60, 140, 200));
        stored.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
        Picture picture;
        picture.adopt(stored);
        if (edit == "turn")
            picture.setImage(stored.transformed(QTransform().rotate(90)));
        else if (edit == "to sRGB")
            picture.setImage(stored.convertedToColorSpace(QColorSpace::SRgb));
        else
            picture.adopt(QImage(4, 4, QImage::Format_RGB32));
        QCOMPARE(picture.image().colorSpace() == QColorSpace(QColorSpace::AdobeRgb), adobe);
    }
};

LUMO_TEST_MAIN(TestPicture)
#include "tst_picture.moc"
