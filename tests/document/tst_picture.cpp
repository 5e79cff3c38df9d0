#include "support/lumotest.h"

#include "document/picture.h"
#include "document/picturemetadata.h"

#include <QColorSpace>
#include <QImageReader>
#include <QTemporaryDir>

#include <exiv2/exiv2.hpp>

// A picture with a colour profile keeps its own pixels and profile, and only the copy for the
// screen is in sRGB. What a read resets is the open picture's test; a failed write, the view's.
class TestPicture : public QObject
{
    Q_OBJECT

private slots:
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
