#include "support/lumotest.h"

#include "document/metadatatexts.h"

#include <QRegularExpression>

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

// The table's shorthand {N*x} for x repeated N times, trimmed.
QString expanded(QString text)
{
    const QRegularExpression repeat(QStringLiteral("\\{(\\d+)\\*([^}]*)\\}"));
    for (QRegularExpressionMatch m = repeat.match(text); m.hasMatch(); m = repeat.match(text))
        text.replace(m.capturedStart(), m.capturedLength(),
                     m.captured(2).repeated(m.captured(1).toInt()).trimmed());
    return text;
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

    void value_data() { lumotest::addRows(QStringLiteral("metadatatexts.txt")); }

    void value()
    {
        QFETCH(QString, locale);
        QFETCH(QString, pairs);
        QFETCH(QString, expected);
        QStringList written;
        for (const QString& pair : pairs.split(QLatin1Char(';')))
            written << expanded(pair.trimmed());
        QLocale::setDefault(QLocale(locale));
        const QString path = m_dir.filePath(QStringLiteral("tagged.jpg"));
        writeExif(path, written);
        const Exiv2::ExifData exif = readExif(path);
        // The value asked for is the last one written.
        const QString key = written.last().section(QLatin1Char('='), 0, 0);
        const auto datum = exif.findKey(Exiv2::ExifKey(key.toStdString()));
        QVERIFY(datum != exif.end());
        QCOMPARE(MetadataTexts::value(*datum, exif), expanded(expected));
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
