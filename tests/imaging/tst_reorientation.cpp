#include "support/lumotest.h"

#include "imaging/reorientation.h"

Q_DECLARE_METATYPE(QImage::Format)
Q_DECLARE_METATYPE(imaging::Reorientation)

namespace {

using imaging::Reorientation;

// Where the pixel at (x, y) of a w x h source lands.
QPoint target(Reorientation how, int x, int y, int w, int h)
{
    switch (how) {
    case Reorientation::RotateLeft:
        return {y, w - 1 - x};
    case Reorientation::RotateRight:
        return {h - 1 - y, x};
    case Reorientation::FlipHorizontally:
        return {w - 1 - x, y};
    default:
        return {x, h - 1 - y};
    }
}

} // namespace

// Quarter turns, mirrorings and cropping move pixels without changing any.
class TestReorientation : public QObject
{
    Q_OBJECT

private slots:
    void reoriented_data()
    {
        QTest::addColumn<QImage::Format>("format");
        QTest::addColumn<Reorientation>("how");
        const std::pair<const char*, QImage::Format> formats[] = {
            {"RGB32", QImage::Format_RGB32},     {"ARGB32", QImage::Format_ARGB32},
            {"RGB888", QImage::Format_RGB888},   {"indexed", QImage::Format_Indexed8},
            {"grey", QImage::Format_Grayscale8}, {"mono", QImage::Format_Mono},
        };
        const std::pair<const char*, Reorientation> hows[] = {
            {"left", Reorientation::RotateLeft},
            {"right", Reorientation::RotateRight},
            {"mirrored", Reorientation::FlipHorizontally},
            {"upside down", Reorientation::FlipVertically},
        };
        for (const auto& format : formats)
            for (const auto& how : hows)
                QTest::addRow("%s %s", format.first, how.first) << format.second << how.second;
    }

    // An odd, non-square picture, so that a swapped or shifted axis shows.
    void reoriented()
    {
        QFETCH(QImage::Format, format);
        QFETCH(Reorientation, how);
        const QImage source = lumotest::rampImage(QSize(13, 7)).convertToFormat(format);
        const QImage result = imaging::reoriented(source, how);
        QCOMPARE(result.format(), source.format());
        QCOMPARE(result.colorTable(), source.colorTable());
        const bool turned = how == Reorientation::RotateLeft || how == Reorientation::RotateRight;
        QCOMPARE(result.size(), turned ? source.size().transposed() : source.size());
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                QCOMPARE(result.pixel(target(how, x, y, source.width(), source.height())),
                         source.pixel(x, y));
    }

    void cropped_data()
    {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QRect>("kept"); // of the 20 x 10 source; empty for none
        QTest::newRow("inside") << QRect(3, 2, 5, 4) << QRect(3, 2, 5, 4);
        QTest::newRow("over the right edge") << QRect(15, 1, 10, 3) << QRect(15, 1, 5, 3);
        QTest::newRow("drawn backwards") << QRect(QPoint(8, 6), QPoint(2, 1)) << QRect(2, 1, 7, 6);
        QTest::newRow("whole picture") << QRect(0, 0, 20, 10) << QRect(0, 0, 20, 10);
        QTest::newRow("outside") << QRect(30, 30, 4, 4) << QRect();
        QTest::newRow("empty") << QRect(4, 4, 0, 3) << QRect();
    }

    void cropped()
    {
        QFETCH(QRect, rect);
        QFETCH(QRect, kept);
        const QImage source = lumotest::rampImage(QSize(20, 10));
        const QImage result = imaging::cropped(source, rect);
        if (kept.isEmpty()) {
            QVERIFY(result.isNull());
            return;
        }
        QCOMPARE(result, source.copy(kept));
    }
};

LUMO_TEST_MAIN(TestReorientation)
#include "tst_reorientation.moc"
