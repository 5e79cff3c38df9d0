#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedprompter.h"

#include "app/settings.h"
#include "view/picturereader.h"
#include "view/picturestatus.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QDir>
#include <QScrollBar>
#include <QSettings>
#include <QWheelEvent>

#include <exiv2/exiv2.hpp>

// The picture view as a viewer: zoom, status texts, reading good and bad files, closing.
class TestSPicView : public QObject
{
    Q_OBJECT

private slots:
    void fitEnlargesSmallImage();
    void tallNarrowImageScrollsVertically();
    void wheelSteps_data();
    void wheelSteps();
    void watchedLimits_data();
    void watchedLimits();
    void unreadableFiles_data();
    void unreadableFiles();
    void readerKeepsToMemoryBudget_data();
    void readerKeepsToMemoryBudget();
    void exifOrientationApplied();
    void closeQuestions_data();
    void closeQuestions();
};

namespace {

QByteArray chunk(const char* type, const QByteArray& data)
{
    QByteArray body = QByteArray(type, 4) + data;
    quint32 crc = 0xffffffffu;
    for (const char byte : body) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream << quint32(data.size());
    out += body;
    QDataStream tail(&out, QIODevice::Append);
    tail << (crc ^ 0xffffffffu);
    return out;
}

// A valid little PNG whose header announces width by height pixels.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray ihdr;
    QDataStream stream(&ihdr, QIODevice::WriteOnly);
    stream << width << height << quint8(8) << quint8(2) << quint8(0) << quint8(0) << quint8(0);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr)
           + chunk("IDAT", QByteArray::fromHex("789c030000000001")) + chunk("IEND", {});
}

QByteArray encoded(const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    PictureFixture::rampImage(QSize(60, 40)).save(&buffer, format);
    return bytes;
}

void setWatch(const char* key, const QVariant& value)
{
    Settings::instance()->store()->setValue(
        QStringLiteral("/lumo-apps/lumo-image/Watch/") + QLatin1String(key), value);
}

} // namespace

void TestSPicView::fitEnlargesSmallImage()
{
    PictureFixture pic(QSize(10, 10));
    Settings::instance()->general()->setZoomModeInt(0);
    QSignalSpy zoomTexts(pic.view(), &SPicView::zoomChanged);
    QVERIFY(pic.view()->openFile(pic.picturePath()));
    const QSize port = pic.view()->viewport()->size();
    const double fit = (std::min(port.width(), port.height()) - SPicView::defaultMargin) / 10.0;
    QCOMPARE(pic.view()->scale(), fit);
    QCOMPARE(zoomTexts.last().at(0).toString(), QStringLiteral("Zoom: %1 %").arg(qRound(fit * 100)));
}

void TestSPicView::tallNarrowImageScrollsVertically()
{
    PictureFixture pic(QSize(20, 1000));
    SPicView* view = pic.view();
    QCOMPARE(view->pic()->height(), 1000 + SPicView::defaultMargin);
    QCOMPARE(view->pic()->width(), view->viewport()->width());
    QCOMPARE(view->verticalScrollBar()->maximum(), 1020 - view->viewport()->height());
}

void TestSPicView::wheelSteps_data()
{
    QTest::addColumn<int>("notches");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<double>("scale");
    QTest::newRow("plain notch 5 %") << 1 << int(Qt::NoModifier) << 1.05;
    QTest::newRow("shift 20 %") << 1 << int(Qt::ShiftModifier) << 1.2;
    QTest::newRow("control 50 %") << 1 << int(Qt::ControlModifier) << 1.5;
    QTest::newRow("shift and control 5 %") << 1 << int(Qt::ShiftModifier | Qt::ControlModifier)
                                           << 1.05;
    QTest::newRow("control back divides") << -1 << int(Qt::ControlModifier) << 1 / 1.5;
    QTest::newRow("no turn keeps scale") << 0 << int(Qt::NoModifier) << 1.0;
}

