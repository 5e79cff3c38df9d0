#include "support/lumotest.h"

#include "browser/thumbnailsbar.h"
#include "platform/lumoscrollbar.h"

#include <QFileSystemModel>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QThreadPool>
#include <QToolTip>
#include <QTouchDevice>

// The one-row strip: its geometry, centring, what it reports and how touch reaches it.
class TestThumbnailsBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void geometry_data();
    void geometry();
    void centering_data();
    void centering();
    void followsHeightAndTabletMode_data();
    void followsHeightAndTabletMode();
    void reportsCurrent_data();
    void reportsCurrent();
    void touch_data();
    void touch();
    void toolTip_data();
    void toolTip();

private:
    void fill(int rows);
    QModelIndex row(int r) const { return m_model->index(r, 0); }

    QTemporaryDir m_dir;
    QString m_picture;
    std::unique_ptr<QStandardItemModel> m_model;
    std::unique_ptr<ThumbnailsBar> m_bar;
};

void TestThumbnailsBar::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_picture = m_dir.filePath(QStringLiteral("picture.png"));
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QVERIFY(image.save(m_picture));
}

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
    QThreadPool::globalInstance()->waitForDone();
}

void TestThumbnailsBar::fill(int rows)
{
    for (int r = 0; r < rows; ++r) {
        auto* item = new QStandardItem(QStringLiteral("item%1").arg(r));
        item->setData(m_picture, QFileSystemModel::FilePathRole);
        m_model->appendRow(item);
    }
    m_bar->setModel(m_model.get());
    m_bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_bar.get()));
}

void TestThumbnailsBar::geometry_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("scrollBar");
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("side");
    QTest::addColumn<QSize>("grid");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::newRow("120 high, scroll bar 10, frame 1") << 120 << 10 << 1 << 107 << QSize(111, 107) << 61 << 141;
    QTest::newRow("no frame, thick scroll bar") << 100 << 20 << 0 << 80 << QSize(84, 80) << 68 << 148;
    QTest::newRow("lower than its scroll bar keeps a pixel") << 10 << 12 << 1 << 1 << QSize(5, 1) << 63 << 143;
}

void TestThumbnailsBar::geometry()
{
    QFETCH(int, height);
    QFETCH(int, scrollBar);
    QFETCH(int, frame);
    QFETCH(int, side);
    QFETCH(QSize, grid);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QCOMPARE(ThumbnailsBar::iconSide(height, scrollBar, frame), side);
    QCOMPARE(ThumbnailsBar::gridSizeForIcon(side), grid);
    QCOMPARE(ThumbnailsBar::minimumBarHeight(scrollBar, frame), minimum);
    QCOMPARE(ThumbnailsBar::maximumBarHeight(scrollBar, frame), maximum);
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
    QTest::newRow("item wider than the viewport: division truncates")
        << 0 << QRect(100, 0, 111, 107) << 100 << 105;
}

void TestThumbnailsBar::centering()
{
    QFETCH(int, value);
    QFETCH(QRect, item);
    QFETCH(int, viewport);
    QFETCH(int, target);
    QCOMPARE(ThumbnailsBar::centeringScrollValue(value, item, viewport), target);
}

void TestThumbnailsBar::followsHeightAndTabletMode_data()
{
    QTest::addColumn<bool>("tablet");
    QTest::newRow("desktop") << false;
    QTest::newRow("tablet") << true;
}

void TestThumbnailsBar::followsHeightAndTabletMode()
{
    QFETCH(bool, tablet);
    fill(3);
    // Back and forth, so that the icons must follow the scroll bar without a resize.
    m_bar->setTabletMode(!tablet);
    m_bar->setTabletMode(tablet);
    auto* scrollBar = qobject_cast<LumoScrollBar*>(m_bar->horizontalScrollBar());
    QVERIFY(scrollBar);
    QCOMPARE(scrollBar->indicatorMode(), tablet);
    const int scrollHeight = scrollBar->sizeHint().height();
    const int frame = m_bar->frameWidth();
    QCOMPARE(m_bar->minimumHeight(), ThumbnailsBar::minimumBarHeight(scrollHeight, frame));
    QCOMPARE(m_bar->maximumHeight(), ThumbnailsBar::maximumBarHeight(scrollHeight, frame));

    const int side = ThumbnailsBar::iconSide(m_bar->height(), scrollHeight, frame);
    QCOMPARE(m_bar->iconSize(), QSize(side, side));
    QCOMPARE(m_bar->gridSize(), ThumbnailsBar::gridSizeForIcon(side));
    QCOMPARE(m_bar->sizeHint().height(), 50);
}

