#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/pictureloading.h"

#include "document/picture.h"
#include "document/picturecache.h"
#include "settings/settings.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QImage>

// Filling a picture view from files read in the background: a quick stand-in at fit, the
// neighbours read ahead, and edits that wait for the full pixels.
class TestPictureOpener : public QObject
{
    Q_OBJECT

private slots:
    void standInFirst_data()
    {
        QTest::addColumn<int>("zoomMode");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("standIn");
        QTest::newRow("a large picture at fit") << 0 << QSize(1600, 1200) << true;
        QTest::newRow("a large picture at true size") << 4 << QSize(1600, 1200) << false;
        QTest::newRow("a picture smaller than the window") << 0 << QSize(200, 100) << false;
    }
    // The stand-in takes the place the full picture takes, and no text ever describes it.
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
        // Seen when the stand-in shows: the full picture may follow before a wait returns.
        bool loadingThen = false;
        int standInWidth = 0;
        QRect shownThen;
        QString zoomThen;
        connect(view->picture(), &Picture::standInShown, view, [&] {
            loadingThen = view->isLoading() && view->picture()->image().isNull();
            standInWidth = view->picture()->standIn().width();
            shownThen = QRect(view->pic()->pos(), view->pic()->size());
            zoomThen = zooms.isEmpty() ? QString() : zooms.last().at(0).toString();
        });
        view->openFile(path);
        if (standIn) {
            QVERIFY(standIns.size() == 1 || standIns.wait(20000));
            QVERIFY(loadingThen);
            QVERIFY(standInWidth < size.width());
        }
        QVERIFY(waitForPicture(view));
        QCOMPARE(standIns.size(), int(standIn));
        QCOMPARE(view->image().size(), size);
        // Kept beside the picture it stands for, for the paints until smaller copies are made.
        QCOMPARE(view->picture()->standIn().isNull(), !standIn);
        if (standIn) {
            QCOMPARE(QRect(view->pic()->pos(), view->pic()->size()), shownThen);
            QCOMPARE(zooms.last().at(0).toString(), zoomThen);
        }
        QCOMPARE(infos.first().at(0).toString(), QStringLiteral("Loading…"));
        QVERIFY(infos.last().at(0).toString().contains(QString::number(size.width())));
    }

    void readAheadCopies_data()
    {
        QTest::addColumn<int>("zoomMode");
        QTest::addColumn<bool>("copies");
        QTest::newRow("at fit the picture ahead comes with its smaller copies") << 0 << true;
        QTest::newRow("at true size it comes without") << 4 << false;
    }
    void readAheadCopies()
    {
        QFETCH(int, zoomMode);
        QFETCH(bool, copies);
        PictureFixture pic;
        Settings::instance()->general()->setZoomModeInt(zoomMode);
        const QSize size(1280, 1024); // large enough for smaller copies
        const QStringList files{lumotest::writeSolid(pic.path("a.png"), size, qRgb(0, 0, 255)),
                                lumotest::writeSolid(pic.path("b.png"), size, qRgb(0, 0, 255))};
        pic.view()->openList(files);
        QVERIFY(waitForPicture(pic.view()));
        QTRY_VERIFY_WITH_TIMEOUT(PictureCache::shared()->contains(files.at(1)), 20000);
        QCOMPARE(!PictureCache::shared()->find(files.at(1))->copies.isEmpty(), copies);
    }

    void readAheadShownAtOnce()
    {
        const int row = 2; // the neighbour read ahead is shown without waiting
        PictureFixture pic;
        SPicView* view = pic.view();
        const QList<QRgb> colours{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
        QStringList files;
        for (int i = 0; i < colours.size(); ++i)
            files << lumotest::writeSolid(pic.path(QStringLiteral("%1.png").arg(i)), QSize(300, 200),
                                   colours.at(i));
        view->openList(files);
        QVERIFY(waitForPicture(view));
        view->next();
        QVERIFY(waitForPicture(view));
        QTRY_VERIFY(PictureCache::shared()->contains(files.at(row)));
        view->next();
        QVERIFY(!view->isLoading());
        QCOMPARE(view->image().pixel(0, 0), colours.at(row));
    }

    void editWaitsForFullPixels()
    {
        PictureFixture pic;
        SPicView* view = pic.view();
        Settings::instance()->general()->setZoomModeInt(0);
        const QString path = lumotest::writeSolid(pic.path("large.png"), QSize(1600, 1200), qRgb(0, 0, 0));
        view->openFile(path);
        QVERIFY(pic.runAdjustment(true));
        QVERIFY(!view->isLoading());
        QCOMPARE(view->image().size(), QSize(1600, 1200));
        QCOMPARE(view->image().pixel(1599, 1199), qRgb(255, 255, 255));
    }
};

LUMO_TEST_MAIN(TestPictureOpener)
#include "tst_pictureopener.moc"
