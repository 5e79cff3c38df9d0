#include "support/lumotest.h"

#include "platform/fileproperties.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>

#include <sys/stat.h>

using Field = FileProperties::Field;

// The texts the properties tool shows, for images, other files, folders and odd entries.
class TestFileProperties : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void texts_data();
    void texts();
    void missingPathDoesNotExist();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestFileProperties::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QImage image(7, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(path(QStringLiteral("picture.png"))));
    QImageWriter rotated(path(QStringLiteral("rotated.jpg")));
    rotated.setTransformation(QImageIOHandler::TransformationRotate90);
    QVERIFY(rotated.write(image));

    const auto write = [this](const char* name, const QByteArray& data) {
        QFile file(path(QString::fromLatin1(name)));
        return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
    };
    QVERIFY(QDir().mkpath(path(QStringLiteral("folder/sub"))));
    QVERIFY(write("folder/.hidden", QByteArray()));
    QVERIFY(write("notes.txt", "hello"));
    QVERIFY(write("broken.png", QByteArray(64, 'x')));
    QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe"))).constData(), 0600), 0);
    QVERIFY(QFile::link(path(QStringLiteral("gone.png")), path(QStringLiteral("dangling"))));
    QVERIFY(QFile::link(path(QStringLiteral("picture.png")), path(QStringLiteral("link.png"))));
}

void TestFileProperties::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("dimensions");
    QTest::addColumn<QString>("contents");
    QTest::addColumn<QString>("linkTarget");

    QTest::newRow("PNG measured from its header")
        << "picture.png" << "PNG image" << "" << QString::fromUtf8("7 × 3 pixels") << "" << "";
    QTest::newRow("JPEG turned by its orientation shows its upright size")
        << "rotated.jpg" << "JPEG image" << "" << QString::fromUtf8("3 × 7 pixels") << "" << "";
    QTest::newRow("text file has a size and no dimensions")
        << "notes.txt" << "plain text document" << "5 bytes" << "" << "" << "";
    QTest::newRow("broken image is said to be unreadable")
        << "broken.png" << "PNG image" << "64 bytes" << "Cannot be read" << "" << "";
    QTest::newRow("folder counts its entries, hidden ones too")
        << "folder" << "folder" << "" << "" << "2 items" << "";
    QTest::newRow("pipe is described without being opened")
        << "pipe" << "" << "" << "" << "" << "";
    QTest::newRow("link to nothing names its target")
        << "dangling" << "Link to a missing file" << "" << "" << "" << "gone.png";
    QTest::newRow("link to a picture describes the picture")
        << "link.png" << "PNG image" << "" << QString::fromUtf8("7 × 3 pixels") << ""
        << "picture.png";
}

void TestFileProperties::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(QString, size);
    QFETCH(QString, dimensions);
    QFETCH(QString, contents);
    QFETCH(QString, linkTarget);

    const FileProperties properties(path(name));
    QVERIFY(properties.exists());
    QCOMPARE(properties.text(Field::Name), name);
    QCOMPARE(properties.text(Field::Location), QDir::toNativeSeparators(m_dir.path()));
    if (!type.isEmpty())
        QCOMPARE(properties.text(Field::Type), type);
    if (!size.isEmpty())
        QCOMPARE(properties.text(Field::Size), size);
    QCOMPARE(properties.text(Field::Dimensions), dimensions);
    QCOMPARE(properties.text(Field::Contents), contents);
    QCOMPARE(QFileInfo(properties.text(Field::LinkTarget)).fileName(), linkTarget);
}

void TestFileProperties::missingPathDoesNotExist()
{
    const FileProperties properties(path(QStringLiteral("missing.png")));
    QVERIFY(!properties.exists());
    QVERIFY(properties.fields().isEmpty());
}

LUMO_TEST_MAIN(TestFileProperties)
#include "tst_fileproperties.moc"
