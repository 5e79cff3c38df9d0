#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/pictureloading.h"
#include "support/scriptedprompter.h"

#include "document/picture.h"
#include "settings/settings.h"
#include "view/sizewarning.h"
#include "view/spic.h"
#include "view/spicview.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QImageReader>
#include <QSettings>
#include <QWheelEvent>

#include <sys/stat.h>

namespace {

QByteArray encoded(const char* format)
{
    return lumotest::encoded(lumotest::rampImage(QSize(60, 40)), format);
}

QString zoomText(double scale)
{
    return QStringLiteral("Zoom: %1 %").arg(qRound(scale * 100));
}

} // namespace

// The picture view as a viewer: a stand-in while a file is read, zoom by wheel and actions,
// status texts, an unreadable file, closing.
class TestSPicView : public QObject
{
    Q_OBJECT

private slots:
    // Only a picture shown reduced at a fit has a stand-in first; it takes the place the full
    // picture takes, and no text describes it. Edits wait for the full pixels.
    void standInFirst_data()
    {
        QTest::addColumn<int>("zoomMode");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("standIn");
        QTest::newRow("a large picture at fit") << 0 << QSize(1600, 1200) << true;
        QTest::newRow("a large picture at true size") << 4 << QSize(1600, 1200) << false;
        QTest::newRow("a picture smaller than the window") << 0 << QSize(200, 100) << false;
    }
    void standInFirst()
    {
        QFETCH(int, zoomMode);
        QFETCH(QSize, size);
        QFETCH(bool, standIn);
        PictureFixture pic;
        SPicView* view = pic.view();
        Settings::instance()->general()->setZoomModeInt(zoomMode);
        const QString path = lumotest::writeSolid(pic.path("large.png"), size, qRgb(40, 80, 120));
        QSignalSpy standIns(view->picture(), &Picture::standInShown);
        QSignalSpy infos(view, &SPicView::imageInfoChanged);
        QSignalSpy zooms(view, &SPicView::zoomChanged);
        QRect shownThen;
        QVariant zoomThen;
        connect(view->picture(), &Picture::standInShown, view, [&] {
            shownThen = QRect(view->pic()->pos(), view->pic()->size());
            zoomThen = zooms.isEmpty() ? QVariant() : zooms.last().at(0);
        });
        view->openFile(path);
        QVERIFY(standIns.size() == int(standIn) || standIns.wait(20000));
        QVERIFY(pic.runAdjustment(true));
        QCOMPARE(standIns.size(), int(standIn));
        QCOMPARE(view->image().pixel(size.width() - 1, size.height() - 1), qRgb(215, 175, 135));
        QCOMPARE(infos.first().at(0).toString(), QStringLiteral("Loading…"));
        QVERIFY(infos.last().at(0).toString().contains(QString::number(size.width())));
        if (standIn) {
            QCOMPARE(QRect(view->pic()->pos(), view->pic()->size()), shownThen);
            QCOMPARE(zooms.last().at(0), zoomThen);
        }
    }

    // At 100 % a JPEG larger than the window first shows its top left corner: at full size,
    // where the whole picture will lie, and nothing beyond it.
    void cornerFirstAtTrueSize()
    {
        PictureFixture pic;
        SPicView* view = pic.view();
        Settings::instance()->general()->setZoomModeInt(4);
        const QString path = pic.path("large.jpg");
        QVERIFY(lumotest::rampImage(QSize(3000, 2000)).save(path, "JPEG", 95));
        QImage shot;
        QSize corner;
        connect(view->picture(), &Picture::standInShown, view, [&] {
            corner = view->picture()->standIn().size();
            shot = view->pic()->grab().toImage();
        });
        view->openFile(path);
        QVERIFY(waitForPicture(view));
        if (shot.isNull())
            QSKIP("the whole picture came before its corner");
        QVERIFY(corner.width() < 3000 && corner.height() < 2000);
        int left = 0;
        int top = 0;
        while (view->pic()->imageX(left, false) < 0)
            ++left;
        while (view->pic()->imageY(top, false) < 0)
            ++top;
        const QImage whole = view->image();
        QCOMPARE(shot.pixel(left + 5, top + 5), whole.pixel(5, 5));
        const int lastX = corner.width() - 1;
        const int lastY = corner.height() - 1;
        QCOMPARE(shot.pixel(left + lastX, top + lastY), whole.pixel(lastX, lastY));
        const int beyond = corner.width() + 5;
        QVERIFY(shot.pixel(left + beyond, top + 5) != whole.pixel(beyond, 5));
    }

