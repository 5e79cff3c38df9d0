#include "support/lumotest.h"

#include "platform/lumothumbnails.h"

#include <QDir>
#include <QFile>

// Cache paths must match what other freedesktop programs write, or no thumbnail is ever shared.
class TestLumoThumbnails : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void standardExample();
    void sizeDirectories_data();
    void sizeDirectories();
    void fileUri_data();
    void fileUri();
    void defaultCacheFollowsXdg();

private:
    QTemporaryDir m_dir;
};

void TestLumoThumbnails::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile file(m_dir.filePath(QStringLiteral("photo.png")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(file.fileName(), m_dir.filePath(QStringLiteral("link.png"))));
}

void TestLumoThumbnails::standardExample()
{
    // The freedesktop standard's own worked example.
    QCOMPARE(LumoThumbnails::fileNameForUri("file:///home/jens/photos/me.png"),
             QStringLiteral("c6ee772d9e49320e97ec29a7eb5b1697.png"));
}

void TestLumoThumbnails::sizeDirectories_data()
{
    QTest::addColumn<int>("sizeCode");
    QTest::addColumn<QString>("dir");

    QTest::newRow("0 normal") << 0 << "normal";
    QTest::newRow("1 large") << 1 << "large";
    QTest::newRow("2 x-large") << 2 << "x-large";
    QTest::newRow("3 xx-large") << 3 << "xx-large";
    QTest::newRow("negative is unknown") << -1 << QString();
    QTest::newRow("4 is unknown") << 4 << QString();
}

void TestLumoThumbnails::sizeDirectories()
{
    QFETCH(int, sizeCode);
    QFETCH(QString, dir);

    const QString path = LumoThumbnails::thumbnailPath(QStringLiteral("/home/jens/photos/me.png"),
                                                       sizeCode, QStringLiteral("/cache/thumbs/"));
    if (dir.isEmpty()) {
        QVERIFY(path.isEmpty());
        return;
    }
    QCOMPARE(path, "/cache/thumbs/" + dir + "/c6ee772d9e49320e97ec29a7eb5b1697.png");
}

void TestLumoThumbnails::fileUri_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expectedPath");

    const QString dir = QDir(m_dir.path()).canonicalPath();
    QTest::newRow("missing file keeps its path") << "/no/such/dir/x.png" << "/no/such/dir/x.png";
    QTest::newRow("dots are cleaned") << "/no/such/../such/x.png" << "/no/such/x.png";
    QTest::newRow("link resolves to its target")
        << m_dir.filePath(QStringLiteral("link.png")) << dir + "/photo.png";
    QTest::newRow("space and non-ASCII are percent-encoded")
        << QString::fromUtf8("/no/Ä b.png") << QString::fromUtf8("/no/Ä b.png");
}

void TestLumoThumbnails::fileUri()
{
    QFETCH(QString, path);
    QFETCH(QString, expectedPath);

    const QByteArray uri = LumoThumbnails::fileUri(path);
    QVERIFY(uri.startsWith("file:///"));
    for (const char c : uri)
        QVERIFY2(c > ' ' && static_cast<unsigned char>(c) < 0x80, uri.constData());
    QCOMPARE(QUrl::fromEncoded(uri).toLocalFile(), expectedPath);
}

void TestLumoThumbnails::defaultCacheFollowsXdg()
{
    const QString cache = QDir::cleanPath(qEnvironmentVariable("XDG_CACHE_HOME"));
    QVERIFY(!cache.isEmpty());
    QCOMPARE(LumoThumbnails::thumbnailPath(QStringLiteral("/home/jens/photos/me.png"), 1),
             cache + "/thumbnails/large/c6ee772d9e49320e97ec29a7eb5b1697.png");
}

LUMO_TEST_MAIN(TestLumoThumbnails)
#include "tst_lumothumbnails.moc"
