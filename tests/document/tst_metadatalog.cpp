#include "support/lumotest.h"

#include "document/metadatalog.h"
#include "document/picturemetadata.h"

#include <exiv2/exiv2.hpp>

#include <cstdio>
#include <unistd.h>

namespace {

struct Logged
{
    QtMsgType type;
    QString category;
    QString text;
};

QVector<Logged> logged;

void record(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    logged.append({type, QString::fromLatin1(context.category), text});
}

// A JPEG whose Exif entry points past its data: Exiv2 warns and goes on.
QByteArray damagedJpeg()
{
    QByteArray jpeg = lumotest::encoded(lumotest::rampImage({8, 8}), "JPG");
    const QByteArray payload =
        QByteArray("Exif\0\0", 6)
        + QByteArray("II*\0\x08\0\0\0\x01\0\x0f\x01\x02\0\xff\xff\xff\x0f\xf0\xff\xff\xff\0\0\0\0",
                     26);
    const int length = payload.size() + 2;
    jpeg.insert(2, QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length) + payload);
    return jpeg;
}

} // namespace

// Exiv2's messages reach Qt's log under one category, warnings as debug output, never stderr.
class TestMetadataLog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { MetadataLog::install(); }

    void init()
    {
        logged.clear();
        m_previous = qInstallMessageHandler(record);
    }

    void cleanup()
    {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
    }

    void levels_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("debugEnabled");
        QTest::addColumn<int>("type");
        QTest::newRow("warning, debug log on")
            << int(Exiv2::LogMsg::warn) << true << int(QtDebugMsg);
        QTest::newRow("error, debug log off")
            << int(Exiv2::LogMsg::error) << false << int(QtWarningMsg);
    }

    void levels()
    {
        QFETCH(int, level);
        QFETCH(bool, debugEnabled);
        QFETCH(int, type);
        QLoggingCategory::setFilterRules(
            QStringLiteral("lumo.metadata.debug=%1").arg(debugEnabled ? "true" : "false"));
        Exiv2::LogMsg(Exiv2::LogMsg::Level(level)).os() << "odd entry\n";
        QCOMPARE(logged.size(), 1);
        QCOMPARE(int(logged.first().type), type);
        QCOMPARE(logged.first().category, QStringLiteral("lumo.metadata"));
        QCOMPARE(logged.first().text, QStringLiteral("odd entry"));
    }

    void damagedFileStaysOffStderr()
    {
        QTemporaryDir dir;
        const QByteArray jpeg = damagedJpeg();
        QLoggingCategory::setFilterRules(QStringLiteral("lumo.metadata.debug=true"));

        // Whatever Exiv2 would write to the terminal lands in a file instead.
        QFile err(dir.filePath(QStringLiteral("stderr.txt")));
        QVERIFY(err.open(QIODevice::ReadWrite));
        std::fflush(stderr);
        const int saved = ::dup(STDERR_FILENO);
        ::dup2(err.handle(), STDERR_FILENO);
        PictureMetadata::readHere(reinterpret_cast<const uchar*>(jpeg.constData()), jpeg.size());
        std::fflush(stderr);
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);

        err.close();
        QVERIFY(err.open(QIODevice::ReadOnly));
        QCOMPARE(err.readAll(), QByteArray());
        QVERIFY(!logged.isEmpty());
        QCOMPARE(logged.first().category, QStringLiteral("lumo.metadata"));
    }

private:
    QtMessageHandler m_previous = nullptr;
};

LUMO_TEST_MAIN(TestMetadataLog)
#include "tst_metadatalog.moc"
