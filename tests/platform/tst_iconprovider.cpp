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

private:
    QTemporaryDir m_dir;
};

void TestIconProvider::initTestCase()
{
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
    const QList<QPair<const char*, QByteArray>> files{
        {"a.png", QByteArray("\x89PNG\r\n\x1a\n", 8)},
        {"pngdata", QByteArray("\x89PNG\r\n\x1a\n", 8)},
        {"notes.txt", "plain words\n"},
        {"blob", QByteArray("\x00\x01\x02\x03\xff\xfe", 6)}};
    for (const auto& file : files) {
        QFile out(m_dir.filePath(QString::fromLatin1(file.first)));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file.second) > 0);
    }
}

void TestIconProvider::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("onWorker");
    QTest::addColumn<QString>("prefix");

    QTest::newRow("directory") << "sub" << false << "folder";
    QTest::newRow("png file") << "a.png" << false << "image-";
    QTest::newRow("text file") << "notes.txt" << false << "text-";
    QTest::newRow("missing file named by suffix") << "missing.jpg" << false << "image-";
    // Content decides when the name says nothing.
    QTest::newRow("png content without suffix") << "pngdata" << false << "image-";
    QTest::newRow("binary without suffix") << "blob" << false << "unknown";
    QTest::newRow("missing file without suffix") << "nothing" << false << "unknown";
    QTest::newRow("empty path") << QString() << false << "unknown";
    // The icon loader is not thread-safe, so thumbnail workers must not consult the theme.
    QTest::newRow("worker thread gets the generic name")
        << "a.png" << true << "image-x-generic";
}

void TestIconProvider::names()
{
    QFETCH(QString, name);
    QFETCH(bool, onWorker);
    QFETCH(QString, prefix);
    const QString path = name.isEmpty() ? QString() : m_dir.filePath(name);
    const auto lookUp = [path] { return LumoFM::IconProvider::ptr()->nameForFile(path); };
    const QString icon = onWorker ? QtConcurrent::run(lookUp).result() : lookUp();
    QVERIFY2(onWorker ? icon == prefix : icon.startsWith(prefix), qPrintable(icon));
}

LUMO_TEST_MAIN(TestIconProvider)
#include "tst_iconprovider.moc"
