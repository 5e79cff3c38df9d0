#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedprompter.h"

#include "view/adjustmentdialog.h"
#include "view/spicview.h"

#include <QBuffer>
#include <QImageReader>
#include <QSignalSpy>

#include <exiv2/exiv2.hpp>

// Saving an edited photo keeps its camera data, corrected for the new pixels.
class TestPictureMetadata : public QObject
{
    Q_OBJECT

private slots:
    void cameraDataKept_data();
    void cameraDataKept();
    void damagedExifStillWrites_data();
    void damagedExifStillWrites();
    void metadataThatDoesNotFit_data();
    void metadataThatDoesNotFit();
};

namespace {

// Turns the picture a quarter to the right, as the rotation dialog would.
class QuarterTurnDialog : public AdjustmentDialog
{
public:
    using AdjustmentDialog::AdjustmentDialog;
    int exec() override
    {
        *target() = source()->transformed(QTransform().rotate(90));
        emit modified();
        return Accepted;
    }
};

// What a camera stores: 64 by 48 pixels in the file, shown turned by the orientation.
void addCameraData(const QString& path, uint16_t orientation)
{
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    Exiv2::ExifData& exif = image->exifData();
    exif["Exif.Image.Model"] = "LumoCam 7";
    exif["Exif.Photo.DateTimeOriginal"] = "2021:06:05 10:20:30";
    exif["Exif.Image.Orientation"] = orientation;
    exif["Exif.Photo.PixelXDimension"] = uint32_t(64);
    exif["Exif.Photo.PixelYDimension"] = uint32_t(48);
    QByteArray thumb;
    QBuffer buffer(&thumb);
    buffer.open(QIODevice::WriteOnly);
    PictureFixture::rampImage(QSize(8, 8)).save(&buffer, "jpeg");
    Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumb.constData()),
                                            thumb.size());
    image->iptcData()["Iptc.Application2.Headline"] = "Harbour";
    image->xmpData()["Xmp.dc.title"] = "Harbour at dawn";
    image->xmpData()["Xmp.tiff.Orientation"] = std::to_string(orientation);
    image->writeMetadata();
}

struct Stored
{
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
};

Stored storedIn(const QString& path)
{
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    return {image->exifData(), image->iptcData(), image->xmpData()};
}

template <typename Key, typename Data> QString text(const Data& data, const char* key)
{
    const auto it = data.findKey(Key(key));
    return it == data.end() ? QString() : QString::fromStdString(it->toString());
}

QSize uprightSize(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read().size();
}

} // namespace

void TestPictureMetadata::cameraDataKept_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("turnInEditor");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("holdsIptc");
    QTest::newRow("jpeg, turned by its orientation")
        << "copy.jpg" << 6 << false << QSize(48, 64) << true;
    QTest::newRow("jpeg over its own file") << "photo.jpg" << 6 << false << QSize(48, 64) << true;
    QTest::newRow("png") << "copy.png" << 6 << false << QSize(48, 64) << true;
    QTest::newRow("tiff") << "copy.tif" << 6 << false << QSize(48, 64) << true;
    QTest::newRow("webp, which holds no iptc")
        << "copy.webp" << 6 << false << QSize(48, 64) << false;
    QTest::newRow("upright") << "copy.jpg" << 1 << false << QSize(64, 48) << true;
    QTest::newRow("turned in the editor") << "copy.jpg" << 1 << true << QSize(48, 64) << true;
    QTest::newRow("both turns") << "copy.jpg" << 6 << true << QSize(64, 48) << true;
}