    // On a picture larger than the view the wheel zooms too, with or without Control.
    void wheelSteps_data()
    {
        QTest::addColumn<int>("notches");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<double>("factor");
        QTest::newRow("plain notch 5 %") << 1 << int(Qt::NoModifier) << 1.05;
        QTest::newRow("shift 20 %") << 1 << int(Qt::ShiftModifier) << 1.2;
        QTest::newRow("control 50 %") << 1 << int(Qt::ControlModifier) << 1.5;
        QTest::newRow("shift and control 5 %")
            << 1 << int(Qt::ShiftModifier | Qt::ControlModifier) << 1.05;
        QTest::newRow("control back divides") << -1 << int(Qt::ControlModifier) << 1 / 1.5;
    }

    void wheelSteps()
    {
        QFETCH(int, notches);
        QFETCH(int, modifiers);
        QFETCH(double, factor);
        PictureFixture pic(QSize(2000, 1500));
        SPicView* view = pic.view();
        const double before = view->scale();
        QSignalSpy zoomTexts(view, &SPicView::zoomChanged);
        QWheelEvent event(QPointF(100, 100), view->viewport()->mapToGlobal(QPoint(100, 100)),
                          QPoint(), QPoint(0, notches * 120), Qt::NoButton,
                          Qt::KeyboardModifiers(modifiers), Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &event);
        QVERIFY(event.isAccepted());
        QVERIFY(qFuzzyCompare(view->scale(), before * factor));
        QCOMPARE(zoomTexts.last().at(0).toString(), zoomText(before * factor));
    }

