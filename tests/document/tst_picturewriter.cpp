#include "support/lumotest.h"

#include "document/picturemetadata.h"
#include "document/picturereader.h"
#include "document/picturewriter.h"

#include <QDir>
#include <QImageReader>
#include <QImageWriter>

#include <exiv2/exiv2.hpp>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

namespace {

using lumotest::contents;

using lumotest::encoded;

void setFolderWritable(const QString& folder, bool writable)
{
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner
                                      | (writable ? QFile::WriteOwner : QFile::Permissions()));
}

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
    const QByteArray thumb = encoded(lumotest::rampImage(QSize(8, 8)), "jpeg");
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

// While it lives, no file of this process grows beyond the given size, as on a disk that fills up;
// a write past it fails instead of ending the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
        : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

} // namespace

// Writing a picture file: whole or not at all, at the quality asked, through links, and with the
// camera data of an edited photo corrected for the new pixels.
class TestPictureWriter : public QObject
{
    Q_OBJECT

private slots:
    // With nothing stored, a JPEG keeps about the quality of the JPEG it was read from.
    void qualityFromSource_data() { lumotest::addRows(QStringLiteral("writerquality.txt")); }
    void qualityFromSource()
    {
        QFETCH(QString, format);
        QFETCH(int, stored);
        QFETCH(QString, source);
        QFETCH(int, quality);
        QTemporaryDir dir;
        const QImage image = lumotest::rampImage(QSize(32, 24));
        QVERIFY(image.save(dir.filePath(QStringLiteral("camera.jpg")), "jpeg", 60));
        QVERIFY(image.save(dir.filePath(QStringLiteral("camera.png")), "jpeg", 60));
        QVERIFY(image.save(dir.filePath(QStringLiteral("drawing.png")), "png"));
        QFile broken(dir.filePath(QStringLiteral("broken.jpg")));
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("\xff\xd8\xff\xe0 cut") > 0);
        broken.close();
        const QString path = source.isEmpty() ? QString() : dir.filePath(source);
        QCOMPARE(PictureWriter::quality(format, {stored, stored, stored}, path), quality);
    }

    // What the status bar says is the quality the library takes for its default.
    void effectiveQuality_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("jpeg") << "jpeg";
        QTest::newRow("webp") << "webp";
    }
    void effectiveQuality()
    {
        QFETCH(QString, format);
        const QImage image = lumotest::rampImage(QSize(32, 24));
        const int shown = PictureWriter::effectiveQuality(format, -1);
        QVERIFY(shown >= 1 && shown <= 100);
        QCOMPARE(encoded(image, qPrintable(format), -1), encoded(image, qPrintable(format), shown));
        QVERIFY(encoded(image, qPrintable(format), shown + 10)
                != encoded(image, qPrintable(format), shown));
    }

    void write_data() { lumotest::addRows(QStringLiteral("writerwrite.txt")); }
    void write()
    {
        QFETCH(QString, name);
        QFETCH(QString, format);
        QFETCH(QString, how);
        QFETCH(int, quality);
        QFETCH(bool, limited);
        QFETCH(bool, written);
        if (how.startsWith(QLatin1String("locked")) && ::geteuid() == 0) {
            // Permissions do not stop the superuser: the row runs again as nobody.
            QCOMPARE(lumotest::runAsNobody(QStringLiteral("write:") + QTest::currentDataTag()), 0);
            return;
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(lumotest::writePicture(path, QSize(64, 48)));
        const QByteArray original = contents(path);
        QImage edited = lumotest::rampImage(QSize(64, 48));
        edited.invertPixels();
        QStringList entries{name};
        QString target = path;
        if (how == QLatin1String("link")) {
            target = dir.filePath(QStringLiteral("link.png"));
            QVERIFY(QFile::link(path, target));
            entries.prepend(QStringLiteral("link.png"));
        } else if (how == QLatin1String("locked file")) {
            QFile::setPermissions(path, QFile::ReadOwner);
        }
        setFolderWritable(dir.path(), how.isEmpty() || how == QLatin1String("link"));
        QString error;
        bool done = false;
        {
            FileSizeLimit limit(limited ? rlim_t(original.size() / 2) : RLIM_INFINITY);
            done = PictureWriter::write(edited, target, format, quality, &error);
        }
        setFolderWritable(dir.path(), true); // so that the sandbox can go
        QCOMPARE(done, written);
        QCOMPARE(error.isEmpty(), written);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), entries);
        QCOMPARE(contents(path), written ? encoded(edited, qPrintable(format), quality) : original);
        if (quality != -1)
            QVERIFY(contents(path) != encoded(edited, "jpeg"));
        QCOMPARE(QFileInfo(target).symLinkTarget(), target == path ? QString() : path);
    }

    // The in-place rewrite is write()'s above in a folder that takes no new files; here, an old
    // file already beyond what the disk takes stays as it was.
    void rewriteInPlaceKeepsAnOldFileBeyondTheLimit()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture.png"));
        const QByteArray old(300, 'o');
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        QString error;
        bool written = true;
        {
            FileSizeLimit limit(100);
            written = PictureWriter::rewriteInPlace(QByteArray(280, 'n'), path, &error);
        }
        QVERIFY(!written && !error.isEmpty());
        QCOMPARE(contents(path), old);
    }

    void cameraDataKept_data()
    {
        QTest::addColumn<bool>("turnInEditor");
        QTest::addColumn<QSize>("size");
        QTest::newRow("turned by its orientation") << false << QSize(48, 64);
        QTest::newRow("both turns") << true << QSize(64, 48);
    }
    void cameraDataKept()
    {
        QFETCH(bool, turnInEditor);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("photo.jpg"));
        QVERIFY(lumotest::writePicture(source, QSize(64, 48)));
        addCameraData(source, 6);
        QImage image = PictureReader::read(source).image;
        QCOMPARE(image.size(), QSize(48, 64)); // upright
        image.invertPixels();
        if (turnInEditor)
            image = image.transformed(QTransform().rotate(90));
        QString metadataError;
        const PictureMetadata metadata = PictureMetadata::read(source, &metadataError);
        const QString path = dir.filePath(QStringLiteral("copy.jpg"));
        QString error;
        QVERIFY(PictureWriter::write(image, path, QStringLiteral("jpg"), -1, &error, metadata,
                                     &metadataError));
        QCOMPARE(metadataError, QString());

        const Exiv2::Image::AutoPtr stored = storedIn(path);
        const Exiv2::ExifData& exif = stored->exifData();
        const auto exifText = [&exif](const char* key) { return text<Exiv2::ExifKey>(exif, key); };
        QCOMPARE(
            (QStringList{exifText("Exif.Image.Model"), exifText("Exif.Photo.DateTimeOriginal"),
                         exifText("Exif.Image.Orientation"), exifText("Exif.Photo.PixelXDimension"),
                         exifText("Exif.Photo.PixelYDimension"),
                         text<Exiv2::XmpKey>(stored->xmpData(), "Xmp.tiff.Orientation"),
                         text<Exiv2::IptcKey>(stored->iptcData(), "Iptc.Application2.Headline")}),
            (QStringList{"LumoCam 7", "2021:06:05 10:20:30", "1", QString::number(size.width()),
                         QString::number(size.height()), "1", "Harbour"}));
        QCOMPARE(Exiv2::ExifThumbC(exif).copy().size_, 0L); // no stale thumbnail
        // Read back by anyone honouring the orientation, the picture is not turned a second time.
        QImageReader reader(path);
        reader.setAutoTransform(true);
        QCOMPARE(reader.read().size(), size);
    }

    // The picture is written whatever its metadata; when that cannot go along, it is said.
    void troublesomeMetadata_data()
    {
        QTest::addColumn<QByteArray>("exifBlock"); // empty: a PNG with 70,000 bytes of XMP
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("said");
        QTest::newRow("exif without tiff header")
            << QByteArray("not a tiff header at all") << "saved.png" << true;
        QTest::newRow("exif directory with a huge entry count")
            << QByteArray::fromHex("49492a0008000000ffff0f01020000000100") << "saved.jpg" << false;
        QTest::newRow("xmp that a png holds") << QByteArray() << "saved.png" << false;
        QTest::newRow("xmp too big for a jpeg segment") << QByteArray() << "saved.jpg" << true;
    }
    void troublesomeMetadata()
    {
        QFETCH(QByteArray, exifBlock);
        QFETCH(QString, target);
        QFETCH(bool, said);
        QTemporaryDir dir;
        const QString source = dir.filePath(exifBlock.isEmpty() ? "drawing.png" : "photo.jpg");
        QVERIFY(lumotest::writePicture(source, QSize(64, 48)));
        if (exifBlock.isEmpty()) {
            Exiv2::Image::AutoPtr image = storedIn(source);
            image->xmpData()["Xmp.dc.source"] = std::string(70000, 'x');
            image->writeMetadata();
        } else {
            QByteArray bytes = contents(source);
            const int length = exifBlock.size() + 8;
            bytes.insert(2, QByteArray::fromHex("ffe1") + char(length >> 8) + char(length & 0xff)
                                + QByteArray("Exif\0\0", 6) + exifBlock);
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
        }
        QString metadataError;
        const PictureMetadata metadata = PictureMetadata::read(source, &metadataError);
        const QString path = dir.filePath(target);
        QString error;
        QVERIFY(PictureWriter::write(PictureReader::read(source).image, path,
                                     QFileInfo(path).suffix(), -1, &error, metadata,
                                     &metadataError));
        QCOMPARE(QImage(path).size(), QSize(64, 48));
        QCOMPARE(!metadataError.isEmpty(), said);
        if (exifBlock.isEmpty())
            QCOMPARE(text<Exiv2::XmpKey>(storedIn(path)->xmpData(), "Xmp.dc.source").size(),
                     said ? 0 : 70000);
    }
};

LUMO_TEST_MAIN(TestPictureWriter)
#include "tst_picturewriter.moc"
