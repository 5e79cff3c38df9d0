#include "support/lumotest.h"

#include "app/settings.h"
#include "view/spicview.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QFile>
#include <QImage>

namespace {

// Indices in the group: three steps in, three out, the separator, true size, fit.
enum { In5, In20, In50, Out5, Out20, Out50, Separator, TrueSize, Fit };

} // namespace

// A 100 by 80 picture in a 400 by 300 view, driven by the zoom actions; the stored zoom mode
// starts as manual (5), so any mode an action keeps shows.
class TestZoomActions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void steps_data();
    void steps();
    void enabledState_data();
    void enabledState();

private:
    std::unique_ptr<ZoomActions> m_actions;
    std::unique_ptr<SPicView> m_view;
};

void TestZoomActions::init()
{
    Settings::instance()->general()->setZoomModeInt(5);
    m_actions = std::make_unique<ZoomActions>();
    m_view = std::make_unique<SPicView>(5);
    m_view->resize(400, 300);
    m_view->setImage(QImage(100, 80, QImage::Format_RGB32));
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    m_actions->setPicView(m_view.get());
    m_actions->updateActions();
}

void TestZoomActions::cleanup()
{
    m_actions.reset();
    m_view.reset();
}

void TestZoomActions::steps_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("percent"); // -1: whatever fills the view
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("stored");
    QTest::newRow("5 % in, nine times gives 155 %") << 4 << int(In5) << 9 << 155 << 5 << 5;
    QTest::newRow("50 % in stops at 1600 %") << 4 << int(In50) << 12 << 1600 << 5 << 5;
    QTest::newRow("20 % out") << 4 << int(Out20) << 1 << 83 << 5 << 5;
    QTest::newRow("50 % out stops at 5 %") << 4 << int(Out50) << 12 << 5 << 5 << 5;
    QTest::newRow("true size from fit is kept") << 0 << int(TrueSize) << 1 << 100 << 4 << 4;
    QTest::newRow("fit from true size is kept") << 4 << int(Fit) << 1 << -1 << 0 << 0;
}

void TestZoomActions::steps()
{
    QFETCH(int, from);
    QFETCH(int, index);
    QFETCH(int, presses);
    QFETCH(int, percent);
    QFETCH(int, mode);
    QFETCH(int, stored);
    // Fit fills the viewport less the view's margin of 20.
    const QSize area = m_view->viewport()->size() - QSize(20, 20);
    if (percent < 0)
        percent = qRound(100 * std::min(area.width() / 100.0, area.height() / 80.0));
    m_view->setCurrentZoomMode(from);
    m_view->zoom();
    QSignalSpy texts(m_view.get(), &SPicView::zoomChanged);
    for (int i = 0; i < presses; ++i)
        m_actions->actions().at(index)->trigger();
    QCOMPARE(texts.count(), presses);
    QCOMPARE(texts.last().first().toString(), QStringLiteral("Zoom: %1 %").arg(percent));
    QCOMPARE(m_view->currentZoomMode(), mode);
    QCOMPARE(Settings::instance()->general()->zoomModeInt(), stored);
}

void TestZoomActions::enabledState_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("slideshow");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("no view") << "none" << "" << false;
    QTest::newRow("readable picture") << "readable" << "" << true;
    QTest::newRow("during a slideshow") << "readable" << "started" << false;
    QTest::newRow("after a slideshow") << "readable" << "stopped" << true;
    QTest::newRow("unreadable picture after a slideshow") << "broken" << "stopped" << false;
}

void TestZoomActions::enabledState()
{
    QFETCH(QString, picture);
    QFETCH(QString, slideshow);
    QFETCH(bool, enabled);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("broken.png")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
    file.close();
    if (picture == QLatin1String("broken"))
        QVERIFY(!m_view->openList({file.fileName()}));
    m_actions->setPicView(picture == QLatin1String("none") ? nullptr : m_view.get());
    m_actions->updateActions();
    if (!slideshow.isEmpty())
        m_view->startSlideshow();
    if (slideshow == QLatin1String("stopped"))
        m_view->stopSlideshow();
    for (QAction* action : m_actions->actions())
        QCOMPARE(action->isEnabled(), enabled);
}

LUMO_TEST_MAIN(TestZoomActions)
#include "tst_zoomactions.moc"
