#include "support/lumotest.h"

#include "document/picturereader.h"
#include "support/cmykjpegs.h"

#include <QColorSpace>
#include <QDir>

#include <exiv2/exiv2.hpp>

#include <sys/stat.h>

// Which files read as pictures: damaged ones, pipes and pictures beyond the memory budget do not,
// and none of them hangs or crashes the reader.
class TestPictureReader : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: a named pipe
        QTest::addColumn<QString>("format");   // empty: unreadable
        const QImage ramp = lumotest::rampImage(QSize(60, 40));
        const QByteArray gif = QByteArray("GIF89a\xff\xff\xff\xff\x00\x00\x00", 13);
        QTest::newRow("png") << "good.png" << lumotest::encoded(ramp, "PNG") << "png";
        QTest::newRow("png cut after its header")
            << "cut.png" << lumotest::encoded(ramp, "PNG").left(40) << QString();
        QTest::newRow("gif screen claims 65535 square")
            << "huge.gif" << gif + QByteArray("\x2c\0\0\0\0\xff\xff\xff\xff\0\x02\0\x3b", 14)
            << QString();
        QTest::newRow("gif with garbage body")
            << "garbage.gif" << gif + QByteArray(64, '\x55') << QString();
        // Opening one waits for a writer for ever.
        QTest::newRow("named pipe") << "pipe.png" << QByteArray() << QString();
        // A machine of 4 MiB, so pictures may take 1 MiB decoded; sixteen-bit PNGs count 64 bits.
        const QImage big = lumotest::rampImage(QSize(400, 400));
        QTest::newRow("within the budget")
            << "budget.png" << lumotest::encoded(big, "PNG") << "png";
        QTest::newRow("sixteen bits beyond the budget")
            << "budget.png" << lumotest::encoded(big.convertToFormat(QImage::Format_RGBA64), "PNG")
            << QString();
        // The PNG suite's deliberately broken files, when the corpus is present.
        const QString corpus = lumotest::corpusDir(QStringLiteral("pngsuite/png"));
        for (const QString& name :
             QDir(corpus).entryList({QStringLiteral("x*.png")}, QDir::Files)) {
            QFile file(corpus + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(name)) << name << file.readAll() << QString();
        }
    }
    void read()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, format);
        QTemporaryDir dir;
        QFile file(dir.filePath(name));
        if (bytes.isNull()) {
            QCOMPARE(::mkfifo(QFile::encodeName(file.fileName()).constData(), 0600), 0);
        } else {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
        }
        const PictureReader::Result read =
            PictureReader::read(file.fileName(), imaging::ReadLimits(4 << 20));
        QCOMPARE(read.format, format);
        QCOMPARE(read.image.isNull(), format.isEmpty());
    }

    // The corner read first at 100 % is the whole read's top left corner, pixel for pixel; a
    // picture the area holds, or one turned by its orientation, has none.
    void corner_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("corner"); // empty: none
        QTest::newRow("taller and wider than the area")
            << QSize(300, 200) << 1 << QByteArray("JPEG") << QSize(64, 48);
        QTest::newRow("only wider keeps its height")
            << QSize(300, 40) << 1 << QByteArray("JPEG") << QSize(64, 40);
        QTest::newRow("held by the area") << QSize(64, 48) << 1 << QByteArray("JPEG") << QSize();
        QTest::newRow("turned by its orientation")
            << QSize(300, 200) << 6 << QByteArray("JPEG") << QSize();
        QTest::newRow("a format read whole anyway")
            << QSize(300, 200) << 1 << QByteArray("PNG") << QSize();
    }
    void corner()
    {
        QFETCH(QSize, picture);
        QFETCH(int, orientation);
        QFETCH(QByteArray, format);
        QFETCH(QSize, corner);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("photo.") + format.toLower());
        QVERIFY(lumotest::rampImage(picture).save(path, format.constData(), 95));
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.toStdString());
        image->readMetadata();
        image->exifData()["Exif.Image.Orientation"] = uint16_t(orientation);
        image->writeMetadata();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const PictureReader::StandIn read = PictureReader::readCorner(&file, QSize(64, 48));
        QCOMPARE(read.image.isNull(), corner.isEmpty());
        if (corner.isEmpty())
            return;
        QCOMPARE(read.image.size(), corner);
        QVERIFY(read.corner);
        QCOMPARE(read.pictureSize, picture);
        const QImage whole = PictureReader::read(path).image;
        QCOMPARE(read.image.convertToFormat(QImage::Format_RGB32),
                 whole.copy(QRect(QPoint(0, 0), corner)).convertToFormat(QImage::Format_RGB32));
    }

    void jpegStandInSize_data()
    {
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("a quarter, a little smaller, as it is")
            << QSize(1620, 1080) << QSize(1500, 1000);
        QTest::newRow("an eighth covers it: scaled down") << QSize(700, 466) << QSize(700, 466);
        QTest::newRow("a quarter too small by far: a half scaled down")
            << QSize(1800, 1200) << QSize(1800, 1200);
    }
    void jpegStandInSize()
    {
        QFETCH(QSize, wanted);
        QFETCH(QSize, decoded);
        QCOMPARE(PictureReader::jpegStandInSize(QSize(6000, 4000), wanted), decoded);
    }

    // A CMYK JPEG reads as sRGB pixels through its profile, upright, whole or as a stand-in.
    void cmyk_data()
    {
        QTest::addColumn<int>("orientation"); // Exif; 0: none stored
        QTest::addColumn<bool>("standIn");
        QTest::addColumn<QSize>("size");
        QTest::newRow("whole") << 0 << false << QSize(64, 32);
        QTest::newRow("turned a quarter by its Exif") << 6 << false << QSize(32, 64);
        QTest::newRow("stand-in at a quarter") << 0 << true << QSize(16, 8);
        QTest::newRow("turned stand-in") << 6 << true << QSize(8, 16);
    }
    void cmyk()
    {
        QFETCH(int, orientation);
        QFETCH(bool, standIn);
        QFETCH(QSize, size);
        const QByteArray profile = cmykjpegs::pressProfile();
        if (profile.isEmpty())
            QSKIP("no CMYK profile installed (libgs-common)");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("press.jpg"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(cmykjpegs::encoded(QSize(64, 32), {255, 0, 0, 0},
                                      cmykjpegs::Samples::AdobeInverted, profile));
        file.close();
        if (orientation) {
            Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.toStdString());
            image->readMetadata();
            image->exifData()["Exif.Image.Orientation"] = uint16_t(orientation);
            image->writeMetadata();
        }
        QImage read;
        if (standIn) {
            const PictureReader::StandIn quick =
                PictureReader::readScaled(path, [](const QSize& picture) { return picture / 4; });
            QCOMPARE(quick.pictureSize, size * 4);
            read = quick.image;
        } else {
            const PictureReader::Result result = PictureReader::read(path);
            QCOMPARE(result.format, QStringLiteral("jpeg"));
            // Already sRGB: nothing more to convert for the screen.
            QVERIFY(result.display.isNull());
            read = result.image;
        }
        QCOMPARE(read.size(), size);
        QCOMPARE(read.colorSpace(), QColorSpace(QColorSpace::SRgb));
        // Press cyan, not the screen's pure cyan the plain formula makes of it.
        const QRgb pixel = read.pixel(size.width() / 2, size.height() / 2);
        QVERIFY2(qGreen(pixel) < 200 && qBlue(pixel) > 200, qPrintable(QColor(pixel).name()));
    }
};

LUMO_TEST_MAIN(TestPictureReader)
#include "tst_picturereader.moc"
