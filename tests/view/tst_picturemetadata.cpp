#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedprompter.h"

#include "view/adjustmentdialog.h"
#include "view/picturemetadata.h"
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
    void dimensionsFollowPicture_data();
    void dimensionsFollowPicture();
    void damagedExifStillWrites_data();
    void damagedExifStillWrites();
    void metadataThatDoesNotFit_data();
    void metadataThatDoesNotFit();
    void failedEmbeddingLeavesBytes();
};

namespace {

const char* const cameraModel = "LumoCam 7";
const char* const takenAt = "2021:06:05 10:20:30";

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

QByteArray smallJpeg()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    PictureFixture::rampImage(QSize(8, 8)).save(&buffer, "jpeg");
    return bytes;
}

// The camera data a photo straight from a camera carries, stored as it lies in the file.
void addCameraData(const QString& path, const QSize& stored, uint16_t orientation)
{
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    Exiv2::ExifData& exif = image->exifData();
    exif["Exif.Image.Model"] = cameraModel;
    exif["Exif.Photo.DateTimeOriginal"] = takenAt;
    exif["Exif.Image.Orientation"] = orientation;
    exif["Exif.Photo.PixelXDimension"] = uint32_t(stored.width());
    exif["Exif.Photo.PixelYDimension"] = uint32_t(stored.height());
    const QByteArray thumb = smallJpeg();
    Exiv2::ExifThumb(exif).setJpegThumbnail(
        reinterpret_cast<const Exiv2::byte*>(thumb.constData()), thumb.size());
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

QString text(const Exiv2::ExifData& exif, const char* key)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    return it == exif.end() ? QString() : QString::fromStdString(it->toString());
}

QString text(const Exiv2::XmpData& xmp, const char* key)
{
    const auto it = xmp.findKey(Exiv2::XmpKey(key));
    return it == xmp.end() ? QString() : QString::fromStdString(it->toString());
}

QString text(const Exiv2::IptcData& iptc, const char* key)
{
    const auto it = iptc.findKey(Exiv2::IptcKey(key));
    return it == iptc.end() ? QString() : QString::fromStdString(it->toString());
}

QSize exifSize(const Exiv2::ExifData& exif)
{
    return QSize(text(exif, "Exif.Photo.PixelXDimension").toInt(),
                 text(exif, "Exif.Photo.PixelYDimension").toInt());
}

QSize uprightSize(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read().size();
}

// A photo as read by the view: 64 by 48 stored, shown turned by its orientation.
struct Photo
{
    explicit Photo(uint16_t orientation)
        : fixture(QSize(64, 48), QStringLiteral("photo.jpg"))
    {
        addCameraData(fixture.picturePath(), QSize(64, 48), orientation);
        fixture.view()->openFile(fixture.picturePath());
    }
    PictureFixture fixture;
};

} // namespace

void TestPictureMetadata::cameraDataKept_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("holdsIptc");
    QTest::newRow("jpeg as another file") << "copy.jpg" << "JPEG" << true;
    QTest::newRow("jpeg over its own file") << "photo.jpg" << "jpeg" << true;
    QTest::newRow("png") << "copy.png" << "PNG" << true;
    QTest::newRow("tiff") << "copy.tif" << "TIF" << true;
    QTest::newRow("webp") << "copy.webp" << "WEBP" << false;
}

void TestPictureMetadata::cameraDataKept()
{
    QFETCH(QString, target);
    QFETCH(QString, format);
    QFETCH(bool, holdsIptc);
    Photo photo(6);
    SPicView* view = photo.fixture.view();
    QCOMPARE(view->image().size(), QSize(48, 64));
    QVERIFY(photo.fixture.runAdjustment(true));
    QSignalSpy messages(view, &SPicView::message);
    const QString path = photo.fixture.path(target);
    QVERIFY(view->write(path, format));
    QCOMPARE(messages.count(), 0);

    const Stored stored = storedIn(path);
    QCOMPARE(text(stored.exif, "Exif.Image.Model"), QString::fromLatin1(cameraModel));
    QCOMPARE(text(stored.exif, "Exif.Photo.DateTimeOriginal"), QString::fromLatin1(takenAt));
    QCOMPARE(text(stored.exif, "Exif.Image.Orientation"), QStringLiteral("1"));
    QCOMPARE(exifSize(stored.exif), QSize(48, 64));
    Exiv2::ExifData exif = stored.exif;
    QCOMPARE(Exiv2::ExifThumbC(exif).copy().size_, 0L);
    QVERIFY(text(stored.xmp, "Xmp.dc.title").endsWith(QLatin1String("Harbour at dawn")));
    QCOMPARE(text(stored.xmp, "Xmp.tiff.Orientation"), QStringLiteral("1"));
    QCOMPARE(text(stored.iptc, "Iptc.Application2.Headline"),
             holdsIptc ? QStringLiteral("Harbour") : QString());
    // Read back by anyone honouring the orientation, the picture is not turned a second time.
    QCOMPARE(uprightSize(path), QSize(48, 64));
}

