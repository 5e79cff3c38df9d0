#include "support/lumotest.h"
#include "support/testicontheme.h"

#include "browser/filethumbnailprovider.h"
#include "platform/lumothumbnails.h"

#include <QDateTime>
#include <QDir>
#include <QPainter>

#include <exiv2/exiv2.hpp>

// Where a file's thumbnail comes from: the desktop's cache when current, else the file itself
// decoded small and upright.
class TestFileThumbnailProvider : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void scaledSize_data();
    void scaledSize();
    void source_data();
    void source();
    void decodesSmall_data();
    void decodesSmall();
    void appliesOrientation();
    void icons_data();
    void icons();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString writeImage(const QString& name, const QSize& size, const QColor& color,
                       const char* format = "PNG");
    QTemporaryDir m_dir;
};

void TestFileThumbnailProvider::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(lumotest::installTestIconTheme(m_dir.filePath(QStringLiteral("icons")),
                                           {QStringLiteral("image-missing"), QStringLiteral("folder")}));
}

QString TestFileThumbnailProvider::writeImage(const QString& name, const QSize& size,
                                              const QColor& color, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QString file = path(name);
    return image.save(file, format) ? file : QString();
}

void TestFileThumbnailProvider::scaledSize_data()
{
    QTest::addColumn<QSize>("full");
    QTest::addColumn<QSize>("scaled");
    QTest::newRow("landscape photo") << QSize(4000, 3000) << QSize(256, 192);
    QTest::newRow("portrait photo") << QSize(3000, 4000) << QSize(192, 256);
    QTest::newRow("small picture is not enlarged") << QSize(100, 50) << QSize(100, 50);
    QTest::newRow("exactly the edge") << QSize(256, 10) << QSize(256, 10);
    QTest::newRow("thin strip keeps a pixel") << QSize(10000, 5) << QSize(256, 1);
    QTest::newRow("empty") << QSize(0, 0) << QSize(0, 0);
}

void TestFileThumbnailProvider::scaledSize()
{
    QFETCH(QSize, full);
    QFETCH(QSize, scaled);
    QCOMPARE(FileThumbnailProvider::scaledSize(full), scaled);
}

void TestFileThumbnailProvider::source_data()
{
    QTest::addColumn<int>("mtimeOffset"); // seconds added to the file's mtime in the cache
    QTest::addColumn<int>("sizeOffset");  // bytes added to the file's size; -1000 leaves it out
    QTest::addColumn<bool>("hasMtime");
    QTest::addColumn<bool>("fromCache");
    QTest::newRow("current cached thumbnail") << 0 << 0 << true << true;
    QTest::newRow("cached without a size") << 0 << -1000 << true << true;
    QTest::newRow("picture changed since") << -10 << 0 << true << false;
    QTest::newRow("picture grew since") << 0 << 7 << true << false;
    QTest::newRow("cached without a time") << 0 << 0 << false << false;
}

void TestFileThumbnailProvider::source()
{
    QFETCH(int, mtimeOffset);
    QFETCH(int, sizeOffset);
    QFETCH(bool, hasMtime);
    QFETCH(bool, fromCache);
    const QString file = writeImage(QStringLiteral("%1.png").arg(QTest::currentDataTag()),
                                    QSize(40, 30), Qt::red);
    QVERIFY(!file.isEmpty());
    const QFileInfo info(file);

    QImage cached(32, 24, QImage::Format_RGB32);
    cached.fill(Qt::green);
    if (hasMtime)
        cached.setText(QStringLiteral("Thumb::MTime"),
                       QString::number(info.lastModified().toSecsSinceEpoch() + mtimeOffset));
    if (sizeOffset != -1000)
        cached.setText(QStringLiteral("Thumb::Size"), QString::number(info.size() + sizeOffset));
    const QString cachePath = LumoThumbnails::thumbnailPath(file, 1);
    QVERIFY(QDir().mkpath(QFileInfo(cachePath).path()));
    QVERIFY(cached.save(cachePath, "PNG"));

    const QImage thumbnail = FileThumbnailProvider::readThumbnail(file);
    QCOMPARE(thumbnail.size(), fromCache ? QSize(32, 24) : QSize(40, 30));
    QCOMPARE(QColor(thumbnail.pixel(5, 5)), fromCache ? QColor(Qt::green) : QColor(Qt::red));

    // Without any cached thumbnail the file itself is read.
    QVERIFY(QFile::remove(cachePath));
    QCOMPARE(QColor(FileThumbnailProvider::readThumbnail(file).pixel(5, 5)), QColor(Qt::red));
}

