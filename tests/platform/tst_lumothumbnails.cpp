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
    void thumbnailPath_data();
    void thumbnailPath();
    void fileUri_data();
    void fileUri();

private:
    QTemporaryDir m_dir;
};

void TestLumoThumbnails::initTestCase()
{
    QFile file(m_dir.filePath(QStringLiteral("photo.png")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(file.fileName(), m_dir.filePath(QStringLiteral("link.png"))));
}

void TestLumoThumbnails::thumbnailPath_data()
{
    QTest::addColumn<int>("sizeCode");
    QTest::addColumn<QString>("cacheDir"); // empty: the user's cache
    QTest::addColumn<QString>("expected"); // "@" stands for XDG_CACHE_HOME/thumbnails

    // The file name is the freedesktop standard's own worked example.
    const QString name = QStringLiteral("/c6ee772d9e49320e97ec29a7eb5b1697.png");
    QTest::newRow("0 normal") << 0 << "/cache/thumbs/" << "/cache/thumbs/normal" + name;
    QTest::newRow("1 large") << 1 << "/cache/thumbs/" << "/cache/thumbs/large" + name;
    QTest::newRow("2 x-large") << 2 << "/cache/thumbs/" << "/cache/thumbs/x-large" + name;
    QTest::newRow("3 xx-large") << 3 << "/cache/thumbs/" << "/cache/thumbs/xx-large" + name;
    QTest::newRow("negative is unknown") << -1 << "/cache/thumbs/" << QString();
    QTest::newRow("4 is unknown") << 4 << "/cache/thumbs/" << QString();
    QTest::newRow("default cache follows XDG") << 1 << QString() << "@/large" + name;
}

void TestLumoThumbnails::thumbnailPath()
{
    QFETCH(int, sizeCode);
    QFETCH(QString, cacheDir);
    QFETCH(QString, expected);
    const QString cache = QDir::cleanPath(qEnvironmentVariable("XDG_CACHE_HOME"));
    QVERIFY(!cache.isEmpty());
    expected.replace(QLatin1Char('@'), cache + QStringLiteral("/thumbnails"));
    QCOMPARE(LumoThumbnails::thumbnailPath(QStringLiteral("/home/jens/photos/me.png"), sizeCode,
                                           cacheDir),
             expected);
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

LUMO_TEST_MAIN(TestLumoThumbnails)
#include "tst_lumothumbnails.moc"