void TestThumbnailsBar::reportsCurrent_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("reported"); // row reported, -1 for nothing
    QTest::newRow("picked item is reported and centred") << "pick" << 30;
    QTest::newRow("current last of ten removed reports row 8") << "remove last" << 8;
    QTest::newRow("every row removed reports nothing") << "remove all" << -1;
    QTest::newRow("invalid current reports nothing") << "invalid" << -1;
}

void TestThumbnailsBar::reportsCurrent()
{
    QFETCH(QString, action);
    QFETCH(int, reported);
    fill(action == QLatin1String("pick") ? 40 : 10);
    if (action != QLatin1String("pick"))
        m_bar->setCurrentIndex(row(9));
    QTRY_COMPARE(m_bar->findChild<QTimeLine*>()->state(), QTimeLine::NotRunning);
    const int before = m_bar->horizontalScrollBar()->value();
    QSignalSpy reports(m_bar.get(), &ThumbnailsBar::currentIndexChanged);

    int expectedValue = before;
    if (action == QLatin1String("pick")) {
        expectedValue = ThumbnailsBar::centeringScrollValue(before, m_bar->visualRect(row(30)),
                                                           m_bar->viewport()->width());
        QVERIFY(expectedValue > before);
        m_bar->setCurrentIndex(row(30));
    } else if (action == QLatin1String("remove last")) {
        m_model->removeRow(9);
    } else if (action == QLatin1String("remove all")) {
        m_model->removeRows(0, 10);
    } else {
        m_bar->setCurrentIndex(QModelIndex());
        m_bar->setModel(nullptr);
        m_bar->setCurrentIndex(QModelIndex());
        reports.clear();
    }

    if (reported < 0) {
        QVERIFY(reports.isEmpty());
        QCOMPARE(m_bar->horizontalScrollBar()->value(), before);
        return;
    }
    QCOMPARE(reports.size(), 1);
    const QModelIndex index = reports.first().first().value<QModelIndex>();
    QCOMPARE(index.row(), reported);
    QCOMPARE(index.data().toString(), QStringLiteral("item%1").arg(reported));
    if (action == QLatin1String("pick"))
        QTRY_COMPARE(m_bar->horizontalScrollBar()->value(),
                     qMin(expectedValue, m_bar->horizontalScrollBar()->maximum()));
}

void TestThumbnailsBar::touch_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("selects");
    QTest::newRow("tap selects like a click") << "tap" << true;
    QTest::newRow("synthesized left press is swallowed") << "synthesized left" << false;
    QTest::newRow("synthesized right press passes") << "synthesized right" << true;
    QTest::newRow("real left press passes") << "mouse left" << true;
}

void TestThumbnailsBar::touch()
{
    QFETCH(QString, input);
    QFETCH(bool, selects);
    fill(5);
    QWidget* viewport = m_bar->viewport();
    const QPoint pos = m_bar->visualRect(row(2)).center();
    QVERIFY(!m_bar->selectionModel()->isSelected(row(2)));

    if (input == QLatin1String("tap")) {
        static QTouchDevice* device = QTest::createTouchDevice();
        QTest::touchEvent(viewport, device).press(0, pos, viewport);
        QTest::touchEvent(viewport, device).release(0, pos, viewport);
        QTRY_COMPARE(m_bar->currentIndex(), row(2));
    } else {
        const Qt::MouseButton button =
            input.endsWith(QLatin1String("right")) ? Qt::RightButton : Qt::LeftButton;
        const Qt::MouseEventSource source = input.startsWith(QLatin1String("synthesized"))
            ? Qt::MouseEventSynthesizedBySystem
            : Qt::MouseEventNotSynthesized;
        QMouseEvent press(QEvent::MouseButtonPress, pos, viewport->mapToGlobal(pos),
                          viewport->mapToGlobal(pos), button, button, Qt::NoModifier, source);
        QApplication::sendEvent(viewport, &press);
    }
    QCOMPARE(m_bar->selectionModel()->isSelected(row(2)), selects);
}

void TestThumbnailsBar::toolTip_data()
{
    QTest::addColumn<bool>("overItem");
    QTest::newRow("over an item shows its name") << true;
    QTest::newRow("over empty space hides") << false;
}

void TestThumbnailsBar::toolTip()
{
    QFETCH(bool, overItem);
    fill(2);
    const QPoint pos = overItem ? m_bar->visualRect(row(1)).center()
                                : QPoint(m_bar->viewport()->width() - 2, 2);
    QHelpEvent help(QEvent::ToolTip, pos, m_bar->viewport()->mapToGlobal(pos));
    QVERIFY(QApplication::sendEvent(m_bar->viewport(), &help));
    QTRY_COMPARE(QToolTip::isVisible(), overItem);
    if (overItem)
        QCOMPARE(QToolTip::text(), QStringLiteral("item1"));
}

LUMO_TEST_MAIN(TestThumbnailsBar)
#include "tst_thumbnailsbar.moc"