void TestFileThumbnailProvider::decodesSmall_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("full");
    QTest::newRow("jpeg shrinks while decoding") << QByteArray("JPG") << QSize(1200, 800);
    QTest::newRow("png is reduced after decoding") << QByteArray("PNG") << QSize(600, 900);
    QTest::newRow("small bmp stays as it is") << QByteArray("BMP") << QSize(120, 60);
}

void TestFileThumbnailProvider::decodesSmall()
{
    QFETCH(QByteArray, format);
    QFETCH(QSize, full);
    const QString file = writeImage(QStringLiteral("big.") + QString::fromLatin1(format).toLower(),
                                    full, Qt::blue, format.constData());
    QVERIFY(!file.isEmpty());
    const QImage thumbnail = FileThumbnailProvider::readThumbnail(file);
    QCOMPARE(thumbnail.size(), FileThumbnailProvider::scaledSize(full));
    QVERIFY(qBlue(thumbnail.pixel(thumbnail.width() / 2, thumbnail.height() / 2)) > 200);
}

void TestFileThumbnailProvider::appliesOrientation()
{
    // Red on the left, blue on the right, stored turned: orientation 6 means "rotate 90 degrees
    // clockwise to show", so red ends on top.
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, 200, 200, Qt::red);
    const QString file = path(QStringLiteral("turned.jpg"));
    QVERIFY(image.save(file, "JPG"));
    auto exiv = Exiv2::ImageFactory::open(file.toStdString());
    Exiv2::ExifData exif;
    exif["Exif.Image.Orientation"] = uint16_t(6);
    exiv->setExifData(exif);
    exiv->writeMetadata();

    const QImage thumbnail = FileThumbnailProvider::readThumbnail(file);
    QCOMPARE(thumbnail.size(), QSize(128, 256));
    QVERIFY(qRed(thumbnail.pixel(64, 30)) > 200 && qBlue(thumbnail.pixel(64, 30)) < 60);
    QVERIFY(qBlue(thumbnail.pixel(64, 226)) > 200 && qRed(thumbnail.pixel(64, 226)) < 60);
}

void TestFileThumbnailProvider::icons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("iconName"); // empty: a picture, not a theme icon
    QTest::newRow("picture") << "photo.png" << QString();
    QTest::newRow("corrupt picture") << "corrupt.png" << "image-missing";
    QTest::newRow("directory") << "folder" << "folder";
}

void TestFileThumbnailProvider::icons()
{
    QFETCH(QString, name);
    QFETCH(QString, iconName);
    QVERIFY(!writeImage(QStringLiteral("photo.png"), QSize(300, 150), Qt::yellow).isEmpty());
    QFile corrupt(path(QStringLiteral("corrupt.png")));
    QVERIFY(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("\x89PNG\r\n\x1a\n then nothing sensible");
    corrupt.close();
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder")));

    const QIcon icon = FileThumbnailProvider().icon(QFileInfo(path(name)));
    QCOMPARE(icon.name(), iconName);
    if (iconName.isEmpty())
        QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(256, 128)});
}

LUMO_TEST_MAIN(TestFileThumbnailProvider)
#include "tst_filethumbnailprovider.moc"
