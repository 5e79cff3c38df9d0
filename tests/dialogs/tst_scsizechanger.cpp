#include "support/lumotest.h"

#include "dialogs/scsizechanger.h"
#include "dialogs/sizeunits.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

// The width-and-height entry: keep-ratio, the ratio text, ranges and the unit arithmetic.
class TestSCSizeChanger : public QObject
{
    Q_OBJECT

private slots:
    void editing_data();
    void editing();
    void pixelsFromValue_data();
    void pixelsFromValue();
    void unitRange_data();
    void unitRange();
};

namespace {

struct Controls
{
    explicit Controls(SCSizeChanger& changer)
        : width(changer.findChild<QSpinBox*>(QStringLiteral("widthSpinBox")))
        , height(changer.findChild<QSpinBox*>(QStringLiteral("heightSpinBox")))
        , keep(changer.findChild<QCheckBox*>(QStringLiteral("keepRatioBox")))
        , ratio(changer.findChild<QLabel*>(QStringLiteral("ratioLabel")))
    {
    }
    QSpinBox* width;
    QSpinBox* height;
    QCheckBox* keep;
    QLabel* ratio;
};

// One edit step: "w<n>" or "h<n>" sets a spin box, "keep" and "free" switch keep-ratio.
void apply(const Controls& controls, const QString& step)
{
    if (step == QLatin1String("keep"))
        controls.keep->setChecked(true);
    else if (step == QLatin1String("free"))
        controls.keep->setChecked(false);
    else if (step.startsWith(QLatin1Char('w')))
        controls.width->setValue(step.mid(1).toInt());
    else
        controls.height->setValue(step.mid(1).toInt());
}

} // namespace

void TestSCSizeChanger::editing_data()
{
    QTest::addColumn<QSize>("base");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QSize>("result");
    QTest::addColumn<QString>("ratio");

    QTest::newRow("fresh label divides width by height")
        << QSize(400, 300) << QStringList() << QSize(400, 300) << "Current ratio: 1.33333";
    QTest::newRow("after a change the label divides height by width")
        << QSize(400, 300) << QStringList{"w500"} << QSize(500, 300) << "Current ratio: 0.6";
    QTest::newRow("keep ratio, width 200 gives height 150")
        << QSize(400, 300) << QStringList{"keep", "w200"} << QSize(200, 150)
        << "Current ratio: 0.75";
    QTest::newRow("typed width stays when the height rounds half up")
        << QSize(400, 300) << QStringList{"keep", "w2"} << QSize(2, 2) << "Current ratio: 1";
    QTest::newRow("keep ratio, height drives width")
        << QSize(400, 300) << QStringList{"keep", "h600"} << QSize(800, 600)
        << "Current ratio: 0.75";
    QTest::newRow("switching keep on follows the height edited last")
        << QSize(400, 300) << QStringList{"w100", "h150", "keep"} << QSize(200, 150)
        << "Current ratio: 0.75";
    QTest::newRow("switching keep on follows the width edited last")
        << QSize(400, 300) << QStringList{"h100", "w200", "keep"} << QSize(200, 150)
        << "Current ratio: 0.75";
    QTest::newRow("switching keep off changes nothing")
        << QSize(400, 300) << QStringList{"keep", "w200", "free", "w300"} << QSize(300, 150)
        << "Current ratio: 0.5";
    QTest::newRow("clamped height pulls the width back into ratio")
        << QSize(100, 1000) << QStringList{"keep", "h8200", "w8200"} << QSize(820, 8200)
        << "Current ratio: 10";
    QTest::newRow("zero height is raised to the smallest")
        << QSize(400, 300) << QStringList{"h0"} << QSize(400, 1) << "Current ratio: 0.0025";
}

void TestSCSizeChanger::editing()
{
    QFETCH(QSize, base);
    QFETCH(QStringList, steps);
    QFETCH(QSize, result);
    QFETCH(QString, ratio);

    SCSizeChanger changer(base.width(), base.height());
    const Controls controls(changer);
    QVERIFY(controls.width && controls.height && controls.keep && controls.ratio);
    QSignalSpy changed(&changer, &SCSizeChanger::sizeChanged);

    for (const QString& step : steps)
        apply(controls, step);

    QCOMPARE(QSize(changer.newWidth(), changer.newHeight()), result);
    QCOMPARE(QSize(controls.width->value(), controls.height->value()), result);
    QCOMPARE(controls.ratio->text(), ratio);
    QCOMPARE(changed.isEmpty(), steps.isEmpty());
}

void TestSCSizeChanger::pixelsFromValue_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("unitRow");
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("pixels");

    QTest::newRow("1000 thousandths are the base") << 1000 << 1 << 400 << 400;
    QTest::newRow("half of 301 rounds up") << 500 << 1 << 301 << 151;
    QTest::newRow("never below one pixel") << 1 << 1 << 300 << 1;
}

void TestSCSizeChanger::pixelsFromValue()
{
    QFETCH(int, value);
    QFETCH(int, unitRow);
    QFETCH(int, base);
    QFETCH(int, pixels);
    QCOMPARE(sizeunits::pixelsFromValue(value, unitRow, base), pixels);
}

void TestSCSizeChanger::unitRange_data()
{
    QTest::addColumn<int>("unitRow");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");

    QTest::newRow("pixels") << 0 << 123 << 400 << 1 << 8200 << 123;
    QTest::newRow("thousandths of 400") << 1 << 200 << 400 << 3 << 20500 << 500;
    QTest::newRow("large base keeps a step of one") << 1 << 3000 << 3000 << 1 << 2733 << 1000;
}

void TestSCSizeChanger::unitRange()
{
    QFETCH(int, unitRow);
    QFETCH(int, pixels);
    QFETCH(int, base);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);

    const sizeunits::UnitRange range = sizeunits::unitRange(unitRow, pixels, base);
    QCOMPARE(range.minimum, minimum);
    QCOMPARE(range.maximum, maximum);
    QCOMPARE(range.value, value);
}

LUMO_TEST_MAIN(TestSCSizeChanger)
#include "tst_scsizechanger.moc"
