#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedprompter.h"

#include "app/settings.h"
#include "view/picturereader.h"
#include "view/picturestatus.h"
#include "view/recentfilerecord.h"
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
    void zoomStopsAtLimits_data();
    void zoomStopsAtLimits();
    void wheelSteps_data();
    void wheelSteps();
    void tallNarrowImageScrollsVertically();
    void watchedSizeText_data();
    void watchedSizeText();
    void watchedLimitBeepsOncePerRefresh();
    void unreadableFiles_data();
    void unreadableFiles();
    void readerKeepsToMemoryBudget_data();
    void readerKeepsToMemoryBudget();
    void corruptCorpusFiles_data();
    void corruptCorpusFiles();
    void exifOrientationApplied();
    void recentFiles_data();
    void recentFiles();
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

void sendWheel(SPicView* view, int delta, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &event);
}

} // namespace

void TestSPicView::fitEnlargesSmallImage()
{
    PictureFixture pic(QSize(10, 10));
    Settings::instance()->general()->setZoomModeInt(0);
    QSignalSpy zoomTexts(pic.view(), &SPicView::zoomChanged);
    QVERIFY(pic.view()->openFile(pic.picturePath()));
    const QSize port = pic.view()->viewport()->size();
    const double expected = (std::min(port.width(), port.height()) - SPicView::defaultMargin) / 10.0;
    QCOMPARE(pic.view()->scale(), expected);
    QVERIFY(expected > 10.0);
    QCOMPARE(zoomTexts.last().at(0).toString(),
             QStringLiteral("Zoom: %1 %").arg(qRound(expected * 100)));
}

void TestSPicView::zoomStopsAtLimits_data()
{
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("text");
    QTest::newRow("in stops at 1600 %") << 1.5 << "Zoom: 1600 %";
    QTest::newRow("out stops at 5 %") << 1 / 1.5 << "Zoom: 5 %";
}

void TestSPicView::zoomStopsAtLimits()
{
    QFETCH(double, factor);
    QFETCH(QString, text);
    PictureFixture pic;
    QSignalSpy zoomTexts(pic.view(), &SPicView::zoomChanged);
    for (int i = 0; i < 30; ++i)
        pic.view()->zoomBy(factor);
    QCOMPARE(zoomTexts.last().at(0).toString(), text);
    QCOMPARE(pic.view()->currentZoomMode(), 5);
}

void TestSPicView::wheelSteps_data()
{
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<double>("scale");
    QTest::newRow("plain notch 5 %") << 120 << int(Qt::NoModifier) << 1.05;
    QTest::newRow("shift 20 %") << 120 << int(Qt::ShiftModifier) << 1.2;
    QTest::newRow("control 50 %") << 120 << int(Qt::ControlModifier) << 1.5;
    QTest::newRow("shift and control 5 %")
        << 120 << int(Qt::ShiftModifier | Qt::ControlModifier) << 1.05;
    QTest::newRow("control back divides") << -120 << int(Qt::ControlModifier) << 1 / 1.5;
    QTest::newRow("two notches back") << -240 << int(Qt::NoModifier) << 1 / 1.1;
    QTest::newRow("no turn keeps scale") << 0 << int(Qt::NoModifier) << 1.0;
}

void TestSPicView::wheelSteps()
{
    QFETCH(int, delta);
    QFETCH(int, modifiers);
    QFETCH(double, scale);
    PictureFixture pic;
    QCOMPARE(pic.view()->scale(), 1.0);
    sendWheel(pic.view(), delta, Qt::KeyboardModifiers(modifiers));
    QVERIFY(qFuzzyCompare(pic.view()->scale(), scale));
}

void TestSPicView::tallNarrowImageScrollsVertically()
{
    PictureFixture pic(QSize(20, 1000));
    SPicView* view = pic.view();
    QCOMPARE(view->pic()->height(), 1000 + SPicView::defaultMargin);
    QCOMPARE(view->pic()->width(), view->viewport()->width());
    QCOMPARE(view->verticalScrollBar()->maximum(),
             view->pic()->height() - view->viewport()->height());
    QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
}

void TestSPicView::watchedSizeText_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("watched");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing watched") << QSize(300, 50) << false << "300 X 50 X 32 (0.166667)";
    QTest::newRow("wide and short") << QSize(300, 50) << true << "300! X !50 X 32 (0.166667)";
    QTest::newRow("narrow and tall") << QSize(50, 300) << true << "!50 X 300! X 32 (6)";
    QTest::newRow("inside the limits") << QSize(150, 150) << true << "150 X 150 X 32 (1)";
}

void TestSPicView::watchedSizeText()
{
    QFETCH(QSize, size);
    QFETCH(bool, watched);
    QFETCH(QString, text);
    PictureStatus::WatchLimits limits;
    limits.widthMin = limits.widthMax = limits.heightMin = limits.heightMax = watched;
    limits.widthMinValue = limits.heightMinValue = 100;
    limits.widthMaxValue = limits.heightMaxValue = 200;
    bool flagged = false;
    QCOMPARE(PictureStatus::imageInfoText(size, 32, limits, &flagged), text);
    QCOMPARE(flagged, text.contains(QLatin1Char('!')));
}

