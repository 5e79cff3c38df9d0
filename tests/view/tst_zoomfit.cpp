#include "support/lumotest.h"

#include "view/zoomfit.h"

// The scale each stored zoom mode gives a picture, above all the fit that never enlarges, and
// that every other stored value keeps the scale as it is. That a view takes the stored mode at
// its next read is tst_spicview's (standInFirst) and tst_imagescentralwidget's.
class TestZoomFit : public QObject
{
    Q_OBJECT

private slots:
    void scale_data() { lumotest::addRows(QStringLiteral("zoomfit.txt")); }
    void scale()
    {
        QFETCH(int, mode);
        QFETCH(QSize, viewport);
        QFETCH(QSize, image);
        QFETCH(bool, broken);
        QFETCH(QString, scale);
        const ZoomFit fit(viewport, 20);
        QCOMPARE(fit.scale(mode, 0.3, image, broken), scale.toDouble());
    }
};

LUMO_TEST_MAIN(TestZoomFit)
#include "tst_zoomfit.moc"
