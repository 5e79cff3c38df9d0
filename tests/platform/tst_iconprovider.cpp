#include "support/lumotest.h"

#include "platform/lumofm/iconprovider.h"

#include <QDir>
#include <QFile>
#include <QtConcurrent>

// Icon names for the thumbnail view's fall-back icons.
class TestIconProvider : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void names_data();
    void names();
    void workerThreadGetsGenericName();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QTemporaryDir m_dir;
};

QString TestIconProvider::write(const QString& name, const QByteArray& bytes)
{
    QFile file(m_dir.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return file.fileName();
}

void TestIconProvider::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
    write(QStringLiteral("a.png"), QByteArray("\x89PNG\r\n\x1a\n", 8));
    write(QStringLiteral("pngdata"), QByteArray("\x89PNG\r\n\x1a\n", 8));
    write(QStringLiteral("notes.txt"), "plain words\n");
    write(QStringLiteral("blob"), QByteArray("\x00\x01\x02\x03\xff\xfe", 6));
}

void TestIconProvider::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("prefix");

    QTest::newRow("directory") << "sub" << "folder";
    QTest::newRow("png file") << "a.png" << "image-";
    QTest::newRow("text file") << "notes.txt" << "text-";
    QTest::newRow("missing file named by suffix") << "missing.jpg" << "image-";
    // Content decides when the name says nothing.
    QTest::newRow("png content without suffix") << "pngdata" << "image-";
    QTest::newRow("binary without suffix") << "blob" << "unknown";
    QTest::newRow("missing file without suffix") << "nothing" << "unknown";
    QTest::newRow("empty path") << QString() << "unknown";
}

void TestIconProvider::names()
{
    QFETCH(QString, name);
    QFETCH(QString, prefix);
    const QString path = name.isEmpty() ? QString() : m_dir.filePath(name);
    const QString icon = LumoFM::IconProvider::ptr()->nameForFile(path);
    QVERIFY2(icon.startsWith(prefix), qPrintable(icon));
}

void TestIconProvider::workerThreadGetsGenericName()
{
    const QString path = m_dir.filePath(QStringLiteral("a.png"));
    const QString icon =
        QtConcurrent::run([path] { return LumoFM::IconProvider::ptr()->nameForFile(path); })
            .result();
    QCOMPARE(icon, QStringLiteral("image-x-generic"));
}

LUMO_TEST_MAIN(TestIconProvider)
#include "tst_iconprovider.moc"
