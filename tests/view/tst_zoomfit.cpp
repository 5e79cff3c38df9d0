#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/pictureloading.h"

#include "settings/settings.h"
#include "view/zoomfit.h"
#include "view/zoommodel.h"

#include <QScrollBar>

// The scale each stored zoom mode gives a picture, above all the fit that never enlarges, and
// that every other stored value keeps the scale as it is.
class TestZoomFit : public QObject
{
    Q_OBJECT

private slots:
    // A view of 420 by 320 with the margin of 20 leaves 400 by 300 for the picture.
    void scale_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QSize>("viewport");
        QTest::addColumn<QSize>("image");
        QTest::addColumn<bool>("broken");
        QTest::addColumn<double>("scale");
        const QSize view(420, 320);
        const int noEnlarging = ZoomModel::fitNoEnlargingMode;
        QTest::newRow("no enlarging: small picture at true size")
            << noEnlarging << view << QSize(100, 50) << false << 1.0;
        QTest::newRow("no enlarging: wide picture fitted to the width")
            << noEnlarging << view << QSize(800, 200) << false << 0.5;
        QTest::newRow("no enlarging: tall picture fitted to the height")
            << noEnlarging << view << QSize(200, 600) << false << 0.5;
        QTest::newRow("no enlarging: picture one pixel too wide")
            << noEnlarging << view << QSize(401, 300) << false << 400.0 / 401;
        QTest::newRow("no enlarging: exactly fitting picture at true size")
            << noEnlarging << view << QSize(400, 300) << false << 1.0;
        QTest::newRow("no enlarging: window no larger than its margin")
            << noEnlarging << QSize(20, 20) << QSize(800, 600) << false << 1.0;
        QTest::newRow("no enlarging: unreadable picture")
            << noEnlarging << view << QSize(800, 600) << true << 1.0;
        QTest::newRow("fit: small picture enlarged") << 0 << view << QSize(100, 50) << false << 4.0;
        QTest::newRow("fit: zero-size window keeps the scale")
            << 0 << QSize(0, 0) << QSize(800, 600) << false << 0.3;
        QTest::newRow("true size") << 4 << view << QSize(800, 600) << false << 1.0;
        QTest::newRow("manual keeps the scale") << 5 << view << QSize(800, 600) << false << 0.3;
        QTest::newRow("unknown 7 keeps the scale") << 7 << view << QSize(100, 50) << false << 0.3;
    }
    void scale()
    {
        QFETCH(int, mode);
        QFETCH(QSize, viewport);
        QFETCH(QSize, image);
        QFETCH(bool, broken);
        QFETCH(double, scale);
        const ZoomFit fit(viewport, 20);
        QCOMPARE(fit.scale(mode, 0.3, image, broken), scale);
    }

    // The stored mode reaches a view at its next read: small at 100 %, large whole in sight.
    void viewOpensInTheStoredMode_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<bool>("fitted");
        QTest::newRow("small picture") << QSize(40, 30) << false;
        QTest::newRow("large picture") << QSize(1600, 1200) << true;
    }
    void viewOpensInTheStoredMode()
    {
        QFETCH(QSize, picture);
        QFETCH(bool, fitted);
        PictureFixture pic(picture);
        SPicView* view = pic.view();
        Settings::instance()->general()->setZoomModeInt(ZoomModel::fitNoEnlargingMode);
        view->openFile(pic.picturePath());
        QVERIFY(waitForPicture(view));
        QCOMPARE(view->currentZoomMode(), ZoomModel::fitNoEnlargingMode);
        QCOMPARE(view->scale() < 1.0, fitted);
        if (!fitted)
            QCOMPARE(view->scale(), 1.0);
        QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(view->verticalScrollBar()->maximum(), 0);
    }
};

LUMO_TEST_MAIN(TestZoomFit)
#include "tst_zoomfit.moc"