void TestPictureMetadata::dimensionsFollowPicture_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("turnInEditor");
    QTest::addColumn<QSize>("size");
    QTest::newRow("upright") << 1 << false << QSize(64, 48);
    QTest::newRow("turned by its orientation") << 6 << false << QSize(48, 64);
    QTest::newRow("turned in the editor") << 1 << true << QSize(48, 64);
    QTest::newRow("both turns") << 6 << true << QSize(64, 48);
}

void TestPictureMetadata::dimensionsFollowPicture()
{
    QFETCH(int, orientation);
    QFETCH(bool, turnInEditor);
    QFETCH(QSize, size);
    Photo photo{uint16_t(orientation)};
    SPicView* view = photo.fixture.view();
    if (turnInEditor)
        QVERIFY(view->runAdjustment(
            [](SPicView* parent, QImage* target, const QImage* source) {
                return new QuarterTurnDialog(parent, target, source);
            },
            SPicView::AdjustmentOption::AnnouncesNotSaved));
    const QString path = photo.fixture.path(QStringLiteral("saved.jpg"));
    QVERIFY(view->write(path, QStringLiteral("jpg")));
    QCOMPARE(exifSize(storedIn(path).exif), size);
    QCOMPARE(uprightSize(path), size);
}

void TestPictureMetadata::damagedExifStillWrites_data()
{
    QTest::addColumn<QByteArray>("exifBlock");
    QTest::newRow("no tiff header") << QByteArray("not a tiff header at all");
    QTest::newRow("first directory far past the end")
        << QByteArray::fromHex("49492a00ffffff7f");
    QTest::newRow("directory with a huge entry count")
        << QByteArray::fromHex("49492a0008000000ffff0f01020000000100");
    QTest::newRow("entry pointing out of the block")
        << QByteArray::fromHex("49492a00080000000100" "0f01" "0200" "00100000" "00000010"
                               "00000000");
}

void TestPictureMetadata::damagedExifStillWrites()
{
    QFETCH(QByteArray, exifBlock);
    PictureFixture fixture(QSize(64, 48), QStringLiteral("photo.jpg"));
    QFile file(fixture.picturePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    const QByteArray payload = QByteArray("Exif", 4) + QByteArray(2, '\0') + exifBlock;
    const int length = payload.size() + 2;
    const QByteArray segment = QByteArray::fromHex("ffe1") + char(length >> 8)
                               + char(length & 0xff) + payload;
    bytes.insert(2, segment);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
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
    const std::string description(70000, 'x');
    {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(fixture.picturePath().toStdString());
        image->readMetadata();
        image->xmpData()["Xmp.dc.source"] = description;
        image->writeMetadata();
    }
    SPicView* view = fixture.view();
    QVERIFY(view->openFile(fixture.picturePath()));
    QVERIFY(fixture.runAdjustment(true));
    const QImage edited = view->image().copy();
    QSignalSpy messages(view, &SPicView::message);
    const QString path = fixture.path(target);
    QVERIFY(view->write(path, QFileInfo(path).suffix()));
    QCOMPARE(QImage(path).size(), edited.size());
    QCOMPARE(text(storedIn(path).xmp, "Xmp.dc.source").size(), kept ? 70000 : 0);
    QCOMPARE(messages.count(), kept ? 0 : 1);
    if (!kept)
        QVERIFY(messages.first().first().toString().startsWith(QLatin1String("Save: ")));
}

void TestPictureMetadata::failedEmbeddingLeavesBytes()
{
    PictureFixture fixture(QSize(16, 16), QStringLiteral("photo.jpg"));
    addCameraData(fixture.picturePath(), QSize(16, 16), 1);
    const PictureMetadata metadata = PictureMetadata::read(fixture.picturePath());
    QVERIFY(!metadata.isEmpty());
    QByteArray bytes("neither a picture nor anything else");
    const QByteArray before = bytes;
    QString error;
    QVERIFY(!metadata.embedInto(&bytes, QSize(16, 16), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(bytes, before);
}

LUMO_TEST_MAIN(TestPictureMetadata)
#include "tst_picturemetadata.moc"
