#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedprompter.h"

#include "app/settings.h"
#include "view/adjustmentdialog.h"
#include "view/filelistmodel.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QSettings>

#include <exiv2/exiv2.hpp>

#include <unistd.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray encoded(const QImage& image, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

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
    const QByteArray thumb = encoded(PictureFixture::rampImage(QSize(8, 8)), "jpeg", -1);
    Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumb.constData()),
                                            thumb.size());
    image->iptcData()["Iptc.Application2.Headline"] = "Harbour";
    image->xmpData()["Xmp.tiff.Orientation"] = std::to_string(orientation);
    image->writeMetadata();
}

Exiv2::Image::AutoPtr storedIn(const QString& path)
{
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    return image;
}

template <typename Key, typename Data> QString text(const Data& data, const char* key)
{
    const auto it = data.findKey(Key(key));
    return it == data.end() ? QString() : QString::fromStdString(it->toString());
}

} // namespace

// Saving a picture: quality, one complete write, failures that keep the edits, links and lists,
// and the camera data of an edited photo, corrected for the new pixels.
class TestPictureWrite : public QObject
{
    Q_OBJECT

private slots:
    void configuredQualityWritten_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("quality");
        QTest::newRow("nothing stored takes the default") << 0 << -1;
        QTest::newRow("out of range takes the default") << 101 << -1;
        QTest::newRow("low quality") << 10 << 10;
    }
    void configuredQualityWritten()
    {
        QFETCH(int, stored);
        QFETCH(int, quality);
        PictureFixture pic(QSize(64, 48), QStringLiteral("photo.jpg"));
        Settings::instance()->store()->setValue(
            QStringLiteral("/lumo-apps/lumo-image/Quality/JPEG"), stored);
        QVERIFY(pic.runAdjustment(true));
        const QImage edited = pic.view()->image().copy();
        QVERIFY(pic.view()->save());
        // Written once, at the configured quality.
        const QByteArray expected = encoded(edited, "jpeg", quality);
        QCOMPARE(contents(pic.picturePath()), expected);
        if (quality != -1)
            QVERIFY(expected != encoded(edited, "jpeg", -1));
        QVERIFY(!pic.view()->isModified());
    }

    void failureKeepsEverything_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("knownFormat");
        QTest::newRow("read-only file in read-only folder") << "picture.png" << true;
        QTest::newRow("format nobody writes") << "picture.png" << false;
        QTest::newRow("folder that does not exist") << "missing/picture.png" << true;
        QTest::newRow("a folder in the way") << "." << true;
    }
    void failureKeepsEverything()
    {
        QFETCH(QString, target);
        QFETCH(bool, knownFormat);
        const bool lockFolder = knownFormat && target == "picture.png";
        if (lockFolder && ::geteuid() == 0)
            QSKIP("permissions do not stop the superuser");
        PictureFixture pic;
        SPicView* view = pic.view();
        QVERIFY(pic.runAdjustment(true));
        const QImage edited = view->image().copy();
        const QByteArray original = contents(pic.picturePath());
        const QString folder = QFileInfo(pic.picturePath()).absolutePath();
        if (lockFolder) {
            QFile::setPermissions(pic.picturePath(), QFile::ReadOwner);
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        ScriptedPrompter prompter;
        const QString path = QDir::cleanPath(pic.path(target));
        const bool written = view->write(path, knownFormat ? "png" : "nosuchformat");
        if (lockFolder) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QFile::setPermissions(pic.picturePath(), QFile::ReadOwner | QFile::WriteOwner);
        }
        QVERIFY(!written);
        QCOMPARE(prompter.asked().size(), 1);
        QCOMPARE(prompter.asked().first().icon, QMessageBox::Warning);
        QVERIFY(prompter.asked().first().text.contains(path));
        QVERIFY(view->isModified());
        QCOMPARE(view->undoCount(), 1);
        QCOMPARE(view->image(), edited);
        QCOMPARE(view->pic()->format(), QStringLiteral("png"));
        QCOMPARE(contents(pic.picturePath()), original);
    }

    void symbolicLinkStaysLink()
    {
        PictureFixture pic;
        const QString link = pic.path(QStringLiteral("link.png"));
        QVERIFY(QFile::link(pic.picturePath(), link));
        QVERIFY(pic.view()->openFile(link));
        QVERIFY(pic.runAdjustment(true));
        const QImage edited = pic.view()->image().copy();
        QVERIFY(pic.view()->save());
        QCOMPARE(QFileInfo(link).symLinkTarget(), pic.picturePath());
        QCOMPARE(QImage(pic.picturePath()).convertToFormat(edited.format()), edited);
    }

    void listSurvivesWrite_data()
    {
        QTest::addColumn<bool>("throughQuestion");
        QTest::newRow("save keeps the list and the row") << false;
        QTest::newRow("yes on the way to the next file") << true;
    }
    void listSurvivesWrite()
    {
        QFETCH(bool, throughQuestion);
        PictureFixture pic;
        QStringList files;
        for (const char* name : {"a.png", "b.png", "c.png"}) {
            files << pic.path(QString::fromLatin1(name));
            QVERIFY(PictureFixture::writePicture(files.last(), QSize(16, 16)));
        }
        SPicView* view = pic.view();
        QVERIFY(view->openList(files));
        view->setCurrentIndex(view->fileModel()->index(1, 0));
        QVERIFY(pic.runAdjustment(true));
        const QImage edited = view->image().copy();
        ScriptedPrompter prompter;
        prompter.answer(QMessageBox::Yes);
        if (throughQuestion)
            view->next();
        else
            QVERIFY(view->save());
        QCOMPARE(prompter.asked().size(), throughQuestion ? 1 : 0);
        QVERIFY(qobject_cast<FileListModel*>(view->fileModel()));
        QCOMPARE(view->fileModel()->rowCount(), 3);
        const int row = throughQuestion ? 2 : 1;
        QCOMPARE(view->currentRow(), row);
        QCOMPARE(view->filePath(), files.at(row));
        QVERIFY(!view->isModified());
        QCOMPARE(QImage(files.at(1)).convertToFormat(edited.format()), edited);
    }

    void pictureMadeInMemory()
    {
        PictureFixture pic;
        SPicView* view = pic.view();
        view->newImage(30, 20, 32, 0xff336699u);
        QVERIFY(pic.runAdjustment(true));
        ScriptedPrompter prompter;
        QVERIFY(!view->save()); // no file to save to, and nothing to ask
        QVERIFY(prompter.asked().isEmpty());
        QSignalSpy models(view, &SPicView::dirModelChanged);
        const QString path = pic.path(QStringLiteral("new.png"));
        QVERIFY(view->write(path, QStringLiteral("png")));
        QCOMPARE(models.count(), 1);
        QVERIFY(!view->isUnsavedNew());
        QVERIFY(!view->isModified());
        QCOMPARE(QImage(path).size(), QSize(30, 20));
        QTRY_COMPARE(view->filePath(), path);
    }

    void cameraDataKept_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("turnInEditor");
        QTest::addColumn<QSize>("size");
        QTest::newRow("jpeg, turned by its orientation")
            << "copy.jpg" << 6 << false << QSize(48, 64);
        QTest::newRow("jpeg over its own file") << "photo.jpg" << 6 << false << QSize(48, 64);
        QTest::newRow("png") << "copy.png" << 6 << false << QSize(48, 64);
        QTest::newRow("turned in the editor") << "copy.jpg" << 1 << true << QSize(48, 64);
        QTest::newRow("both turns") << "copy.jpg" << 6 << true << QSize(64, 48);
    }
    void cameraDataKept()
    {
        QFETCH(QString, target);
        QFETCH(int, orientation);
        QFETCH(bool, turnInEditor);
        QFETCH(QSize, size);
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

        const Exiv2::Image::AutoPtr stored = storedIn(path);
        const Exiv2::ExifData& exif = stored->exifData();
        QCOMPARE(text<Exiv2::ExifKey>(exif, "Exif.Image.Model"), QStringLiteral("LumoCam 7"));
        QCOMPARE(text<Exiv2::ExifKey>(exif, "Exif.Photo.DateTimeOriginal"),
                 QStringLiteral("2021:06:05 10:20:30"));
        QCOMPARE(text<Exiv2::ExifKey>(exif, "Exif.Image.Orientation"), QStringLiteral("1"));
        QCOMPARE(QSize(text<Exiv2::ExifKey>(exif, "Exif.Photo.PixelXDimension").toInt(),
                       text<Exiv2::ExifKey>(exif, "Exif.Photo.PixelYDimension").toInt()),
                 size);
        QCOMPARE(Exiv2::ExifThumbC(exif).copy().size_, 0L); // no stale thumbnail
        QCOMPARE(text<Exiv2::XmpKey>(stored->xmpData(), "Xmp.tiff.Orientation"),
                 QStringLiteral("1"));
        QCOMPARE(text<Exiv2::IptcKey>(stored->iptcData(), "Iptc.Application2.Headline"),
                 QStringLiteral("Harbour"));
        // Read back by anyone honouring the orientation, the picture is not turned a second time.
        QImageReader reader(path);
        reader.setAutoTransform(true);
        QCOMPARE(reader.read().size(), size);
    }

    void damagedExifStillWrites_data()
    {
        QTest::addColumn<QByteArray>("exifBlock");
        QTest::newRow("no tiff header") << QByteArray("not a tiff header at all");
        QTest::newRow("directory with a huge entry count")
            << QByteArray::fromHex("49492a0008000000ffff0f01020000000100");
        QTest::newRow("entry pointing out of the block")
            << QByteArray::fromHex("49492a000800000001000f01020000100000000000100000000000");
    }
    void damagedExifStillWrites()
    {
        QFETCH(QByteArray, exifBlock);
        PictureFixture fixture(QSize(64, 48), QStringLiteral("photo.jpg"));
        QByteArray bytes = contents(fixture.picturePath());
        const int length = exifBlock.size() + 8;
        bytes.insert(2, QByteArray::fromHex("ffe1") + char(length >> 8) + char(length & 0xff) +
                            QByteArray("Exif\0\0", 6) + exifBlock);
        QFile file(fixture.picturePath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
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

    void metadataThatDoesNotFit_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("kept");
        QTest::newRow("png holds it") << "saved.png" << true;
        QTest::newRow("too big for a jpeg segment") << "saved.jpg" << false;
    }
    void metadataThatDoesNotFit()
    {
        QFETCH(QString, target);
        QFETCH(bool, kept);
        PictureFixture fixture(QSize(64, 48), QStringLiteral("drawing.png"));
        {
            Exiv2::Image::AutoPtr image = storedIn(fixture.picturePath());
            image->xmpData()["Xmp.dc.source"] = std::string(70000, 'x');
            image->writeMetadata();
        }
        SPicView* view = fixture.view();
        QVERIFY(view->openFile(fixture.picturePath()));
        QVERIFY(fixture.runAdjustment(true));
        QSignalSpy messages(view, &SPicView::message);
        const QString path = fixture.path(target);
        QVERIFY(view->write(path, QFileInfo(path).suffix()));
        // The picture is written either way; only the metadata may be missing, and then it is
        // said.
        QCOMPARE(QImage(path).size(), QSize(64, 48));
        QCOMPARE(text<Exiv2::XmpKey>(storedIn(path)->xmpData(), "Xmp.dc.source").size(),
                 kept ? 70000 : 0);
        QCOMPARE(messages.count(), kept ? 0 : 1);
        if (!kept)
            QVERIFY(messages.first().first().toString().startsWith(QLatin1String("Save: ")));
    }
};

LUMO_TEST_MAIN(TestPictureWrite)
#include "tst_picturewrite.moc"
