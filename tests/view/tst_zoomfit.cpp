#include "support/lumotest.h"

#include "view/zoomfit.h"
#include "view/zoommodel.h"

// The scale each stored zoom mode gives a picture, above all the fit that never enlarges, and
// that every other stored value keeps the scale as it is. That a view takes the stored mode at
// its next read is tst_pictureopener's (standInFirst) and tst_imagescentralwidget's.
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
};

LUMO_TEST_MAIN(TestZoomFit)
#include "tst_zoomfit.moc"
