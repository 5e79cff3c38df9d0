#include "support/lumotest.h"

#include "browser/filethumbnailprovider.h"
#include "platform/lumothumbnails.h"

#include <QDateTime>
#include <QPainter>

#include <exiv2/exiv2.hpp>

// Where a file's thumbnail comes from: the desktop's cache when current, else the file itself
// decoded small and upright.
class TestFileThumbnailProvider : public QObject
{
    Q_OBJECT

private slots:
    void decodesSmall_data();
    void decodesSmall();
    void desktopCache_data();
    void desktopCache();
    void pictureIcon();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestFileThumbnailProvider::decodesSmall_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("full");
    QTest::addColumn<int>("orientation"); // Exif; 6 means "turn 90 degrees clockwise to show"
    QTest::addColumn<QSize>("scaled");
    QTest::newRow("jpeg shrinks while decoding") << QByteArray("jpg") << QSize(1200, 800) << 1 << QSize(256, 170);
    QTest::newRow("turned jpeg comes upright") << QByteArray("jpg") << QSize(400, 200) << 6 << QSize(128, 256);
    QTest::newRow("portrait png, reduced after") << QByteArray("png") << QSize(600, 900) << 1 << QSize(170, 256);
    QTest::newRow("small picture is not enlarged") << QByteArray("bmp") << QSize(120, 60) << 1 << QSize(120, 60);
    QTest::newRow("thin strip keeps a pixel") << QByteArray("png") << QSize(3000, 2) << 1 << QSize(256, 1);
}

void TestFileThumbnailProvider::decodesSmall()
{
    QFETCH(QByteArray, format);
    QFETCH(QSize, full);
    QFETCH(int, orientation);
    QFETCH(QSize, scaled);
    // Red left half, blue right half: turned by 6, red ends on top. Either way red is at the
    // top left and blue at the bottom right.
    QImage image(full, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, full.width() / 2, full.height(), Qt::red);
    const QString file = path(QStringLiteral("big%1.").arg(orientation) + format);
    QVERIFY(image.save(file));
    if (orientation != 1) {
        auto exiv = Exiv2::ImageFactory::open(file.toStdString());
        Exiv2::ExifData exif;
        exif["Exif.Image.Orientation"] = uint16_t(orientation);
        exiv->setExifData(exif);
        exiv->writeMetadata();
    }
    const QImage thumbnail = FileThumbnailProvider::readThumbnail(file);
    QCOMPARE(thumbnail.size(), scaled);
    const QRgb topLeft = thumbnail.pixel(scaled.width() / 4, scaled.height() / 4);
    const QRgb bottomRight = thumbnail.pixel(scaled.width() * 3 / 4, scaled.height() * 3 / 4);
    QVERIFY(qRed(topLeft) > 200 && qBlue(topLeft) < 60);
    QVERIFY(qBlue(bottomRight) > 200 && qRed(bottomRight) < 60);
}

void TestFileThumbnailProvider::desktopCache_data()
{
    QTest::addColumn<QString>("mtime"); // offset to the file's mtime, or empty for none
    QTest::addColumn<QString>("size");  // offset to the file's size, or empty for none
    QTest::addColumn<bool>("used");
    QTest::newRow("current") << "0" << "0" << true;
    QTest::newRow("current, without a size") << "0" << "" << true;
    QTest::newRow("picture changed since") << "-10" << "0" << false;
    QTest::newRow("picture grew since") << "0" << "7" << false;
    QTest::newRow("without a time") << "" << "0" << false;
}

void TestFileThumbnailProvider::desktopCache()
{
    QFETCH(QString, mtime);
    QFETCH(QString, size);
    QFETCH(bool, used);
    const QString file = path(QTest::currentDataTag() + QStringLiteral(".png"));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(file));
    const QFileInfo info(file);
    QImage cached(32, 24, QImage::Format_RGB32);
    cached.fill(Qt::green);
    if (!mtime.isEmpty())
        cached.setText("Thumb::MTime", QString::number(info.lastModified().toSecsSinceEpoch() + mtime.toInt()));
    if (!size.isEmpty())
        cached.setText("Thumb::Size", QString::number(info.size() + size.toInt()));
    const QString cachePath = LumoThumbnails::thumbnailPath(file, 1);
    QVERIFY(QDir().mkpath(QFileInfo(cachePath).path()) && cached.save(cachePath));

    QCOMPARE(FileThumbnailProvider::readThumbnail(file).pixelColor(5, 5),
             used ? QColor(Qt::green) : QColor(Qt::red));
    QVERIFY(QFile::remove(cachePath));
    QCOMPARE(FileThumbnailProvider::readThumbnail(file).pixelColor(5, 5), QColor(Qt::red));
}

void TestFileThumbnailProvider::pictureIcon()
{
    // Folders and unreadable files get theme icons; the thumbnail view's tests cover those.
    QVERIFY(QImage(300, 150, QImage::Format_RGB32).save(path("photo.png")));
    const QIcon icon = FileThumbnailProvider().icon(QFileInfo(path("photo.png")));
    QVERIFY(icon.name().isEmpty());
    QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(256, 128)});
}

LUMO_TEST_MAIN(TestFileThumbnailProvider)
#include "tst_filethumbnailprovider.moc"
