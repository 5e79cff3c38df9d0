#include "support/lumotest.h"

#include "document/prescaledimage.h"
#include "imaging/displaycolours.h"

#include <QColorSpace>

#include <QThreadPool>

namespace {

QImage filled(const QColor& colour, const QSize& size = QSize(2048, 2048))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Sets the image and waits until its halvings are there.
bool halved(PrescaledImage& prescaled, const QImage& image)
{
    QSignalSpy made(&prescaled, &PrescaledImage::copiesMade);
    prescaled.setImage(image);
    return made.wait(20000) && prescaled.halvingCount() > 0;
}

} // namespace

// Which copy a paint gets at which scale, that copies of a changed or replaced image are
// never handed out, and that a picture in another colour space is painted in sRGB.
class TestPrescaledImage : public QObject
{
    Q_OBJECT

private slots:
    void halvingSizes_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QVector<QSize>>("halvings");
        QTest::newRow("24 MP photo down to about 94 000 pixels")
            << QSize(6000, 4000)
            << QVector<QSize>{{3000, 2000}, {1500, 1000}, {750, 500}, {375, 250}};
        QTest::newRow("odd sides round up")
            << QSize(2001, 1001) << QVector<QSize>{{1001, 501}, {501, 251}};
        QTest::newRow("just under a megapixel gets none") << QSize(1000, 1000) << QVector<QSize>{};
        QTest::newRow("a thin panorama stops by pixels, not sides")
            << QSize(65536, 16) << QVector<QSize>{{32768, 8}, {16384, 4}};
        QTest::newRow("no image") << QSize() << QVector<QSize>{};
    }
    void halvingSizes()
    {
        QFETCH(QSize, size);
        QFETCH(QVector<QSize>, halvings);
        QCOMPARE(PrescaledImage::halvingSizes(size), halvings);
        // However many, the halvings together take about a third of the picture at most.
        qint64 total = 0;
        for (const QSize& halving : halvings)
            total += qint64(halving.width()) * halving.height();
        QVERIFY(total * 3 <= qint64(size.width()) * size.height());
    }

    // Which copy a paint gets at the scale: halvings made here or while the picture was read
    // ahead (not those of another size), and the copy at the size shown once that is made.
    void copyFor_data()
    {
        QTest::addColumn<QString>("halvings"); // made here, given or another picture's
        QTest::addColumn<double>("then");      // the scale set once the copy for 0.3 is made
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("width"); // of what is painted from; 2048 is the image itself
        // Halvings of 1024, 512 and 256 pixels square.
        QTest::newRow("100 % paints the image") << "made" << 0.0 << 1.0 << 2048;
        QTest::newRow("a shown width of 1025 is one over the first halving")
            << "made" << 0.0 << 0.5005 << 2048;
        QTest::newRow("a half paints the first halving") << "made" << 0.0 << 0.5 << 1024;
        QTest::newRow("a third takes the larger of the two around it")
            << "made" << 0.0 << 0.3 << 1024;
        QTest::newRow("far out paints the smallest there is") << "made" << 0.0 << 0.01 << 256;
        QTest::newRow("halvings given while read ahead") << "given" << 0.0 << 0.5 << 1024;
        QTest::newRow("another picture's halvings") << "other" << 0.0 << 0.5 << 2048;
        QTest::newRow("the size shown is made") << "made" << 0.3 << 0.3 << 614;
        QTest::newRow("kept while shown at 100 %, for the way back") << "made" << 1.0 << 0.3 << 614;
        QTest::newRow("dropped by another zoom at once") << "made" << 0.31 << 0.3 << 1024;
    }
    void copyFor()
    {
        QFETCH(QString, halvings);
        QFETCH(double, then);
        QFETCH(double, scale);
        QFETCH(int, width);
        PrescaledImage prescaled;
        const QImage image = filled(Qt::darkCyan);
        if (halvings == QLatin1String("made")) {
            QCOMPARE(prescaled.copyFor(image, 0.25).cacheKey(), image.cacheKey()); // until made
            QVERIFY(halved(prescaled, image));
        } else {
            const QSize madeFor =
                halvings == QLatin1String("given") ? image.size() : QSize(2000, 2000);
            prescaled.setImage(image, QImage(),
                               PrescaledImage::halvings(filled(Qt::darkCyan, madeFor), QImage()));
        }
        if (then > 0) {
            QSignalSpy made(&prescaled, &PrescaledImage::copiesMade);
            prescaled.setScale(0.3);
            QVERIFY(made.wait(20000));
            prescaled.setScale(then);
        }
        const QImage copy = prescaled.copyFor(image, scale);
        QCOMPARE(copy.size(), QSize(width, width));
        QCOMPARE(copy.pixelColor(width / 2, width / 2), QColor(Qt::darkCyan));
    }

    void changedImage_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("another picture") << "replace";
        QTest::newRow("pixels changed in place") << "in place";
        QTest::newRow("the same pixels read again") << "reload";
    }
    void changedImage()
    {
        QFETCH(QString, change);
        PrescaledImage prescaled;
        QImage image = filled(Qt::red);
        QVERIFY(halved(prescaled, image));
        prescaled.setScale(0.3);
        // Written in place, the image is its only holder: nothing but its key tells the change.
        const QImage before = change == "in place" ? QImage() : image;
        const quint64 generation = prescaled.generation();
        if (change == "replace")
            image = filled(Qt::blue, QSize(1600, 1200));
        else if (change == "in place")
            image.fill(Qt::blue);
        else
            image = image.copy();
        // Asked before being told, it still paints the new pixels themselves.
        QCOMPARE(prescaled.copyFor(image, 0.5).cacheKey(), image.cacheKey());
        QSignalSpy made(&prescaled, &PrescaledImage::copiesMade);
        prescaled.setImage(image);
        QVERIFY(prescaled.generation() > generation);
        QCOMPARE(prescaled.halvingCount(), 0);
        QCOMPARE(prescaled.copyFor(image, 0.5).cacheKey(), image.cacheKey());
        if (!before.isNull())
            QCOMPARE(prescaled.copyFor(before, 0.5).cacheKey(), before.cacheKey());
        QVERIFY(made.wait(20000));
        const QImage copy = prescaled.copyFor(image, 0.5);
        QCOMPARE(copy.size(), image.size() / 2);
        QCOMPARE(copy.pixelColor(0, 0), image.pixelColor(0, 0));
        // The size shown is made again, for the new image.
        QTRY_COMPARE_WITH_TIMEOUT(prescaled.copyFor(image, 0.3).width(),
                                  qRound(image.width() * 0.3), 20000);
        QCOMPARE(prescaled.copyFor(image, 0.3).pixelColor(0, 0), image.pixelColor(0, 0));
    }

    void halvedOnceShownSmaller()
    {
        // At 100 % no paint reads a halving: none takes memory until the picture is shown
        // smaller and a paint hands the image in again.
        PrescaledImage prescaled;
        prescaled.setScale(1.0);
        const QImage image = filled(Qt::red);
        QSignalSpy made(&prescaled, &PrescaledImage::copiesMade);
        prescaled.setImage(image);
        QVERIFY(!made.wait(500));
        QCOMPARE(prescaled.halvingCount(), 0);
        prescaled.setScale(0.5);
        prescaled.setImage(image);
        QVERIFY(made.wait(20000));
        QCOMPARE(prescaled.copyFor(image, 0.5).size(), image.size() / 2);
    }

    void replacedWhileHalving()
    {
        PrescaledImage prescaled;
        QSignalSpy made(&prescaled, &PrescaledImage::copiesMade);
        // Large enough to be caught while its halvings are made.
        prescaled.setImage(filled(Qt::red, QSize(6000, 4000)));
        QTRY_VERIFY_WITH_TIMEOUT(prescaled.isMaking(), 20000);
        const QImage blue = filled(Qt::blue);
        prescaled.setImage(blue);
        QVERIFY(made.wait(20000));
        // The red halvings came back first, and were thrown away unannounced.
        QCOMPARE(made.count(), 1);
        QCOMPARE(prescaled.halvingCount(), 3);
        QCOMPARE(prescaled.copyFor(blue, 0.5).pixelColor(0, 0), QColor(Qt::blue));
    }

    void displayColours_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("given"); // the copy read with the file
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("width"); // of what is painted from
        QTest::newRow("small picture converted in the background")
            << QSize(64, 48) << false << 1.0 << 64;
        QTest::newRow("halvings made from the converted picture")
            << QSize(2048, 2048) << false << 0.5 << 1024;
        QTest::newRow("the copy read with the file, at once") << QSize(64, 48) << true << 2.0 << 64;
        QTest::newRow("halvings made from the copy read with the file")
            << QSize(2048, 2048) << true << 0.25 << 512;
    }
    void displayColours()
    {
        QFETCH(QSize, size);
        QFETCH(bool, given);
        QFETCH(double, scale);
        QFETCH(int, width);
        QImage image = filled(qRgb(60, 140, 200), size);
        image.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
        const QImage display = given ? imaging::displayColours(image) : QImage();
        PrescaledImage prescaled;
        QSignalSpy made(&prescaled, &PrescaledImage::copiesMade);
        prescaled.setImage(image, display);
        if (given)
            QCOMPARE(prescaled.copyFor(image, 1.0).cacheKey(), display.cacheKey());
        else
            QCOMPARE(prescaled.copyFor(image, 1.0).cacheKey(), image.cacheKey()); // until made
        if (!given || width != size.width())
            QVERIFY(made.wait(20000));
        const QImage copy = prescaled.copyFor(image, scale);
        QCOMPARE(copy.width(), width);
        // Adobe RGB's wider green takes the red out of this blue on an sRGB screen.
        QVERIFY2(qRed(copy.pixel(width / 2, 0)) < 20, qPrintable(copy.pixelColor(0, 0).name()));
    }

    void destroyedWhileHalving()
    {
        auto prescaled = std::make_unique<PrescaledImage>();
        prescaled->setImage(filled(Qt::red, QSize(6000, 4000)));
        QTRY_VERIFY_WITH_TIMEOUT(prescaled->isMaking(), 20000);
        prescaled.reset();
        // The worker finishes on its own, touching nothing of what is gone.
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
    }
};

LUMO_TEST_MAIN(TestPrescaledImage)
#include "tst_prescaledimage.moc"
