#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedprompter.h"

#include "document/filelistmodel.h"
#include "document/picturewriter.h"
#include "settings/settings.h"
#include "view/adjustmentdialog.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QSettings>

#include <exiv2/exiv2.hpp>

#include <csignal>

#include <sys/resource.h>
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
        *target() = source().transformed(QTransform().rotate(90));
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
        QTest::addColumn<bool>("throughLink"); // the link must stay a link
        QTest::newRow("nothing stored takes the default") << 0 << -1 << false;
        QTest::newRow("out of range takes the default") << 101 << -1 << false;
        QTest::newRow("low quality") << 10 << 10 << false;
        QTest::newRow("opened through a symbolic link") << 10 << 10 << true;
    }
    void configuredQualityWritten()
    {
        QFETCH(int, stored);
        QFETCH(int, quality);
        QFETCH(bool, throughLink);
        PictureFixture pic(QSize(64, 48), QStringLiteral("photo.jpg"));
        const QString link = pic.path(QStringLiteral("link.jpg"));
        if (throughLink)
            QVERIFY(QFile::link(pic.picturePath(), link) && pic.view()->openFile(link));
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
        QCOMPARE(QFileInfo(link).symLinkTarget(), throughLink ? pic.picturePath() : QString());
    }

    void failureKeepsEverything_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("knownFormat");
        QTest::newRow("read-only file in read-only folder") << "picture.png" << true;
        QTest::newRow("format nobody writes") << "picture.png" << false;
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
        if (lockFolder) // so that the sandbox can go
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!written);
        QCOMPARE(prompter.asked().size(), 1);
        QCOMPARE(prompter.asked().first().icon, QMessageBox::Warning);
        QVERIFY(prompter.asked().first().text.contains(path));
        QCOMPARE((QVariantList{view->isModified(), view->undoCount(), view->pic()->format()}),
                 (QVariantList{true, 1, "png"}));
        QCOMPARE(view->image(), edited);
        QCOMPARE(contents(pic.picturePath()), original);
    }

    // The new file is small enough to wait whole in the write buffer, so only the last flush
    // meets the limit.
    void cutShortKeepsOriginal_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("lockFolder"); // no temporary file: the file is rewritten in place
        QTest::addColumn<bool>("limited");
        QTest::newRow("png through a temporary file") << "picture.png" << false << true;
        QTest::newRow("jpeg through a temporary file") << "photo.jpg" << false << true;
        QTest::newRow("png in a folder that takes no new files") << "picture.png" << true << true;
        QTest::newRow("png in a folder that takes no new files, room enough")
            << "picture.png" << true << false;
    }
    void cutShortKeepsOriginal()
    {
        QFETCH(QString, name);
        QFETCH(bool, lockFolder);
        QFETCH(bool, limited);
        if (lockFolder && ::geteuid() == 0)
            QSKIP("permissions do not stop the superuser");
        PictureFixture pic(QSize(64, 48), name);
        SPicView* view = pic.view();
        QVERIFY(pic.runAdjustment(true));
        const QImage edited = view->image().copy();
        const QByteArray original = contents(pic.picturePath());
        const QString folder = QFileInfo(pic.picturePath()).absolutePath();
        if (lockFolder)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        ScriptedPrompter prompter;
        bool saved = false;
        {
            FileSizeLimit limit(limited ? rlim_t(original.size() / 2) : RLIM_INFINITY);
            saved = view->save();
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{name}); // nothing left over
        QCOMPARE(saved, !limited);
        if (!limited) {
            QCOMPARE(QImage(pic.picturePath()).convertToFormat(edited.format()), edited);
            return;
        }
        QCOMPARE(prompter.asked().size(), 1);
        QCOMPARE(contents(pic.picturePath()), original);
        QCOMPARE((QVariantList{view->isModified(), view->undoCount(), view->image() == edited}),
                 (QVariantList{true, 1, true}));
    }

    void rewriteInPlaceWholeOrNothing_data()
    {
        QTest::addColumn<int>("oldSize");
        QTest::addColumn<int>("newSize");
        QTest::addColumn<int>("limit"); // bytes a file may reach; 0: no limit
        QTest::newRow("shorter") << 300 << 200 << 0;
        QTest::newRow("longer") << 200 << 300 << 0;
        QTest::newRow("longer than the limit, the old file within") << 200 << 300 << 250;
        QTest::newRow("old file already beyond the limit") << 300 << 280 << 100;
    }
    void rewriteInPlaceWholeOrNothing()
    {
        QFETCH(int, oldSize);
        QFETCH(int, newSize);
        QFETCH(int, limit);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture.png"));
        const QByteArray old(oldSize, 'o');
        const QByteArray replacement(newSize, 'n');
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == oldSize);
        file.close();
        QString error;
        bool written = false;
        {
            FileSizeLimit fileSizeLimit(limit ? rlim_t(limit) : RLIM_INFINITY);
            written = PictureWriter::rewriteInPlace(replacement, path, &error);
        }
        QCOMPARE(written, limit == 0);
        QCOMPARE(error.isEmpty(), written);
        QCOMPARE(contents(path), written ? replacement : old);
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
        const QStringList files{pic.path("a.png"), pic.path("b.png"), pic.path("c.png")};
        for (const QString& file : files)
            QVERIFY(PictureFixture::writePicture(file, QSize(16, 16)));
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
        const int row = throughQuestion ? 2 : 1;
        QCOMPARE((QVariantList{view->fileModel()->rowCount(), view->currentRow(), view->filePath(),
                               view->isModified()}),
                 (QVariantList{3, row, files.at(row), false}));
        QCOMPARE(QImage(files.at(1)).convertToFormat(edited.format()), edited);
    }

    void pictureMadeInMemory()
    {
        PictureFixture pic;
        SPicView* view = pic.view();
        view->newImage(30, 20, 32, 0xff336699u);
        QVERIFY(pic.runAdjustment(true));
        ScriptedPrompter prompter;
        QVERIFY(!view->save() && prompter.asked().isEmpty()); // no file, and nothing to ask
        QSignalSpy models(view, &SPicView::dirModelChanged);
        const QString path = pic.path(QStringLiteral("new.png"));
        QVERIFY(view->write(path, QStringLiteral("png")));
        QCOMPARE((QVariantList{models.count(), view->isUnsavedNew(), view->isModified(),
                               QImage(path).size()}),
                 (QVariantList{1, false, false, QSize(30, 20)}));
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
        QCOMPARE(view->image().size(), orientation == 6 ? QSize(48, 64) : QSize(64, 48)); // upright
        QVERIFY(fixture.runAdjustment(true));
        if (turnInEditor)
            QVERIFY(view->runAdjustment(
                [](SPicView* parent, QImage* target, const QImage& source) {
                    return new QuarterTurnDialog(parent, target, source);
                },
                SPicView::AdjustmentOptions()));
        QSignalSpy messages(view, &SPicView::message);
        const QString path = fixture.path(target);
        QVERIFY(view->write(path, QFileInfo(path).suffix().toUpper()));
        QCOMPARE(messages.count(), 0);

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
        QTest::newRow("exif entry pointing out of the block")
            << QByteArray::fromHex("49492a000800000001000f01020000100000000000100000000000")
            << "saved.jpg" << false;
        QTest::newRow("xmp that a png holds") << QByteArray() << "saved.png" << false;
        QTest::newRow("xmp too big for a jpeg segment") << QByteArray() << "saved.jpg" << true;
    }
    void troublesomeMetadata()
    {
        QFETCH(QByteArray, exifBlock);
        QFETCH(QString, target);
        QFETCH(bool, said);
        PictureFixture fixture(QSize(64, 48), exifBlock.isEmpty() ? "drawing.png" : "photo.jpg");
        if (exifBlock.isEmpty()) {
            Exiv2::Image::AutoPtr image = storedIn(fixture.picturePath());
            image->xmpData()["Xmp.dc.source"] = std::string(70000, 'x');
            image->writeMetadata();
        } else {
            QByteArray bytes = contents(fixture.picturePath());
            const int length = exifBlock.size() + 8;
            bytes.insert(2, QByteArray::fromHex("ffe1") + char(length >> 8) + char(length & 0xff) +
                                QByteArray("Exif\0\0", 6) + exifBlock);
            QFile file(fixture.picturePath());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
        }
        SPicView* view = fixture.view();
        QVERIFY(view->openFile(fixture.picturePath()));
        QVERIFY(fixture.runAdjustment(true));
        ScriptedPrompter prompter;
        QSignalSpy messages(view, &SPicView::message);
        const QString path = fixture.path(target);
        QVERIFY(view->write(path, QFileInfo(path).suffix()));
        QCOMPARE(QImage(path).size(), QSize(64, 48));
        QVERIFY(prompter.asked().isEmpty());
        QCOMPARE(messages.count(), said ? 1 : 0);
        if (said)
            QVERIFY(messages.first().first().toString().startsWith(QLatin1String("Save: ")));
        if (exifBlock.isEmpty())
            QCOMPARE(text<Exiv2::XmpKey>(storedIn(path)->xmpData(), "Xmp.dc.source").size(),
                     said ? 0 : 70000);
    }
};

LUMO_TEST_MAIN(TestPictureWrite)
#include "tst_picturewrite.moc"