void TestSPicView::wheelSteps()
{
    QFETCH(int, notches);
    QFETCH(int, modifiers);
    QFETCH(double, scale);
    PictureFixture pic;
    QSignalSpy zoomTexts(pic.view(), &SPicView::zoomChanged);
    QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, notches * 120),
                      Qt::NoButton, Qt::KeyboardModifiers(modifiers), Qt::NoScrollPhase, false);
    QApplication::sendEvent(pic.view()->viewport(), &event);
    QVERIFY(qFuzzyCompare(pic.view()->scale(), scale));
    QCOMPARE(zoomTexts.last().at(0).toString(), QStringLiteral("Zoom: %1 %").arg(qRound(scale * 100)));
}

void TestSPicView::watchedLimits_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("watched");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing watched") << QSize(300, 50) << false << "300 X 50 X 32 (0.166667)";
    QTest::newRow("wide and short") << QSize(300, 50) << true << "300! X !50 X 32 (0.166667)";
    QTest::newRow("narrow and tall") << QSize(50, 300) << true << "!50 X 300! X 32 (6)";
    QTest::newRow("inside the limits") << QSize(150, 150) << true << "150 X 150 X 32 (1)";
}

void TestSPicView::watchedLimits()
{
    QFETCH(QSize, size);
    QFETCH(bool, watched);
    QFETCH(QString, text);
    PictureFixture pic(size);
    for (const char* key : {"WatchWidthMin", "WatchWidthMax", "WatchHeightMin", "WatchHeightMax"})
        setWatch(key, watched);
    setWatch("widthMaxValue", 200);
    setWatch("heightMaxValue", 200);
    int beeps = 0;
    PictureStatus::setBeeper([&beeps] { ++beeps; });
    QSignalSpy infos(pic.view(), &SPicView::imageInfoChanged);
    pic.view()->refreshStatus();
    PictureStatus::setBeeper({});
    QCOMPARE(infos.last().at(0).toString(), text);
    QCOMPARE(beeps, text.contains(QLatin1Char('!')) ? 1 : 0);
}

void TestSPicView::unreadableFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray gif = QByteArray("GIF89a\xff\xff\xff\xff\x00\x00\x00", 13);
    QTest::newRow("empty file") << "empty.png" << QByteArray();
    QTest::newRow("png cut after its header") << "cut.png" << encoded("PNG").left(40);
    QTest::newRow("png header claims 100000 square") << "huge.png" << pngClaiming(100000, 100000);
    QTest::newRow("gif screen claims 65535 square")
        << "huge.gif" << gif + QByteArray("\x2c\0\0\0\0\xff\xff\xff\xff\0\x02\0\x3b", 14);
    QTest::newRow("gif with garbage body") << "garbage.gif" << gif + QByteArray(64, '\x55');
    QTest::newRow("jpeg cut after its header") << "cut.jpg" << encoded("JPEG").left(30);
    // The PNG suite's deliberately broken files, when the corpus is present.
    const QString corpus = lumotest::corpusDir(QStringLiteral("pngsuite/png"));
    for (const QString& name : QDir(corpus).entryList({QStringLiteral("x*.png")}, QDir::Files)) {
        QFile file(corpus + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTest::newRow(qPrintable(name)) << name << file.readAll();
    }
}

void TestSPicView::unreadableFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    PictureFixture pic;
    QFile file(pic.path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const QStringList lasts = Settings::instance()->general()->lasts();
    QSignalSpy infos(pic.view(), &SPicView::imageInfoChanged);
    QSignalSpy zooms(pic.view(), &SPicView::zoomChanged);
    QSignalSpy marks(pic.view(), &SPicView::markChanged);
    pic.select(QRect(1, 1, 5, 5));
    QVERIFY(!pic.view()->openFile(file.fileName()));
    QVERIFY(pic.view()->isBroken());
    QCOMPARE(pic.view()->image().size(), QSize(128, 128));
    QCOMPARE(pic.view()->scale(), 1.0);
    QVERIFY(!pic.view()->pic()->isSelectable());
    QCOMPARE(infos.last().at(0).toString(), QStringLiteral("Read error"));
    QCOMPARE(zooms.last().at(0).toString(), QString());
    QCOMPARE(marks.last().at(0).toString(), QString());
    QCOMPARE(Settings::instance()->general()->lasts(), lasts);
}

