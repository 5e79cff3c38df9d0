#include "support/adjustedpicture.h"
#include "support/lumotest.h"

namespace {

// Swaps red and blue, so any pixel that went through the pass shows it.
PictureAdjustment::Pass swapping()
{
    PictureAdjustment::Pass pass;
    pass.apply = [](const QImage& source, double) { return source.rgbSwapped(); };
    return pass;
}

} // namespace

// The preview on a reduced copy and the full-resolution result made on a worker.
class TestPictureAdjustment : public QObject
{
    Q_OBJECT

private slots:
    // A reduced copy keeps the layout of the picture, so the preview has the result's depth.
    void previewWorksAtTheShownScale_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<bool>("fullResolution");
        QTest::addColumn<QSize>("previewSize");
        QTest::addColumn<int>("format");
        const int rgb = QImage::Format_RGB32;
        QTest::newRow("shown at a quarter") << 0.25 << false << QSize(50, 25) << rgb;
        QTest::newRow("shown enlarged: never above the source")
            << 3.0 << false << QSize(200, 100) << rgb;
        QTest::newRow("a pass that must see every pixel") << 0.25 << true << QSize(200, 100) << rgb;
        QTest::newRow("tiny scale keeps a pixel") << 0.001 << false << QSize(1, 1) << rgb;
        QTest::newRow("colour table at a quarter")
            << 0.25 << false << QSize(50, 25) << int(QImage::Format_Indexed8);
        QTest::newRow("one bit at a quarter")
            << 0.25 << false << QSize(50, 25) << int(QImage::Format_Mono);
    }
    void previewWorksAtTheShownScale()
    {
        QFETCH(double, scale);
        QFETCH(bool, fullResolution);
        QFETCH(QSize, previewSize);
        QFETCH(int, format);
        const QImage source =
            lumotest::rampImage(QSize(200, 100)).convertToFormat(QImage::Format(format));
        AdjustedPicture adjusted(source);
        adjusted.adjustment->setPreviewScale(scale);
        PictureAdjustment::Pass pass = swapping();
        pass.fullResolution = fullResolution;
        QSignalSpy changed(&adjusted.picture, &Picture::imageChanged);
        adjusted.adjustment->preview(pass);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(adjusted.picture.shownImage().size(), previewSize);
        QCOMPARE(adjusted.picture.shownImage().format(), source.format());
        // The picture's own pixels and its size wait for the result.
        QCOMPARE(adjusted.picture.image(), source);
        QCOMPARE(adjusted.picture.shownSize(), source.size());
        // A preview of every pixel is the result itself: Ok has nothing left to compute.
        QCOMPARE(adjusted.adjustment->isFinished(), previewSize == source.size());
    }

    // Ok: the result is made from the full source, whatever the preview saw, on a worker or,
    // kept before that is done, at once. Dropped while the worker runs, the picture is as it
    // was. Either way it ends consistent, and a worker that ends afterwards is not heard.
    void ends_data()
    {
        QTest::addColumn<QString>("end");
        QTest::newRow("kept once the worker finished") << "finish, keep";
        QTest::newRow("kept without finishing first") << "keep";
        QTest::newRow("cancelled while computing") << "finish, drop";
    }
    void ends()
    {
        QFETCH(QString, end);
        const QImage source = lumotest::rampImage(QSize(300, 200));
        AdjustedPicture adjusted(source);
        adjusted.adjustment->setPreviewScale(0.1);
        PictureAdjustment::Pass pass = swapping();
        pass.resultSize = [](const QSize& size) { return size / 2; };
        pass.apply = [](const QImage& image, double) {
            return image.rgbSwapped().scaled(image.size() / 2);
        };
        adjusted.adjustment->preview(pass);
        QCOMPARE(adjusted.picture.shownSize(), QSize(150, 100));
        QSignalSpy finished(adjusted.adjustment.get(), &PictureAdjustment::finished);
        const bool waits = end == QLatin1String("finish, keep");
        const bool drops = end == QLatin1String("finish, drop");
        if (end.startsWith(QLatin1String("finish")))
            adjusted.adjustment->finish();
        if (waits)
            QVERIFY(finished.count() == 1 || finished.wait());
        if (drops)
            adjusted.adjustment->rollback();
        else
            adjusted.adjustment->commit(1);
        QCOMPARE(adjusted.picture.image(),
                 drops ? source : source.rgbSwapped().scaled(source.size() / 2));
        QCOMPARE(adjusted.picture.shownImage(), adjusted.picture.image());
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(finished.count(), waits ? 1 : 0);
    }
};

LUMO_TEST_MAIN(TestPictureAdjustment)
#include "tst_pictureadjustment.moc"