void TestSPicView::watchedLimitBeepsOncePerRefresh()
{
    PictureFixture pic(QSize(300, 300));
    QSettings* store = Settings::instance()->store();
    store->setValue(QStringLiteral("/lumo-apps/lumo-image/Watch/WatchWidthMax"), true);
    store->setValue(QStringLiteral("/lumo-apps/lumo-image/Watch/WatchHeightMax"), true);
    int beeps = 0;
    PictureStatus::setBeeper([&beeps] { ++beeps; });
    QSignalSpy infos(pic.view(), &SPicView::imageInfoChanged);
    pic.view()->refreshStatus();
    PictureStatus::setBeeper({});
    QCOMPARE(beeps, 1);
    QCOMPARE(infos.last().at(0).toString(), QStringLiteral("300! X 300! X 32 (1)"));
}

void TestSPicView::unreadableFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray png = encoded("PNG");
    const QByteArray gif = QByteArray("GIF89a\xff\xff\xff\xff\x00\x00\x00", 13);
    QTest::newRow("empty file") << "empty.png" << QByteArray();
    QTest::newRow("text named png") << "text.png" << QByteArray("not a picture at all");
    QTest::newRow("png cut after its header") << "cut.png" << png.left(40);
    QTest::newRow("png header claims 100000 square") << "huge.png" << pngClaiming(100000, 100000);
    QTest::newRow("png header claims zero width") << "zero.png" << pngClaiming(0, 10);
    QTest::newRow("gif screen claims 65535 square")
        << "huge.gif" << gif + QByteArray("\x2c\0\0\0\0\xff\xff\xff\xff\0\x02\0\x3b", 14);
    QTest::newRow("gif with garbage body") << "garbage.gif" << gif + QByteArray(64, '\x55');
    QTest::newRow("jpeg markers only") << "bare.jpg" << QByteArray::fromHex("ffd8ffc0000b08ffffffff01011100ffd9");
    QTest::newRow("jpeg cut after its header") << "cut.jpg" << encoded("JPEG").left(30);
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
    // The machine below has 4 MiB, so pictures may take 1 MiB decoded.
    QTest::newRow("small picture fits") << QSize(100, 100) << int(QImage::Format_RGB32) << true;
    QTest::newRow("four MiB refused") << QSize(1024, 1024) << int(QImage::Format_RGB32) << false;
    QTest::newRow("eight-bit png budgets 32 bits")
        << QSize(600, 600) << int(QImage::Format_Grayscale8) << false;
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

void TestSPicView::corruptCorpusFiles_data()
{
    QTest::addColumn<QString>("path");
    const QString dir = lumotest::corpusDir(QStringLiteral("pngsuite/png"));
    if (dir.isEmpty()) {
        QTest::newRow("corpus absent") << QString();
        return;
    }
    for (const QString& name : QDir(dir).entryList({QStringLiteral("x*.png")}, QDir::Files))
        QTest::newRow(qPrintable(name)) << dir + QLatin1Char('/') + name;
}

void TestSPicView::corruptCorpusFiles()
{
    QFETCH(QString, path);
    if (path.isEmpty())
        QSKIP("the PNG test suite is not present");
    PictureFixture pic;
    QVERIFY(!pic.view()->openFile(path));
    QVERIFY(pic.view()->isBroken());
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

void TestSPicView::recentFiles_data()
{
    QTest::addColumn<QStringList>("lasts");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("lastN");
    QTest::addColumn<QStringList>("result");
    QTest::addColumn<QString>("directory");
    QTest::newRow("read again moves to the front")
        << QStringList{"/p/b.png", "/p/a.png"} << "/p/a.png" << 10
        << QStringList{"/p/a.png", "/p/b.png"} << "/p";
    QTest::newRow("cut to lastN")
        << QStringList{"/q/1", "/q/2", "/q/3"} << "/home/u/pics/x.jpg" << 3
        << QStringList{"/home/u/pics/x.jpg", "/q/1", "/q/2"} << "/home/u/pics";
    QTest::newRow("file in the root") << QStringList() << "/x.png" << 1 << QStringList{"/x.png"}
                                      << "";
    QTest::newRow("no slash kept whole") << QStringList() << "x.png" << 1 << QStringList{"x.png"}
                                         << "x.png";
}

void TestSPicView::recentFiles()
{
    QFETCH(QStringList, lasts);
    QFETCH(QString, path);
    QFETCH(int, lastN);
    QFETCH(QStringList, result);
    QFETCH(QString, directory);
    QCOMPARE(RecentFileRecord::listWith(lasts, path, lastN), result);
    QCOMPARE(RecentFileRecord::directoryOf(path), directory);
}

void TestSPicView::closeQuestions_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    const int yes = QMessageBox::Yes;
    const int no = QMessageBox::No;
    QTest::newRow("save changes: yes writes") << true << yes << true << true;
    QTest::newRow("save changes: no drops the edit") << true << no << true << false;
    QTest::newRow("save changes: cancel keeps the view")
        << true << int(QMessageBox::Cancel) << false << false;
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
    const ScriptedPrompter::Question question = prompter.asked().first();
    QCOMPARE(question.title, writable ? QStringLiteral("lumo-image - Save changes?")
                                      : QStringLiteral("lumo-image - Close image?"));
    QCOMPARE(question.buttons, writable ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                        : QMessageBox::Yes | QMessageBox::No);
    if (writable)
        QVERIFY(question.text.endsWith(QStringLiteral("picture.png")));
    QCOMPARE(closed.count(), closes ? 1 : 0);
    const QImage onDisk(pic.picturePath());
    QCOMPARE(onDisk.convertToFormat(QImage::Format_RGB32),
             (written ? edited : original).convertToFormat(QImage::Format_RGB32));
    if (!closes)
        QVERIFY(pic.view()->isModified());
}

LUMO_TEST_MAIN(TestSPicView)
#include "tst_spicview.moc"
