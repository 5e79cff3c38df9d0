#include "support/lumotest.h"

#include "browser/thumbnailsbar.h"
#include "platform/lumoscrollbar.h"

#include <QFileSystemModel>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTimeLine>
#include <QTouchDevice>

// The one-row strip: its geometry, centring, what it reports and how touch reaches it.
class TestThumbnailsBar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void geometry_data();
    void geometry();
    void centering_data();
    void centering();
    void followsTabletMode_data();
    void followsTabletMode();
    void reportsCurrent_data();
    void reportsCurrent();
    void touch_data();
    void touch();

private:
    void fill(int rows);
    QModelIndex row(int r) const { return m_model->index(r, 0); }

    std::unique_ptr<QStandardItemModel> m_model;
    std::unique_ptr<ThumbnailsBar> m_bar;
};

void TestThumbnailsBar::init()
{
    m_model = std::make_unique<QStandardItemModel>();
    m_bar = std::make_unique<ThumbnailsBar>();
    m_bar->resize(400, 120);
}

void TestThumbnailsBar::cleanup()
{
    m_bar.reset();
    m_model.reset();
}

// Items without files: the bar's behaviour does not depend on the pictures.
void TestThumbnailsBar::fill(int rows)
{
    for (int r = 0; r < rows; ++r)
        m_model->appendRow(new QStandardItem(QStringLiteral("item%1").arg(r)));
    m_bar->setModel(m_model.get());
    m_bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_bar.get()));
}

void TestThumbnailsBar::geometry_data()
{
    QTest::addColumn<QList<int>>("given"); // height, scroll bar height, frame width
    QTest::addColumn<QList<int>>("expected"); // icon side, grid width, minimum, maximum
    QTest::newRow("120 high, scroll bar 10, frame 1") << QList<int>{120, 10, 1} << QList<int>{107, 111, 61, 141};
    QTest::newRow("no frame, thick scroll bar") << QList<int>{100, 20, 0} << QList<int>{80, 84, 68, 148};
    QTest::newRow("lower than its scroll bar keeps a pixel") << QList<int>{10, 12, 1} << QList<int>{1, 5, 63, 143};
}

void TestThumbnailsBar::geometry()
{
    QFETCH(QList<int>, given);
    QFETCH(QList<int>, expected);
    const int side = ThumbnailsBar::iconSide(given[0], given[1], given[2]);
    QCOMPARE(side, expected[0]);
    QCOMPARE(ThumbnailsBar::gridSizeForIcon(side), QSize(expected[1], side));
    QCOMPARE(ThumbnailsBar::minimumBarHeight(given[1], given[2]), expected[2]);
    QCOMPARE(ThumbnailsBar::maximumBarHeight(given[1], given[2]), expected[3]);
}

void TestThumbnailsBar::centering_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QRect>("item");
    QTest::addColumn<int>("viewport");
    QTest::addColumn<int>("target");
    QTest::newRow("item right of the middle") << 500 << QRect(1000, 0, 111, 107) << 800 << 1156;
    QTest::newRow("item already in the middle") << 0 << QRect(344, 0, 111, 107) << 800 << 0;
    QTest::newRow("item left of the middle") << 300 << QRect(0, 0, 111, 107) << 800 << -44;
    QTest::newRow("item wider than the viewport: truncated") << 0 << QRect(100, 0, 111, 107) << 100 << 105;
}

void TestThumbnailsBar::centering()
{
    QFETCH(int, value);
    QFETCH(QRect, item);
    QFETCH(int, viewport);
    QFETCH(int, target);
    QCOMPARE(ThumbnailsBar::centeringScrollValue(value, item, viewport), target);
}

void TestThumbnailsBar::followsTabletMode_data()
{
    QTest::addColumn<bool>("tablet");
    QTest::newRow("desktop") << false;
    QTest::newRow("tablet") << true;
}