void TestSPicView::readerKeepsToMemoryBudget_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("readable");
    // A machine of 4 MiB, so pictures may take 1 MiB decoded.
    QTest::newRow("sixteen-bit png budgets 64 bits")
        << QSize(400, 400) << int(QImage::Format_RGBA64) << false;
    QTest::newRow("same size in 32 bits fits")
        << QSize(400, 400) << int(QImage::Format_RGB32) << true;
}

void TestSPicView::readerKeepsToMemoryBudget()
{
    QFETCH(QSize, size);
    QFETCH(int, format);
    QFETCH(bool, readable);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("budget.png"));
    QVERIFY(PictureFixture::rampImage(size).convertToFormat(QImage::Format(format)).save(path));
    const PictureReader::Result result = PictureReader::read(path, imaging::ReadLimits(4 << 20));
    QCOMPARE(!result.image.isNull(), readable);
    QCOMPARE(result.format, readable ? QStringLiteral("png") : QString());
}

void TestSPicView::exifOrientationApplied()
{
    PictureFixture pic;
    const QString path = pic.path(QStringLiteral("turned.jpg"));
    QVERIFY(PictureFixture::writePicture(path, QSize(40, 20), "JPEG"));
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    auto exivImage = Exiv2::ImageFactory::open(path.toStdString());
    exivImage->readMetadata();
    Exiv2::ExifData exif = exivImage->exifData();
    exif["Exif.Image.Orientation"] = uint16_t(6); // turn a quarter clockwise to show
    exivImage->setExifData(exif);
    exivImage->writeMetadata();

    QVERIFY(pic.view()->openFile(path));
    QCOMPARE(pic.view()->image().size(), QSize(20, 40));
    QCOMPARE(pic.view()->pic()->format(), QStringLiteral("jpeg"));
}

void TestSPicView::closeQuestions_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    const int yes = QMessageBox::Yes, no = QMessageBox::No, cancel = QMessageBox::Cancel;
    QTest::newRow("save changes: yes writes") << true << yes << true << true;
    QTest::newRow("save changes: no drops the edit") << true << no << true << false;
    QTest::newRow("save changes: cancel keeps the view") << true << cancel << false << false;
    QTest::newRow("close image: yes") << false << yes << true << false;
    QTest::newRow("close image: no") << false << no << false << false;
}

void TestSPicView::closeQuestions()
{
    QFETCH(bool, writable);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    PictureFixture pic;
    const QImage original(pic.picturePath());
    QVERIFY(pic.runAdjustment(true));
    if (!writable)
        pic.view()->pic()->setFormat(QStringLiteral("nosuchformat"));
    const QImage edited = pic.view()->image();
    ScriptedPrompter prompter;
    prompter.answer(QMessageBox::StandardButton(answer));
    QSignalSpy closed(pic.view(), &SPicView::picClosed);

    QCOMPARE(pic.view()->close(), closes);

    QCOMPARE(prompter.asked().size(), 1);
    const auto question = prompter.asked().first();
    QCOMPARE(question.buttons, writable ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                        : QMessageBox::Yes | QMessageBox::No);
    if (writable)
        QVERIFY(question.text.endsWith(QStringLiteral("picture.png")));
    QCOMPARE(closed.count(), closes ? 1 : 0);
    QCOMPARE(QImage(pic.picturePath()).convertToFormat(QImage::Format_RGB32),
             (written ? edited : original).convertToFormat(QImage::Format_RGB32));
    QVERIFY(closes || pic.view()->isModified());
}

LUMO_TEST_MAIN(TestSPicView)
#include "tst_spicview.moc"
