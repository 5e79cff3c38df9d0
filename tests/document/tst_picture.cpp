#include "support/lumotest.h"

#include "document/picture.h"
#include "document/picturemetadata.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

// Reading resets what a picture was before; a failed write keeps the format a later save uses.
class TestPicture : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("format");
        QByteArray png;
        {
            QBuffer buffer(&png);
            QImage image(6, 4, QImage::Format_RGB32);
            image.fill(Qt::green);
            QVERIFY(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "png"));
        }
        QTest::newRow("picture file") << png << true << "png";
        QTest::newRow("not a picture") << QByteArray("plain text") << false << QString();
        QTest::newRow("missing file") << QByteArray() << false << QString();
    }
    void read()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, readable);
        QFETCH(QString, format);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture"));
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        }
        Picture picture;
        picture.adopt(QImage(3, 3, QImage::Format_RGB32));
        picture.setModified(true);
        QSignalSpy modified(&picture, &Picture::modifiedChanged);
        QSignalSpy image(&picture, &Picture::imageChanged);
        QSignalSpy loaded(&picture, &Picture::loaded);
        picture.load(path);
        QVERIFY(loaded.wait(20000));
        QCOMPARE(loaded.first().at(0).toBool(), readable);
        QCOMPARE(picture.isBroken(), !readable);
        QCOMPARE(picture.image().isNull(), !readable);
        QCOMPARE(picture.format(), format);
        QCOMPARE(picture.path(), path);
        QVERIFY(!picture.isModified() && !picture.isUnsavedNew());
        QCOMPARE(modified.count(), 1);
        QCOMPARE(image.count(), 1);
    }

    void write_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("written");
        QTest::newRow("into an existing folder") << QString() << true;
        QTest::newRow("into a missing folder") << "missing/" << false;
    }
    void write()
    {
        QFETCH(QString, folder);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString path = dir.filePath(folder + QStringLiteral("new.png"));
        Picture picture;
        picture.adopt(QImage(5, 5, QImage::Format_RGB32));
        picture.setFormat(QStringLiteral("bmp"));
        QString error;
        QString metadataError;
        QCOMPARE(picture.write(path, QStringLiteral("png"), -1, &error, PictureMetadata(),
                               &metadataError),
                 written);
        QCOMPARE(error.isEmpty(), written);
        QCOMPARE(picture.format(), written ? QStringLiteral("png") : QStringLiteral("bmp"));
        QCOMPARE(QFile::exists(path), written);
    }
};

LUMO_TEST_MAIN(TestPicture)
#include "tst_picture.moc"
