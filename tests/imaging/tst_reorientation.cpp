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

    void cropped_data() { lumotest::addRows(QStringLiteral("cropped.txt")); }

    void cropped()
    {
        QFETCH(QVector<int>, rect);
        QFETCH(QVector<int>, kept);
        const QImage source = lumotest::rampImage(QSize(20, 10));
        const QRect area(rect.value(0), rect.value(1), rect.value(2), rect.value(3));
        const QImage result = imaging::cropped(source, area);
        if (kept.isEmpty()) {
            QVERIFY(result.isNull());
            return;
        }
        QCOMPARE(result, source.copy(kept.value(0), kept.value(1), kept.value(2), kept.value(3)));
    }
};

LUMO_TEST_MAIN(TestReorientation)
#include "tst_reorientation.moc"
