#include "support/lumotest.h"

#include "document/metadatatexts.h"

#include <exiv2/exiv2.hpp>

namespace {

// "key=value" pairs as Exiv2 reads them from text, in the tag's own type.
void writeExif(const QString& path, const QStringList& pairs)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::darkYellow);
    QVERIFY(image.save(path, "JPG"));
    Exiv2::ExifData exif;
    for (const QString& pair : pairs) {
        const int equals = pair.indexOf(QLatin1Char('='));
        exif[pair.left(equals).toStdString()] = pair.mid(equals + 1).toStdString();
    }
    auto file = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    file->setExifData(exif);
    file->writeMetadata();
}

// A binary value as Exiv2 reads it from text: its bytes in decimal.
QString bytes(int count, int value)
{
    return QString(QString::number(value) + QLatin1Char(' ')).repeated(count).trimmed();
}

Exiv2::ExifData readExif(const QString& path)
{
    auto file = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    file->readMetadata();
    return file->exifData();
}

} // namespace

// Exif values in words: what Exiv2 interprets, dates and GPS positions in the user's locale,
// blobs and maker notes summarised, all read back from a JPEG that Exiv2 wrote.
class TestMetadataTexts : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void value_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QString>("expected");
        const QString us = QStringLiteral("en_US");
        const QString de = QStringLiteral("de_DE");
        QTest::newRow("file date, German")
            << de << QStringList{"Exif.Image.DateTime=2021:06:05 22:20:30"} << "05.06.21 22:20";
        QTest::newRow("blank date kept as written")
            << de << QStringList{"Exif.Photo.DateTimeDigitized=0000:00:00 00:00:00"}
            << "0000:00:00 00:00:00";
        QTest::newRow("latitude south in decimal minutes")
            << us
            << QStringList{"Exif.GPSInfo.GPSLatitudeRef=S",
                           "Exif.GPSInfo.GPSLatitude=33/1 5159/100 0/1"}
            << "33° 51′ 35.4″ S";
        QTest::newRow("longitude rounding up into the next degree")
            << us
            << QStringList{"Exif.GPSInfo.GPSLongitudeRef=E",
                           "Exif.GPSInfo.GPSLongitude=10/1 59/1 5996/100"}
            << "11° 0′ 0.0″ E";
        QTest::newRow("altitude below sea level, German")
            << de << QStringList{"Exif.GPSInfo.GPSAltitudeRef=1", "Exif.GPSInfo.GPSAltitude=25/2"}
            << "-12,5 m";
        QTest::newRow("long comment stays text")
            << us << QStringList{"Exif.Photo.UserComment=charset=Ascii " + QString(100, 'c')}
            << QString(100, 'c');
        QTest::newRow("maker note of an unknown camera")
            << us << QStringList{"Exif.Photo.MakerNote=" + bytes(200, 'm')}
            << "(maker note, 200 bytes)";
        QTest::newRow("colour profile, German")
            << de << QStringList{"Exif.Image.InterColorProfile=" + bytes(4096, 0x7f)}
            << "(binary, 4.096 bytes)";
        QTest::newRow("byte-typed packet")
            << us << QStringList{"Exif.Image.ClipPath=" + bytes(100, 'x')} << "(binary, 100 bytes)";
        QTest::newRow("exposure as a fraction of a second")
            << us << QStringList{"Exif.Photo.ExposureTime=10/1250"} << "1/125 s";
        QTest::newRow("long exposure in seconds, German")
            << de << QStringList{"Exif.Photo.ExposureTime=25/10"} << "2,5 s";
        QTest::newRow("shutter speed in APEX")
            << us << QStringList{"Exif.Photo.ShutterSpeedValue=6965784/1000000"} << "1/125 s";
        QTest::newRow("aperture") << us << QStringList{"Exif.Photo.FNumber=28/10"} << "f/2.8";
        QTest::newRow("aperture in APEX")
            << us << QStringList{"Exif.Photo.ApertureValue=3/1"} << "f/2.8";
        QTest::newRow("small aperture") << us << QStringList{"Exif.Photo.FNumber=22/1"} << "f/22";
        QTest::newRow("focal length in whole millimetres")
            << us << QStringList{"Exif.Photo.FocalLength=500/10"} << "50 mm";
        QTest::newRow("phone focal length keeps its tenth, German")
            << de << QStringList{"Exif.Photo.FocalLength=43/10"} << "4,3 mm";
        QTest::newRow("flash fired in auto mode with red-eye reduction")
            << us << QStringList{"Exif.Photo.Flash=89"} << "Fired, auto mode, red-eye reduction";
        QTest::newRow("flash suppressed")
            << us << QStringList{"Exif.Photo.Flash=16"} << "Did not fire, suppressed";
        QTest::newRow("pixel width, German")
            << de << QStringList{"Exif.Photo.PixelXDimension=6000"} << "6.000 pixels";
        QTest::newRow("sensitivity type in words")
            << us << QStringList{"Exif.Photo.SensitivityType=3"} << "ISO speed";
        QTest::newRow("short undefined value interpreted")
            << us << QStringList{"Exif.Photo.ExifVersion=48 50 51 48"} << "2.30";
    }

    void value()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, written);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale(locale));
        const QString path = m_dir.filePath(QStringLiteral("tagged.jpg"));
        writeExif(path, written);
        const Exiv2::ExifData exif = readExif(path);
        // The value asked for is the last one written.
        const QString key = written.last().section(QLatin1Char('='), 0, 0);
        const auto datum = exif.findKey(Exiv2::ExifKey(key.toStdString()));
        QVERIFY(datum != exif.end());
        QCOMPARE(MetadataTexts::value(*datum, exif), expected);
    }

    // Only what a user reads: no vendors' maker-note groups, no pointers, offsets, byte counts
    // or the embedded thumbnail's own tags.
    void rowsLeaveOutInternals()
    {
        const QString path = m_dir.filePath(QStringLiteral("canon.jpg"));
        writeExif(path, {"Exif.Image.Make=Canon", "Exif.Image.Model=Lumo Test",
                         "Exif.Canon.OwnerName=Somebody Else", "Exif.Image.StripOffsets=8",
                         "Exif.Image.StripByteCounts=64", "Exif.Image.RowsPerStrip=8",
                         "Exif.Photo.PixelXDimension=8", "Exif.GPSInfo.GPSVersionID=2 2 0 0",
                         "Exif.GPSInfo.GPSLatitudeRef=N", "Exif.Thumbnail.Compression=6"});
        const Exiv2::ExifData exif = readExif(path);
        QVERIFY(exif.findKey(Exiv2::ExifKey("Exif.Canon.OwnerName")) != exif.end());
        QVERIFY(exif.findKey(Exiv2::ExifKey("Exif.Image.ExifTag")) != exif.end());
        QStringList shown;
        for (const MetadataTexts::Row& row : MetadataTexts::rows(exif)) {
            // The maker note itself stays, as a summary.
            if (!row.second.startsWith(QLatin1String("(maker note, ")))
                shown << row.first + QLatin1Char('=') + row.second;
        }
        QCOMPARE(shown.join(QLatin1Char('|')),
                 QStringLiteral("Manufacturer=Canon|Model=Lumo Test|Pixel X Dimension=8 pixels|"
                                "GPS Version ID=2.2.0.0"));
    }

private:
    QTemporaryDir m_dir;
};

LUMO_TEST_MAIN(TestMetadataTexts)
#include "tst_metadatatexts.moc"
