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
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QString us = QStringLiteral("en_US");
        const QString de = QStringLiteral("de_DE");
        QTest::newRow("file date, German")
            << de << QStringList{"Exif.Image.DateTime=2021:06:05 22:20:30"} << "Exif.Image.DateTime"
            << "05.06.21 22:20";
        QTest::newRow("blank date kept as written")
            << de << QStringList{"Exif.Photo.DateTimeDigitized=0000:00:00 00:00:00"}
            << "Exif.Photo.DateTimeDigitized"
            << "0000:00:00 00:00:00";
        QTest::newRow("latitude south in decimal minutes")
            << us
            << QStringList{"Exif.GPSInfo.GPSLatitudeRef=S",
                           "Exif.GPSInfo.GPSLatitude=33/1 5159/100 0/1"}
            << "Exif.GPSInfo.GPSLatitude"
            << "33° 51′ 35.4″ S";
        QTest::newRow("longitude rounding up into the next degree")
            << us
            << QStringList{"Exif.GPSInfo.GPSLongitudeRef=E",
                           "Exif.GPSInfo.GPSLongitude=10/1 59/1 5996/100"}
            << "Exif.GPSInfo.GPSLongitude"
            << "11° 0′ 0.0″ E";
        QTest::newRow("altitude below sea level, German")
            << de << QStringList{"Exif.GPSInfo.GPSAltitudeRef=1", "Exif.GPSInfo.GPSAltitude=25/2"}
            << "Exif.GPSInfo.GPSAltitude"
            << "-12,5 m";
        QTest::newRow("long comment stays text")
            << us << QStringList{"Exif.Photo.UserComment=charset=Ascii " + QString(100, 'c')}
            << "Exif.Photo.UserComment" << QString(100, 'c');
        QTest::newRow("maker note of an unknown camera")
            << us << QStringList{"Exif.Photo.MakerNote=" + bytes(200, 'm')}
            << "Exif.Photo.MakerNote" << "(maker note, 200 bytes)";
        QTest::newRow("colour profile, German")
            << de << QStringList{"Exif.Image.InterColorProfile=" + bytes(4096, 0x7f)}
            << "Exif.Image.InterColorProfile" << "(binary, 4.096 bytes)";
        QTest::newRow("byte-typed packet")
            << us << QStringList{"Exif.Image.ClipPath=" + bytes(100, 'x')} << "Exif.Image.ClipPath"
            << "(binary, 100 bytes)";
        QTest::newRow("short undefined value interpreted")
            << us << QStringList{"Exif.Photo.ExifVersion=48 50 51 48"} << "Exif.Photo.ExifVersion"
            << "2.30";
    }

    void value()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, written);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale(locale));
        const QString path = m_dir.filePath(QStringLiteral("tagged.jpg"));
        writeExif(path, written);
        const Exiv2::ExifData exif = readExif(path);
        const auto datum = exif.findKey(Exiv2::ExifKey(key.toStdString()));
        QVERIFY(datum != exif.end());
        QCOMPARE(MetadataTexts::value(*datum, exif), expected);
    }

    void rowsLeaveOutVendorMakerNotes()
    {
        const QString path = m_dir.filePath(QStringLiteral("canon.jpg"));
        writeExif(path, {"Exif.Image.Make=Canon", "Exif.Image.Model=Lumo Test",
                         "Exif.Canon.OwnerName=Somebody Else"});
        const Exiv2::ExifData exif = readExif(path);
        QVERIFY(exif.findKey(Exiv2::ExifKey("Exif.Canon.OwnerName")) != exif.end());
        QStringList shown;
        for (const MetadataTexts::Row& row : MetadataTexts::rows(exif)) {
            // The maker note itself stays, as a summary.
            if (!row.first.startsWith(QLatin1String("Exif IFD")) &&
                !row.second.startsWith(QLatin1String("(maker note, ")))
                shown << row.first + QLatin1Char('=') + row.second;
        }
        QCOMPARE(shown.join(QLatin1Char('|')),
                 QStringLiteral("Manufacturer=Canon|Model=Lumo Test"));
    }

private:
    QTemporaryDir m_dir;
};

LUMO_TEST_MAIN(TestMetadataTexts)
#include "tst_metadatatexts.moc"
