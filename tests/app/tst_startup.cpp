#include "support/lumotest.h"

#include "app/startup.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>

// Sorting of the command line into files, directories and the start directory.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sortArguments_data();
    void sortArguments();
    void parserOptions_data();
    void parserOptions();
    void eachArgumentGivesEventsATurn();

private:
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QStringList paths(const QStringList& names) const;
    QTemporaryDir m_dir;
};

void TestStartup::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir().mkpath(path(QStringLiteral("d1"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("d2"))));
    for (const char* name : {"a.png", "b.png", "notes.txt"}) {
        QFile file(path(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(path(QStringLiteral("a.png")), path(QStringLiteral("link.png"))));
    QVERIFY(QFile::link(path(QStringLiteral("d1")), path(QStringLiteral("linkdir"))));
}

QStringList TestStartup::paths(const QStringList& names) const
{
    QStringList result;
    for (const QString& name : names)
        result << path(name);
    return result;
}

void TestStartup::sortArguments_data()
{
    QTest::addColumn<QStringList>("positional");
    QTest::addColumn<bool>("directorySet");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("directories");
    QTest::addColumn<QString>("start");

    const QStringList none;
    QTest::newRow("no arguments") << none << false << QString() << none << none << QString();
    QTest::newRow("one file keeps the browser's own start")
        << QStringList{"a.png"} << false << QString() << QStringList{"a.png"} << none << QString();
    QTest::newRow("two files start in their directory")
        << QStringList{"a.png", "b.png"} << false << QString() << QStringList{"a.png", "b.png"}
        << none << ".";
    QTest::newRow("directory and file")
        << QStringList{"d1", "a.png"} << false << QString() << QStringList{"a.png"}
        << QStringList{"d1"} << "d1";
    QTest::newRow("two directories: the first starts")
        << QStringList{"d1", "d2"} << false << QString() << none << QStringList{"d1", "d2"} << "d1";
    QTest::newRow("d with a directory ignores the file")
        << QStringList{"a.png"} << true << "d2" << none << none << "d2";
    QTest::newRow("d with a file starts nowhere")
        << QStringList{"a.png"} << true << "a.png" << none << none << QString();
    QTest::newRow("missing path is skipped, order kept")
        << QStringList{"b.png", "missing.png", "a.png"} << false << QString()
        << QStringList{"b.png", "a.png"} << none << ".";
    QTest::newRow("links to files are files, links to directories are directories")
        << QStringList{"link.png", "linkdir"} << false << QString() << QStringList{"link.png"}
        << QStringList{"linkdir"} << "linkdir";
}

void TestStartup::sortArguments()
{
    QFETCH(QStringList, positional);
    QFETCH(bool, directorySet);
    QFETCH(QString, directory);
    QFETCH(QStringList, files);
    QFETCH(QStringList, directories);
    QFETCH(QString, start);

    // Relative arguments resolve against the working directory, as on a real command line.
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    const Startup::Arguments sorted = Startup::sort(positional, directorySet, directory);
    QDir::setCurrent(oldCurrent);

    QCOMPARE(sorted.files, paths(files));
    QCOMPARE(sorted.directories, paths(directories));
    const QString expectedStart =
        start.isEmpty() ? QString() : QDir::cleanPath(path(start));
    QCOMPARE(sorted.startDirectory, expectedStart);
}

void TestStartup::parserOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("fullScreen");
    QTest::addColumn<int>("fileCount");

    QTest::newRow("short f") << QStringList{"-f", "a.png"} << true << 1;
    QTest::newRow("long fullscreen-view")
        << QStringList{"--fullscreen-view", "a.png", "b.png"} << true << 2;
    QTest::newRow("plain files") << QStringList{"a.png", "b.png"} << false << 2;
}

void TestStartup::parserOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, fullScreen);
    QFETCH(int, fileCount);

    QCommandLineParser parser;
    Startup::setUpParser(parser);
    QVERIFY(parser.parse(QStringList{"lumo-image"} + arguments));
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    const Startup::Arguments sorted = Startup::sort(parser);
    QDir::setCurrent(oldCurrent);
    QCOMPARE(sorted.fullScreen, fullScreen);
    QCOMPARE(sorted.files.size(), fileCount);
}

void TestStartup::eachArgumentGivesEventsATurn()
{
    int turns = 0;
    Startup::sort(paths({"a.png", "missing", "d1"}), false, QString(), [&turns] { ++turns; });
    QCOMPARE(turns, 3);
}

LUMO_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
