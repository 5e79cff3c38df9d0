#include "support/lumotest.h"

#include "app/settings.h"
#include "browser/thumbnailsbar.h"
#include "platform/lumotabletmode.h"
#include "view/fullscreenpanel.h"
#include "view/fullscreenpicview.h"
#include "view/spic.h"
#include "view/goactions.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QDir>
#include <QMouseEvent>
#include <QSettings>

// The full-screen picture view: what it moves through, its keys, its zoom mode, its touch
// gestures, closing, and following the desktop's tablet mode.
class TestFullscreenPicView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void moves_data();
    void moves();
    void zoomModeIsItsOwn_data();
    void zoomModeIsItsOwn();
    void closing_data();
    void closing();
    void tapTogglesPanel();
    void tabletMode_data();
    void tabletMode();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    FullscreenPicView* openView(const QStringList& names);

    QTemporaryDir m_dir;
    QPointer<FullscreenPicView> m_view;
};

void TestFullscreenPicView::initTestCase()
{
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
    for (const char* name : {"a.png", "b.png", "c.png", "notes.txt"}) {
        QImage image(32, 24, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        QVERIFY(image.save(path(QString::fromLatin1(name)), "PNG"));
    }
}

void TestFullscreenPicView::init()
{
    Settings::instance()->store()->clear();
}

void TestFullscreenPicView::cleanup()
{
    delete m_view.data();
    lumoSetTabletMode(false);
}

FullscreenPicView* TestFullscreenPicView::openView(const QStringList& names)
{
    QStringList files;
    for (const QString& name : names)
        files << path(name);
    m_view = new FullscreenPicView;
    m_view->open(files);
    return m_view;
}

void TestFullscreenPicView::moves_data()
{
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("one file: its whole directory, pictures only")
        << QStringList{"b.png"} << 3 << QStringList{"Shift+F", "Right", "Right", "Right"}
        << QStringList{"a.png", "b.png", "c.png", "c.png"};
    QTest::newRow("several files: exactly those, in their order")
        << QStringList{"c.png", "a.png"} << 2 << QStringList{"Right", "Right", "Left", "Shift+L"}
        << QStringList{"a.png", "a.png", "c.png", "a.png"};
}

void TestFullscreenPicView::moves()
{
    QFETCH(QStringList, opened);
    QFETCH(int, listed);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shown);

    FullscreenPicView* view = openView(opened);
    QVERIFY(view->isFullScreen());
    QVERIFY(QTest::qWaitForWindowActive(view));
    // The directory is listed in the background.
    QTRY_COMPARE(view->fileModel()->rowCount(), listed);
    ThumbnailsBar* bar = view->panel()->thumbnailsBar();
    QCOMPARE(bar->model(), view->fileModel());

    for (int i = 0; i < steps.size(); ++i) {
        QTest::keySequence(view, QKeySequence(steps.at(i)));
        QCOMPARE(QFileInfo(view->filePath()).fileName(), shown.at(i));
        QCOMPARE(bar->currentIndex().row(), view->currentRow());
    }
}

void TestFullscreenPicView::zoomModeIsItsOwn_data()
{
    QTest::addColumn<int>("storedBefore");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("storedAfter");
    QTest::newRow("true size is kept for the next view") << 0 << "Ctrl+T" << 4 << 4;
    QTest::newRow("fit is kept for the next view") << 4 << "Ctrl+H" << 0 << 0;
    QTest::newRow("a zoom step keeps nothing") << 4 << "=" << 5 << 4;
}

void TestFullscreenPicView::zoomModeIsItsOwn()
{
    QFETCH(int, storedBefore);
    QFETCH(QString, key);
    QFETCH(int, mode);
    QFETCH(int, storedAfter);
    Settings* settings = Settings::instance();
    settings->general()->setZoomModeInt(5);
    settings->fullscreenPicView()->setZoomMode(storedBefore);

    FullscreenPicView* view = openView({"a.png"});
    QVERIFY(QTest::qWaitForWindowActive(view));
    QCOMPARE(view->currentZoomMode(), storedBefore);
    QTest::keySequence(view, QKeySequence(key));
    QCOMPARE(view->currentZoomMode(), mode);

    const QSettings onDisk(settings->store()->fileName(), settings->store()->format());
    QCOMPARE(onDisk.value("FullscreenPicView/zoomMode").toInt(), storedAfter);
    QCOMPARE(settings->general()->zoomModeInt(), 5);
    FullscreenPicView next;
    QCOMPARE(next.currentZoomMode(), storedAfter);
}

void TestFullscreenPicView::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Esc") << "Esc";
    QTest::newRow("double tap") << "double tap";
    QTest::newRow("exit button") << "exit button";
}

void TestFullscreenPicView::closing()
{
    QFETCH(QString, how);
    FullscreenPicView* view = openView({"a.png", "b.png"});
    QVERIFY(QTest::qWaitForWindowActive(view));
    QSignalSpy closed(view, &SPicView::picClosed);

    if (how == "Esc") {
        QTest::keyClick(view, Qt::Key_Escape);
    } else if (how == "double tap") {
        for (const auto type : {QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const QPointF pos(10, 10);
            QMouseEvent touch(type, pos, pos, pos, Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                              Qt::NoModifier, Qt::MouseEventSynthesizedBySystem);
            QApplication::sendEvent(view->pic(), &touch);
        }
    } else {
        view->exitAction()->trigger();
    }
    QCOMPARE(closed.count(), 1);
    QVERIFY(view->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_view);
    FullscreenPanel* panel = view->panel();
    QVERIFY(!panel->picView());
    QVERIFY(panel->isHidden());

    // Opened again, it is whole again.
    view->open({path("c.png")});
    QCOMPARE(panel->picView(), view);
    QVERIFY(panel->isVisible());
}

void TestFullscreenPicView::tapTogglesPanel()
{
    FullscreenPicView* view = openView({"a.png", "b.png"});
    QTimeLine* timeLine = view->panel()->timeLine();
    emit view->toggleFullscreenPanel();
    QCOMPARE(timeLine->state(), QTimeLine::Running);
    QCOMPARE(timeLine->direction(), QTimeLine::Forward);
}

void TestFullscreenPicView::tabletMode_data()
{
    QTest::addColumn<bool>("atStart");
    QTest::addColumn<bool>("later");
    QTest::newRow("switched to tablet") << false << true;
    QTest::newRow("started in tablet") << true << true;
    QTest::newRow("switched back to desktop") << true << false;
}

void TestFullscreenPicView::tabletMode()
{
    QFETCH(bool, atStart);
    QFETCH(bool, later);
    lumoSetTabletMode(atStart);
    FullscreenPicView* view = openView({"a.png"});
    QCOMPARE(view->tabletMode(), atStart);
    lumoSetTabletMode(later);
    QCOMPARE(view->tabletMode(), later);
    QCOMPARE(view->indicatorMode(), later);
    QCOMPARE(view->backgroundRole(), later ? QPalette::Shadow : QPalette::Dark);
    QCOMPARE(view->panel()->tabletMode(), later);
    QCOMPARE(view->panel()->thumbnailsBar()->tabletMode(), later);
}

LUMO_TEST_MAIN(TestFullscreenPicView)
#include "tst_fullscreenpicview.moc"
