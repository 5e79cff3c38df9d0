#include "support/lumotest.h"

#include "support/animatedgif.h"
#include "support/hostilefiles.h"

#include "decoding/decoderpool.h"
#include "document/animationframes.h"
#include "document/isolatedreader.h"
#include "document/metadatatexts.h"
#include "document/picturemetadata.h"
#include "document/picturereader.h"

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>

#include <exiv2/exiv2.hpp>

#include <thread>
#include <vector>

namespace {

// Noise, so that no codec can make short work of it.
QImage noise(const QSize& size, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, format);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = random.generate() | (format == QImage::Format_RGB32 ? 0xff000000u : 0u);
    }
    return image;
}

QString write(const QTemporaryDir& dir, const QString& name, const QImage& image,
              const char* format)
{
    const QString path = dir.filePath(name);
    return image.save(path, format) ? path : QString();
}

using hostilefiles::crc32;

// A kept sample that the format's reader takes, copied to path: camera raw formats share one,
// as do the kinds of Photoshop file.
bool copySample(const QByteArray& format, const QString& path)
{
    const QDir samples(lumotest::dataDir(QStringLiteral("formats")));
    for (const QString& name : samples.entryList({QStringLiteral("sample.*")}, QDir::Files)) {
        QFile::remove(path);
        if (QFile::copy(samples.filePath(name), path) && QImageReader(path, format).canRead())
            return true;
    }
    return false;
}

// A small PNG whose header announces another size.
QString writeAnnouncing(const QTemporaryDir& dir, const QString& name, const QSize& announced)
{
    const QString path = write(dir, name, noise(QSize(16, 16)), "PNG");
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return QString();
    QByteArray bytes = file.readAll();
    QDataStream size(&bytes, QIODevice::ReadWrite);
    size.device()->seek(16);
    size << quint32(announced.width()) << quint32(announced.height());
    size.device()->seek(29);
    size << crc32(bytes.mid(12, 17));
    file.seek(0);
    file.write(bytes);
    return path;
}

// A JPEG with Exif, IPTC and XMP, to be read and carried over.
QString taggedPhoto(const QTemporaryDir& dir)
{
    const QString path = write(dir, "photo.jpg", noise(QSize(64, 48)), "JPEG");
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    image->exifData()["Exif.Image.Model"] = "LumoCam 7";
    image->exifData()["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
    image->exifData()["Exif.GPSInfo.GPSLatitude"] = "52/1 30/1 1234/100";
    image->exifData()["Exif.Photo.UserComment"] = "charset=Unicode Harbour at dusk";
    image->iptcData()["Iptc.Application2.Keywords"] = "harbour";
    image->xmpData()["Xmp.dc.title"] = "lang=\"x-default\" Harbour";
    image->writeMetadata();
    return path;
}

// The decoder helpers this process started.
QList<int> helpers()
{
    QList<int> found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!entry.toInt() || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (line.contains("(lumo-decode)")
            && fields.value(1).toLongLong() == QCoreApplication::applicationPid())
            found << entry.toInt();
    }
    return found;
}

} // namespace