    // A 10 by 10 picture in a 400 by 300 view; the stored mode starts as manual (5), so any
    // mode an action keeps shows.
    void zoomActions_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("index"); // in 5, 20, 50 %, out 5, 20, 50 %, -, true size, fit
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("percent"); // -1: whatever fills the view
        QTest::addColumn<int>("mode");
        QTest::newRow("5 % in, nine times gives 155 %") << 4 << 0 << 9 << 155 << 5;
        QTest::newRow("50 % in stops at 1600 %") << 4 << 2 << 12 << 1600 << 5;
        QTest::newRow("50 % out stops at 5 %") << 4 << 5 << 12 << 5 << 5;
        QTest::newRow("true size from fit is kept") << 0 << 7 << 1 << 100 << 4;
        QTest::newRow("fit from true size enlarges and is kept") << 4 << 8 << 1 << -1 << 0;
    }
    void zoomActions()
    {
        QFETCH(int, from);
        QFETCH(int, index);
        QFETCH(int, presses);
        QFETCH(int, percent);
        QFETCH(int, mode);
        PictureFixture pic(QSize(10, 10));
        Settings::instance()->general()->setZoomModeInt(5);
        ZoomActions actions;
        actions.setPicView(pic.view());
        // The group follows its view by itself: off while a slideshow runs.
        pic.view()->startSlideshow();
        QVERIFY(!actions.isEnabled());
        pic.view()->stopSlideshow();
        // Fit fills the viewport less the view's margin.
        const QSize port = pic.view()->viewport()->size();
        if (percent < 0)
            percent = 10 * (std::min(port.width(), port.height()) - SPicView::defaultMargin);
        pic.view()->setCurrentZoomMode(from);
        pic.view()->zoom();
        QSignalSpy texts(pic.view(), &SPicView::zoomChanged);
        for (int i = 0; i < presses; ++i)
            actions.actions().at(index)->trigger();
        QCOMPARE(texts.count(), presses);
        QCOMPARE(texts.last().first().toString(), zoomText(percent / 100.0));
        QCOMPARE(pic.view()->currentZoomMode(), mode);
        QCOMPARE(Settings::instance()->general()->zoomModeInt(), mode);
    }

    // What the status says of a file read: why one gives no picture, as the file tells it, and
    // a size past the watched limits, with one beep. A file that gives no picture shows the
    // placeholder and records no read file. A JPEG cut short shows what it has and says so.
    void imageInfo_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("watched"); // all four limits, at 200
        QTest::addColumn<bool>("broken");
        QTest::addColumn<QString>("text"); // the end of the image info
        const QByteArray jpeg = encoded("JPG");
        QTest::newRow("empty file") << "empty.png" << QByteArray() << false << true
                                    << "Read error: the file is empty";
        QTest::newRow("text named like a picture")
            << "notes.png" << QByteArray("not a picture\n") << false << true
            << "Read error: the file is not a picture";
        QTest::newRow("a format no plug-in reads")
            << "scan.jp2" << QByteArray("\0\0\0\x0c" "jP  \r\n\x87\n\0\0\0\x14" "ftypjp2 ", 24)
            << false << true << "Read error: no plug-in reads this format (JPEG-2000 JP2 image)";
        QTest::newRow("PNG cut short") << "cut.png" << encoded("PNG").left(40) << false << true
                                       << "Read error: the file is damaged or incomplete";
        QTest::newRow("JPEG cut in its picture data")
            << "cut.jpg" << jpeg.left(jpeg.size() - 40) << false << false
            << " - Read error: the file is damaged or incomplete";
        QTest::newRow("whole JPEG, nothing watched")
            << "whole.jpg" << jpeg << false << false << "60 X 40 X 32 (0.666667)";
        // Nothing to tell from a file that cannot be read without waiting for a writer.
        QTest::newRow("named pipe") << "pipe.png" << QByteArray() << false << true << "Read error";
        const auto png = [](const QSize& size) {
            return lumotest::encoded(lumotest::rampImage(size), "PNG");
        };
        QTest::newRow("watched: wide and short")
            << "wide.png" << png({300, 50}) << true << false << "300! X !50 X 32 (0.166667)";
        QTest::newRow("watched: narrow and tall")
            << "tall.png" << png({50, 300}) << true << false << "!50 X 300! X 32 (6)";
    }

    void imageInfo()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, watched);
        QFETCH(bool, broken);
        QFETCH(QString, text);
        if (name.endsWith(QLatin1String(".jp2"))
            && QImageReader::supportedMimeTypes().contains("image/jp2"))
            QSKIP("This machine reads JPEG 2000.");
        PictureFixture pic;
        QSettings* store = Settings::instance()->store();
        const QString prefix = QStringLiteral("/lumo-apps/lumo-image/Watch/");
        for (const char* key :
             {"WatchWidthMin", "WatchWidthMax", "WatchHeightMin", "WatchHeightMax"})
            store->setValue(prefix + QLatin1String(key), watched);
        store->setValue(prefix + QStringLiteral("widthMaxValue"), 200);
        store->setValue(prefix + QStringLiteral("heightMaxValue"), 200);
        QFile file(pic.path(name));
        if (name.startsWith(QLatin1String("pipe"))) {
            QCOMPARE(::mkfifo(QFile::encodeName(file.fileName()).constData(), 0600), 0);
        } else {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
            file.close();
        }
        QSignalSpy reads(pic.view(), &SPicView::fileRead);
        QSignalSpy infos(pic.view(), &SPicView::imageInfoChanged);
        QSignalSpy zooms(pic.view(), &SPicView::zoomChanged);
        QSignalSpy marks(pic.view(), &SPicView::markChanged);
        QSignalSpy pointers(pic.view(), &SPicView::MPIChanged);
        pic.select(QRect(1, 1, 5, 5));
        emit pic.view()->pic()->MPIChanged4P(QStringLiteral("3 X 4 #102030"));
        pic.view()->openFile(file.fileName());
        QCOMPARE(waitForPicture(pic.view()), !broken);
        const QString info = infos.last().at(0).toString();
        QVERIFY2(text == QLatin1String("Read error") ? info == text : info.endsWith(text),
                 qPrintable(info));
        int beeps = 0;
        SizeWarning::setBeeper([&beeps] { ++beeps; });
        pic.view()->refreshStatus();
        SizeWarning::setBeeper({});
        QCOMPARE(beeps, watched ? 1 : 0);
        if (!broken)
            return;
        QVERIFY(pic.view()->isBroken() && !pic.view()->pic()->isSelectable());
        QCOMPARE(pic.view()->image().size(), QSize(128, 128));
        QCOMPARE((QVariantList{zooms.last().at(0), marks.last().at(0), pointers.last().at(0)}),
                 (QVariantList{"", "", ""}));
        QCOMPARE(reads.size(), 0);
    }

    // Each button says what it does; none answers a key pressed out of habit ("y", "n").
    void closeQuestions_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        using B = QMessageBox;
        QTest::newRow("save changes: save writes") << true << int(B::Save) << true;
        QTest::newRow("save changes: discard drops the edit") << true << int(B::Discard) << true;
        QTest::newRow("save changes: cancel keeps the view") << true << int(B::Cancel) << false;
        QTest::newRow("close image: discard") << false << int(B::Discard) << true;
        QTest::newRow("close image: keep open") << false << int(B::No) << false;
    }
    void closeQuestions()
    {
        QFETCH(bool, writable);
        QFETCH(int, answer);
        QFETCH(bool, closes);
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
        using B = QMessageBox;
        QCOMPARE(question.buttons, writable ? B::Save | B::Discard | B::Cancel : B::Discard | B::No);
        // Enter saves or keeps; Cancel keeps its standard word.
        QCOMPARE(question.defaultButton, writable ? B::Save : B::No);
        const QStringList words = writable ? QStringList{"&Save", "&Discard"}
                                           : QStringList{"&Keep open", "&Discard"};
        QCOMPARE(question.buttonTexts.values(), words);
        if (writable)
            QVERIFY(question.text.endsWith(QStringLiteral("picture.png")));
        QCOMPARE(closed.count(), closes ? 1 : 0);
        const bool written = writable && answer == B::Save;
        QCOMPARE(QImage(pic.picturePath()).convertToFormat(QImage::Format_RGB32),
                 (written ? edited : original).convertToFormat(QImage::Format_RGB32));
        QVERIFY(closes || pic.view()->isModified());
    }
};

LUMO_TEST_MAIN(TestSPicView)
#include "tst_spicview.moc"
