#include "support/lumotest.h"

#include "browser/thumbnailsbar.h"
#include "view/fullscreenpanel.h"
#include "view/goactions.h"
#include "view/spicview.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QMouseEvent>

// The sliding panel: when the pointer brings it in and sends it away, and how it keeps itself
// apart from the picture views it serves.
class TestFullscreenPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void slide_data();
    void slide();
    void realSlide_data();
    void realSlide();
    void survivesItsView_data();
    void survivesItsView();

private:
    static void movePointer(QWidget* widget, int y);
    QTemporaryDir m_dir;
    QStringList m_files;
};

void TestFullscreenPanel::initTestCase()
{
    for (const char* name : {"a.png", "b.png", "c.png"}) {
        QImage image(24, 16, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        m_files << m_dir.filePath(QString::fromLatin1(name));
        QVERIFY(image.save(m_files.last()));
    }
}

void TestFullscreenPanel::movePointer(QWidget* widget, int y)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(50, y), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void TestFullscreenPanel::slide_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("place");

    QTest::newRow("last row of the strip slides in") << QStringList{"edge"} << "sliding in"
                                                     << "hidden";
    QTest::newRow("first row below the strip stays out") << QStringList{"below"} << "out"
                                                         << "hidden";
    QTest::newRow("slid in") << QStringList{"top", "finish"} << "in" << "shown";
    QTest::newRow("moving within the strip keeps the slide going")
        << QStringList{"top", "half", "edge"} << "sliding in" << "between";
    QTest::newRow("leaving the strip slides out")
        << QStringList{"top", "finish", "below"} << "sliding out" << "shown";
    QTest::newRow("slid out") << QStringList{"top", "finish", "below", "finish"} << "out"
                              << "hidden";
    QTest::newRow("back up while sliding out restarts from hidden")
        << QStringList{"top", "finish", "below", "half", "top"} << "sliding in" << "hidden";
    QTest::newRow("toggle from hidden slides in") << QStringList{"toggle"} << "sliding in"
                                                  << "hidden";
    QTest::newRow("toggle when in slides out")
        << QStringList{"top", "finish", "toggle"} << "sliding out" << "shown";
    QTest::newRow("toggle while sliding out brings it back from hidden")
        << QStringList{"top", "finish", "below", "half", "toggle"} << "sliding in" << "hidden";
}

void TestFullscreenPanel::slide()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, state);
    QFETCH(QString, place);

    QWidget parent;
    parent.resize(400, 300);
    auto* panel = new GenericFullscreenPanel(&parent);
    auto* content = new QWidget;
    content->setFixedHeight(40);
    panel->setWidget(content);
    parent.show();
    const int h = panel->height();
    QCOMPARE(panel->width(), 400);
    QTimeLine* timeLine = panel->timeLine();
    QCOMPARE(timeLine->duration(), 500);

    for (const QString& step : steps) {
        if (step == "top")
            movePointer(&parent, 0);
        else if (step == "edge")
            movePointer(&parent, h - 1);
        else if (step == "below")
            movePointer(&parent, h);
        else if (step == "half")
            timeLine->setCurrentTime(250);
        else if (step == "finish")
            timeLine->setCurrentTime(timeLine->direction() == QTimeLine::Forward ? 500 : 0);
        else if (step == "toggle")
            panel->toggleVisibility();
    }

    const bool running = timeLine->state() == QTimeLine::Running;
    const bool forward = timeLine->direction() == QTimeLine::Forward;
    QCOMPARE(running ? (forward ? "sliding in" : "sliding out")
             : panel->isPanelShown()  ? "in"
             : panel->isPanelHidden() ? "out"
                                      : "stopped between",
             state);
    const int y = panel->y();
    QCOMPARE(y == -h ? "hidden" : y == 0 ? "shown" : y > -h && y < 0 ? "between" : "elsewhere",
             place);
}

void TestFullscreenPanel::realSlide_data()
{
    QTest::addColumn<bool>("tablet");
    QTest::addColumn<bool>("trackingWhileSliding");
    QTest::newRow("desktop keeps following the pointer") << false << true;
    QTest::newRow("tablet lets the panel finish first") << true << false;
}

void TestFullscreenPanel::realSlide()
{
    QFETCH(bool, tablet);
    QFETCH(bool, trackingWhileSliding);
    QWidget parent;
    parent.resize(300, 200);
    auto* panel = new GenericFullscreenPanel(&parent);
    panel->setWidget(new QWidget);
    panel->setTabletMode(tablet);
    parent.show();
    QVERIFY(parent.hasMouseTracking());
    QSignalSpy finished(panel->timeLine(), &QTimeLine::finished);
    movePointer(&parent, 0);
    QCOMPARE(parent.hasMouseTracking(), trackingWhileSliding);
    QVERIFY(finished.wait(3000));
    QCOMPARE(panel->pos(), QPoint(0, 0));
    QVERIFY(parent.hasMouseTracking());
}

void TestFullscreenPanel::survivesItsView_data()
{
    QTest::addColumn<bool>("owned");
    QTest::addColumn<bool>("closed");
    QTest::newRow("owned by a widget, view deleted") << true << false;
    QTest::newRow("owned by a widget, view closed") << true << true;
    QTest::newRow("held without parent, view deleted") << false << false;
    QTest::newRow("held without parent, view closed") << false << true;
}

void TestFullscreenPanel::survivesItsView()
{
    QFETCH(bool, owned);
    QFETCH(bool, closed);
    QWidget owner;
    QAction exit(QStringLiteral("Exit"), nullptr);
    GoActions go;
    ZoomActions zoom;
    std::unique_ptr<FullscreenPanel> held;
    QPointer<FullscreenPanel> panel;
    if (owned) {
        panel = new FullscreenPanel(&exit, &go, &zoom, &owner);
    } else {
        held = std::make_unique<FullscreenPanel>(&exit, &go, &zoom);
        panel = held.get();
    }

    QPointer<SPicView> first = new SPicView(5);
    QVERIFY(first->openList(m_files));
    panel->setPicView(first);
    QCOMPARE(panel->parentWidget(), first.data());
    QCOMPARE(panel->thumbnailsBar()->model(), first->fileModel());
    if (closed) {
        QVERIFY(first->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } else {
        delete first.data();
    }
    QVERIFY(first.isNull());
    QVERIFY(!panel.isNull());
    QCOMPARE(panel->parentWidget(), owned ? &owner : nullptr);
    QVERIFY(panel->isHidden());
    QVERIFY(!panel->picView());

    SPicView second(5);
    QVERIFY(second.openList(m_files.mid(1)));
    panel->setPicView(&second);
    QCOMPARE(panel->parentWidget(), &second);
    QVERIFY(!panel->isHidden());
    QCOMPARE(panel->thumbnailsBar()->model(), second.fileModel());
    // A move of the view reaches the bar, whose echo must not read the picture again.
    QSignalSpy reads(&second, &SPicView::imageInfoChanged);
    second.next();
    QCOMPARE(panel->thumbnailsBar()->currentIndex().row(), 1);
    QCOMPARE(reads.count(), 1);
    panel->thumbnailsBar()->setCurrentIndex(second.fileModel()->index(0, 0));
    QCOMPARE(second.filePath(), m_files.at(1));
    panel->setPicView(nullptr);
}

LUMO_TEST_MAIN(TestFullscreenPanel)
#include "tst_fullscreenpanel.moc"