// Decoding in helper processes: the pixels that come back are those decoded here, and a file
// that crashes, exhausts or outlasts its helper costs that file and nothing else.
class TestDecoderPool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The helpers started from now on crash on files of this name.
        qputenv("LUMO_DECODE_TEST_CRASH", "crash.png");
        qputenv("LUMO_DECODE_TEST_KILL", "killed.png");
        DecoderPool::setInProcess(false);
        DecoderPool::shared().setProgram(DecoderPool::shared().program());
    }

    void cleanup()
    {
        DecoderPool::shared().setMemoryLimitMB(0);
        DecoderPool::shared().setTimeLimitMs(DecoderPool::kTimeLimitMs);
    }

    // Plain pictures of each format are everyFormatAsInProcess's rows.
    void sameAsInProcess_data()
    {
        QTest::addColumn<QImage>("image"); // written as PNG
        QTest::newRow("a few colours, read with its palette")
            << noise(QSize(33, 17))
                   .convertToFormat(QImage::Format_Indexed8, {qRgb(255, 128, 0), qRgb(0, 0, 0)});
        QImage wide = noise(QSize(120, 80));
        wide.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
        QTest::newRow("in Display P3, with a copy for the screen") << wide;
    }

    void sameAsInProcess()
    {
        QFETCH(QImage, image);
        QTemporaryDir dir;
        const QString path = write(dir, "picture.png", image, "PNG");
        const PictureReader::Result here = PictureReader::read(path);
        QVERIFY(!here.image.isNull());
        const PictureReader::Result there = IsolatedReader::read(path);
        QCOMPARE(there.image, here.image);
        QCOMPARE(there.image.colorTable(), here.image.colorTable());
        QCOMPARE(there.image.colorSpace(), here.image.colorSpace());
        QCOMPARE(there.format, here.format);
        QCOMPARE(there.display, here.display);
        QVERIFY(there.failure.isEmpty());
        // Pixels live in shared memory, edited like any others: a copy that changes detaches.
        QImage edited = there.image;
        const uchar before = there.image.constScanLine(0)[0];
        edited.scanLine(0)[0] = uchar(before ^ 1);
        QCOMPARE(edited.constScanLine(0)[0], uchar(before ^ 1));
        QCOMPARE(there.image.constScanLine(0)[0], before);
    }

    // Every format the plug-ins read, in a sample the plug-ins can write or one kept with the
    // tests (SVG by hand, with text whose fonts the helper must have found), reads through a
    // helper as it reads here.
    void everyFormatAsInProcess_data()
    {
        QTest::addColumn<QByteArray>("format");
        const QList<QByteArray> formats = QImageReader::supportedImageFormats();
        for (const QByteArray& format : formats)
            QTest::newRow(format.constData()) << format;
    }

    void everyFormatAsInProcess()
    {
        QFETCH(QByteArray, format);
        QTemporaryDir dir;
        const QString path = dir.filePath(QString::fromLatin1("sample." + format));
        if (format == "svg") {
            QFile svg(path);
            QVERIFY(svg.open(QIODevice::WriteOnly));
            svg.write("<svg xmlns='http://www.w3.org/2000/svg' width='60' height='20'>"
                      "<rect width='60' height='20' fill='navy'/>"
                      "<text x='2' y='15' fill='white' font-size='14'>Lumo</text></svg>");
        } else if (!QFile::copy(lumotest::dataDir(QStringLiteral("formats/sample.")
                                                  + QString::fromLatin1(format)),
                                path)) {
            QImageWriter(path, format).write(noise(QSize(24, 16), QImage::Format_ARGB32));
        }
        PictureReader::Result here = PictureReader::read(path);
        if (here.image.isNull() && copySample(format, path))
            here = PictureReader::read(path);
        if (here.image.isNull())
            QSKIP("no sample of this format readable in this process");
        const PictureReader::Result there = IsolatedReader::read(path);
        QCOMPARE(there.failure, QString());
        // The status bar names it.
        QCOMPARE(there.format, here.format);
        QCOMPARE(there.image.size(), here.image.size());
        QCOMPARE(there.image, here.image);
    }

    void standInAndThumbnailAsInProcess()
    {
        QTemporaryDir dir;
        const QString path = write(dir, "big.jpg", noise(QSize(1200, 800)), "JPEG");
        const auto shown = [](const QSize& size) { return size / 4; };
        const PictureReader::StandIn here = PictureReader::readScaled(path, shown);
        const PictureReader::StandIn there = IsolatedReader::readScaled(path, shown);
        QCOMPARE(there.pictureSize, QSize(1200, 800));
        QCOMPARE(there.image, here.image);
        const QImage thumbnail = IsolatedReader::readThumbnail(path, 128);
        QCOMPARE(thumbnail.size(), QSize(128, 85));
    }

    // Frames read in order, their delays and loops are the animation's test; here, frames asked
    // out of order, and past the end.
    void framesInAnyOrder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("moving.gif"));
        QVERIFY(animatedgif::write(path, QSize(12, 8), {10, 20, 30}, 2));
        AnimationFrames frames(path);
        for (const int index : {2, 0, 1}) {
            const AnimationFrames::Frame frame = frames.read(index);
            QCOMPARE(frame.image.pixelColor(3, 3), animatedgif::frameColour(index));
            QCOMPARE(frame.delay, 10 * (index + 1) * 10);
        }
        QVERIFY(frames.read(3).image.isNull());
    }

    void failureCostsOnePicture_data() { lumotest::addRows(QStringLiteral("decoderfailures.txt")); }

    void failureCostsOnePicture()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(qint64, memoryLimitMB);
        QFETCH(int, timeLimitMs);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString good = write(dir, "good.png", noise(QSize(40, 30)), "PNG");
        const QString bad = size.width() > 10000 ? writeAnnouncing(dir, name, size)
                                                 : write(dir, name, noise(size), "PNG");
        DecoderPool::shared().setMemoryLimitMB(memoryLimitMB);
        // A warm helper, so that the limit counts the decode alone.
        QVERIFY(!IsolatedReader::read(good).image.isNull());
        DecoderPool::shared().setTimeLimitMs(timeLimitMs ? timeLimitMs : DecoderPool::kTimeLimitMs);
        const PictureReader::Result result = IsolatedReader::read(bad);
        QVERIFY(result.image.isNull());
        QCOMPARE(result.failure, reason);
        // The next request finds a helper, replaced if need be.
        DecoderPool::shared().setTimeLimitMs(DecoderPool::kTimeLimitMs);
        QCOMPARE(IsolatedReader::read(good).image.size(), QSize(40, 30));
    }

    void metadataAsInProcess_data()
    {
        lumotest::addRows(QStringLiteral("decoderpool-metadata.txt"));
    }

    void metadataAsInProcess()
    {
        QFETCH(QString, format);
        QTemporaryDir dir;
        const QString source = taggedPhoto(dir);
        const QByteArray target = lumotest::encoded(noise(QSize(48, 64)), qPrintable(format));
        QString error;
        QByteArray there = target;
        const PictureMetadata isolated = PictureMetadata::read(source, &error);
        QVERIFY(isolated.embedInto(&there, QSize(48, 64), &error));
        QCOMPARE(error, QString());
        DecoderPool::setInProcess(true);
        QByteArray here = target;
        const bool embeddedHere =
            PictureMetadata::read(source, &error).embedInto(&here, QSize(48, 64), &error);
        const MetadataTexts::Table rowsHere = MetadataTexts::read(source);
        DecoderPool::setInProcess(false);
        QVERIFY(embeddedHere);
        QCOMPARE(there, here);
        const MetadataTexts::Table rowsThere = MetadataTexts::read(source);
        QVERIFY(rowsThere.readable && rowsThere.rows.size() >= 4);
        QCOMPARE(rowsThere.rows, rowsHere.rows);
    }

    void metadataFailureCostsTheMetadata()
    {
        QTemporaryDir dir;
        const QString bad = write(dir, "crash.png", noise(QSize(40, 30)), "PNG");
        QString error;
        QVERIFY(PictureMetadata::read(bad, &error).isEmpty());
        QCOMPARE(error, QStringLiteral("the metadata reader failed"));
        QVERIFY(!MetadataTexts::read(bad).readable);
        QCOMPARE(
            IsolatedReader::read(write(dir, "good.png", noise(QSize(4, 3)), "PNG")).image.size(),
            QSize(4, 3));
    }

    void helperConfinedOnEveryThread()
    {
        qputenv("LUMO_TEST_SECRET", "kept from helpers");
        DecoderPool::shared().setProgram(DecoderPool::shared().program());
        QTemporaryDir dir;
        QVERIFY(!IsolatedReader::read(write(dir, "good.png", noise(QSize(40, 30)), "PNG"))
                     .image.isNull());
        const QList<int> pids = helpers();
        QVERIFY(!pids.isEmpty());
        for (const int pid : pids) {
            const QString proc = QStringLiteral("/proc/%1/").arg(pid);
            const QStringList threads =
                QDir(proc + "task").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            QVERIFY(threads.size() > 1);
            for (const QString& thread : threads) {
                const QByteArray status = lumotest::contents(proc + "task/" + thread + "/status");
                QVERIFY2(status.contains("\nSeccomp:\t2\n")
                             && status.contains("\nNoNewPrivs:\t1\n"),
                         qPrintable(proc + "task/" + thread));
            }
            QCOMPARE(QFile::symLinkTarget(proc + "fd/0"), QStringLiteral("/dev/null"));
            QCOMPARE(QFile::symLinkTarget(proc + "fd/1"), QStringLiteral("/dev/null"));
            QVERIFY(QFileInfo(proc + "fd/2").symLinkTarget().contains("pipe:"));
            QVERIFY(!lumotest::contents(proc + "environ").contains("LUMO_TEST_SECRET"));
        }
        qunsetenv("LUMO_TEST_SECRET");
    }

    void lyingHelperCostsOneRequest_data() { lumotest::addRows(QStringLiteral("lyinghelper.txt")); }

    void lyingHelperCostsOneRequest()
    {
        QFETCH(QString, lie);
        QFETCH(QString, failure);
        QTemporaryDir dir;
        const QString path = write(dir, lie + ".png", noise(QSize(8, 8)), "PNG");
        const QString good = write(dir, "good.png", noise(QSize(40, 30)), "PNG");
        const QString honest = DecoderPool::shared().program();
        DecoderPool::shared().setProgram(QStringLiteral(LUMO_DECODER_LIAR_PATH));
        DecoderPool::shared().setTimeLimitMs(1000);
        const QByteArray row(QTest::currentDataTag());
        if (row.startsWith("thumbnail")) {
            QVERIFY(IsolatedReader::readThumbnail(path, 64).isNull());
        } else if (lie == "frames") {
            AnimationFrames frames(path);
            QCOMPARE(frames.read(0).image.size(), QSize(4, 4));
            QCOMPARE(frames.frameCount(), DecodeMessage::kMaxFrames);
        } else if (lie == "huge-bytes") {
            QString error;
            QVERIFY(PictureMetadata::read(path, &error).isEmpty());
            QCOMPARE(error, failure);
        } else if (lie == "foreign") {
            DecoderPool::shared().setProgram(honest);
            QString error;
            const PictureMetadata metadata = PictureMetadata::read(taggedPhoto(dir), &error);
            QVERIFY(!metadata.isEmpty());
            DecoderPool::shared().setProgram(QStringLiteral(LUMO_DECODER_LIAR_PATH));
            const QByteArray mine = lumotest::encoded(noise(QSize(16, 16)), "JPEG");
            QByteArray saved = mine;
            QVERIFY(!metadata.embedInto(&saved, QSize(16, 16), &error));
            QCOMPARE(error, failure);
            QCOMPARE(saved, mine);
        } else {
            const PictureReader::Result result = IsolatedReader::read(path);
            QVERIFY(result.image.isNull());
            QCOMPARE(result.failure, failure);
        }
        DecoderPool::shared().setProgram(honest);
        DecoderPool::shared().setTimeLimitMs(DecoderPool::kTimeLimitMs);
        QCOMPARE(IsolatedReader::read(good).image.size(), QSize(40, 30));
    }

    void manyThreadsAtOnce()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 6; ++i)
            paths << write(dir, QStringLiteral("p%1.png").arg(i), noise(QSize(50 + i, 40)), "PNG");
        std::vector<QSize> sizes(size_t(3 * paths.size()));
        std::vector<std::thread> threads;
        for (size_t t = 0; t < sizes.size(); ++t) {
            threads.emplace_back([&sizes, &paths, t] {
                sizes[t] = IsolatedReader::read(paths.at(int(t) % paths.size())).image.size();
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        for (size_t t = 0; t < sizes.size(); ++t)
            QCOMPARE(sizes[t], QSize(50 + int(t) % paths.size(), 40));
    }
};

LUMO_TEST_MAIN(TestDecoderPool)
#include "tst_decoderpool.moc"