void TestPictureMetadata::cameraDataKept()
{
    QFETCH(QString, target);
    QFETCH(int, orientation);
    QFETCH(bool, turnInEditor);
    QFETCH(QSize, size);
    QFETCH(bool, holdsIptc);
    PictureFixture fixture(QSize(64, 48), QStringLiteral("photo.jpg"));
    addCameraData(fixture.picturePath(), uint16_t(orientation));
    SPicView* view = fixture.view();
    QVERIFY(view->openFile(fixture.picturePath()));
    QVERIFY(fixture.runAdjustment(true));
    if (turnInEditor)
        QVERIFY(view->runAdjustment(
            [](SPicView* parent, QImage* target, const QImage* source) {
                return new QuarterTurnDialog(parent, target, source);
            },
            SPicView::AdjustmentOption::AnnouncesNotSaved));
    QSignalSpy messages(view, &SPicView::message);
    const QString path = fixture.path(target);
    QVERIFY(view->write(path, QFileInfo(path).suffix().toUpper()));
    QCOMPARE(messages.count(), 0);

    Stored stored = storedIn(path);
    QCOMPARE(text<Exiv2::ExifKey>(stored.exif, "Exif.Image.Model"), QStringLiteral("LumoCam 7"));
    QCOMPARE(text<Exiv2::ExifKey>(stored.exif, "Exif.Photo.DateTimeOriginal"),
             QStringLiteral("2021:06:05 10:20:30"));
    QCOMPARE(text<Exiv2::ExifKey>(stored.exif, "Exif.Image.Orientation"), QStringLiteral("1"));
    QCOMPARE(QSize(text<Exiv2::ExifKey>(stored.exif, "Exif.Photo.PixelXDimension").toInt(),
                   text<Exiv2::ExifKey>(stored.exif, "Exif.Photo.PixelYDimension").toInt()),
             size);
    QCOMPARE(Exiv2::ExifThumbC(stored.exif).copy().size_, 0L);
    QVERIFY(
        text<Exiv2::XmpKey>(stored.xmp, "Xmp.dc.title").endsWith(QLatin1String("Harbour at dawn")));
    QCOMPARE(text<Exiv2::XmpKey>(stored.xmp, "Xmp.tiff.Orientation"), QStringLiteral("1"));
    QCOMPARE(text<Exiv2::IptcKey>(stored.iptc, "Iptc.Application2.Headline"),
             holdsIptc ? QStringLiteral("Harbour") : QString());
    // Read back by anyone honouring the orientation, the picture is not turned a second time.
    QCOMPARE(uprightSize(path), size);
}

void TestPictureMetadata::damagedExifStillWrites_data()
{
    QTest::addColumn<QByteArray>("exifBlock");
    QTest::newRow("no tiff header") << QByteArray("not a tiff header at all");
    QTest::newRow("directory with a huge entry count")
        << QByteArray::fromHex("49492a0008000000ffff0f01020000000100");
    QTest::newRow("entry pointing out of the block")
        << QByteArray::fromHex("49492a000800000001000f01020000100000000000100000000000");
}

void TestPictureMetadata::damagedExifStillWrites()
{
    QFETCH(QByteArray, exifBlock);
    PictureFixture fixture(QSize(64, 48), QStringLiteral("photo.jpg"));
    QFile file(fixture.picturePath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const int length = exifBlock.size() + 8;
    bytes.insert(2, QByteArray::fromHex("ffe1") + char(length >> 8) + char(length & 0xff) +
                        QByteArray("Exif\0\0", 6) + exifBlock);
    file.seek(0);
    file.write(bytes);
    file.close();

    SPicView* view = fixture.view();
    QVERIFY(view->openFile(fixture.picturePath()));
    QVERIFY(fixture.runAdjustment(true));
    ScriptedPrompter prompter;
    for (const char* name : {"saved.jpg", "saved.png"}) {
        const QString path = fixture.path(QLatin1String(name));
        QVERIFY(view->write(path, QFileInfo(path).suffix()));
        QCOMPARE(QImage(path).size(), QSize(64, 48));
    }
    QVERIFY(prompter.asked().isEmpty());
}

void TestPictureMetadata::metadataThatDoesNotFit_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("kept");
    QTest::newRow("png holds it") << "saved.png" << true;
    QTest::newRow("too big for a jpeg segment") << "saved.jpg" << false;
}

void TestPictureMetadata::metadataThatDoesNotFit()
{
    QFETCH(QString, target);
    QFETCH(bool, kept);
    PictureFixture fixture(QSize(64, 48), QStringLiteral("drawing.png"));
    {
        Exiv2::Image::AutoPtr image =
            Exiv2::ImageFactory::open(fixture.picturePath().toStdString());
        image->readMetadata();
        image->xmpData()["Xmp.dc.source"] = std::string(70000, 'x');
        image->writeMetadata();
    }
    SPicView* view = fixture.view();
    QVERIFY(view->openFile(fixture.picturePath()));
    QVERIFY(fixture.runAdjustment(true));
    QSignalSpy messages(view, &SPicView::message);
    const QString path = fixture.path(target);
    QVERIFY(view->write(path, QFileInfo(path).suffix()));
    // The picture is written either way; only the metadata may be missing, and then it is said.
    QCOMPARE(QImage(path).size(), QSize(64, 48));
    QCOMPARE(text<Exiv2::XmpKey>(storedIn(path).xmp, "Xmp.dc.source").size(), kept ? 70000 : 0);
    QCOMPARE(messages.count(), kept ? 0 : 1);
    if (!kept)
        QVERIFY(messages.first().first().toString().startsWith(QLatin1String("Save: ")));
}

LUMO_TEST_MAIN(TestPictureMetadata)
#include "tst_picturemetadata.moc"