void TestThumbnailsBar::followsTabletMode()
{
    QFETCH(bool, tablet);
    fill(3);
    m_bar->setTabletMode(!tablet); // back and forth: the icons follow without a resize
    m_bar->setTabletMode(tablet);
    auto* scrollBar = qobject_cast<LumoScrollBar*>(m_bar->horizontalScrollBar());
    QVERIFY(scrollBar && scrollBar->indicatorMode() == tablet);
    const int thickness = scrollBar->sizeHint().height();
    const int frame = m_bar->frameWidth();
    QCOMPARE(m_bar->minimumHeight(), ThumbnailsBar::minimumBarHeight(thickness, frame));
    QCOMPARE(m_bar->maximumHeight(), ThumbnailsBar::maximumBarHeight(thickness, frame));
    const int side = ThumbnailsBar::iconSide(m_bar->height(), thickness, frame);
    QCOMPARE(m_bar->iconSize(), QSize(side, side));
    QCOMPARE(m_bar->gridSize(), ThumbnailsBar::gridSizeForIcon(side));
}

void TestThumbnailsBar::reportsCurrent_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("reported"); // -1 for nothing
    QTest::newRow("picked item is reported and centred") << "pick" << 30;
    QTest::newRow("current last of ten removed reports row 8") << "remove last" << 8;
    QTest::newRow("every row removed reports nothing") << "remove all" << -1;
    QTest::newRow("empty model, invalid current: nothing") << "invalid" << -1;
}

void TestThumbnailsBar::reportsCurrent()
{
    QFETCH(QString, action);
    QFETCH(int, reported);
    fill(action == "pick" ? 40 : 10);
    if (action != "pick")
        m_bar->setCurrentIndex(row(9));
    QTRY_COMPARE(m_bar->findChild<QTimeLine*>()->state(), QTimeLine::NotRunning);
    QScrollBar* scrollBar = m_bar->horizontalScrollBar();
    const int before = scrollBar->value();
    const int centred = ThumbnailsBar::centeringScrollValue(before, m_bar->visualRect(row(30)),
                                                            m_bar->viewport()->width());
    QSignalSpy reports(m_bar.get(), &ThumbnailsBar::currentIndexChanged);
    if (action == "pick") {
        m_bar->setCurrentIndex(row(30));
    } else if (action == "remove last") {
        m_model->removeRow(9);
    } else if (action == "remove all") {
        m_model->removeRows(0, 10);
    } else {
        m_bar->setModel(nullptr);
        reports.clear();
        m_bar->setCurrentIndex(QModelIndex());
    }
    QCOMPARE(reports.size(), reported < 0 ? 0 : 1);
    if (reported < 0) {
        QCOMPARE(scrollBar->value(), before);
        return;
    }
    const QModelIndex index = reports.first().first().value<QModelIndex>();
    QCOMPARE(index.data().toString(), QStringLiteral("item%1").arg(reported));
    if (action == "pick")
        QTRY_COMPARE(scrollBar->value(), qMin(centred, scrollBar->maximum()));
}

void TestThumbnailsBar::touch_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("selects");
    QTest::newRow("tap selects like a click") << "tap" << true;
    QTest::newRow("synthesized left press is swallowed") << "synthesized left" << false;
    QTest::newRow("synthesized right press passes") << "synthesized right" << true;
    QTest::newRow("mouse left press passes") << "mouse left" << true;
}

void TestThumbnailsBar::touch()
{
    QFETCH(QString, input);
    QFETCH(bool, selects);
    fill(5);
    QWidget* viewport = m_bar->viewport();
    const QPoint pos = m_bar->visualRect(row(2)).center();
    if (input == "tap") {
        static QTouchDevice* device = QTest::createTouchDevice();
        QTest::touchEvent(viewport, device).press(0, pos, viewport);
        QTest::touchEvent(viewport, device).release(0, pos, viewport);
        QTRY_COMPARE(m_bar->currentIndex(), row(2));
    } else {
        const Qt::MouseButton button = input.endsWith("right") ? Qt::RightButton : Qt::LeftButton;
        QMouseEvent press(QEvent::MouseButtonPress, pos, viewport->mapToGlobal(pos),
                          viewport->mapToGlobal(pos), button, button, Qt::NoModifier,
                          input.startsWith("synthesized") ? Qt::MouseEventSynthesizedBySystem
                                                          : Qt::MouseEventNotSynthesized);
        QApplication::sendEvent(viewport, &press);
    }
    QCOMPARE(m_bar->selectionModel()->isSelected(row(2)), selects);
}

LUMO_TEST_MAIN(TestThumbnailsBar)
#include "tst_thumbnailsbar.moc"
