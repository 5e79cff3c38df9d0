#include "support/lumotest.h"
#include "support/pictureloading.h"

#include "browser/thumbnailsbar.h"
#include "fullscreen/fullscreenpanel.h"
#include "fullscreen/fullscreenpicview.h"
#include "platformwidgets/lumotabletmode.h"
#include "settings/settings.h"
#include "view/fileentries.h"
#include "view/goactions.h"
#include "view/spic.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>

namespace {

void movePointer(QWidget* widget, int y)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(50, y), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

// The full-screen picture view and its sliding panel: what it moves through, its zoom mode,
// closing, tablet mode, and how the panel keeps apart from the views it serves.
class TestFullscreenPicView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QPointer<FullscreenPicView> m_view;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    FullscreenPicView* openView(const QStringList& names)
    {
        QStringList files;
        for (const QString& name : names)
            files << path(name);
        m_view = new FullscreenPicView;
        m_view->open(files);
        return m_view;
    }

private slots:
    void initTestCase() { makeEntries(m_dir.path(), {"sub/", "a.png", "b.png", "c.png", "x.txt"}); }
    void init() { Settings::instance()->store()->clear(); }
    void cleanup()
    {
        Settings::instance()->imagesCentralWidget()->setSlideLoop(false);
        delete m_view.data();
        lumoSetTabletMode(false);
    }

    void slide_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("state"); // sliding in always starts from hidden
        QTest::newRow("last row of the strip slides in") << QStringList{"edge"} << "sliding in";
        QTest::newRow("first row below the strip stays out") << QStringList{"below"} << "out";
        QTest::newRow("leaving the strip slides out")
            << QStringList{"top", "finish", "below"} << "sliding out";
        QTest::newRow("back up while sliding out restarts from hidden")
            << QStringList{"top", "finish", "below", "half", "top"} << "sliding in";
        QTest::newRow("toggle while sliding out brings it back from hidden")
            << QStringList{"top", "finish", "below", "half", "toggle"} << "sliding in";
        // Touch drags would send the panel away mid-slide.
        QTest::newRow("tablet: pointer ignored while sliding in")
            << QStringList{"tablet", "top"} << "sliding in";
        QTest::newRow("tablet: pointer followed again once in")
            << QStringList{"tablet", "top", "finish", "below"} << "sliding out";
    }
    void slide()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, state);
        QWidget parent;
        parent.resize(400, 300);
        auto* panel = new GenericFullscreenPanel(&parent);
        auto* content = new QWidget;
        content->setFixedHeight(40);
        panel->setWidget(content);
        parent.show();
        const int h = panel->height();
        QTimeLine* timeLine = panel->timeLine();
        for (const QString& step : steps) {
            if (step == "tablet")
                panel->setTabletMode(true);
            else if (step == "top")
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
        QCOMPARE(running                  ? (forward ? "sliding in" : "sliding out")
                 : panel->isPanelShown()  ? "in"
                 : panel->isPanelHidden() ? "out"
                                          : "stopped between",
                 state);
        QCOMPARE(panel->y(), state == "sliding out" ? 0 : -h);
        QCOMPARE(parent.hasMouseTracking(), !steps.contains("tablet") || state != "sliding in");
    }

    void panelByPointerOverThePicture_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("picture") << "a.png";
        QTest::newRow("unreadable file, which cannot be selected") << "x.txt";
    }
    // The move comes through the window system, so it passes from the canvas to the view.
    void panelByPointerOverThePicture()
    {
        QFETCH(QString, file);
        FullscreenPicView* view = openView({file});
        QVERIFY(QTest::qWaitForWindowExposed(view));
        const QPoint top = view->pic()->mapTo(view, QPoint(view->pic()->width() / 2, 0));
        QVERIFY(top.y() < view->panel()->height() && view->childAt(top) == view->pic());
        QTest::mouseMove(view->windowHandle(), view->rect().center()); // up from the middle
        QTest::mouseMove(view->windowHandle(), top);
        QTRY_VERIFY(view->panel()->isPanelShown());
    }

    // Views are deleted when closed; the panel they carried must outlive them.
    void panelSurvivesItsView()
    {
        const QStringList files{path("a.png"), path("b.png"), path("c.png")};
        QWidget owner;
        QAction exit(QStringLiteral("Exit"), nullptr);
        GoActions go;
        ZoomActions zoom;
        QPointer<FullscreenPanel> panel = new FullscreenPanel(&exit, &go, &zoom, &owner);
        QPointer<SPicView> first = new SPicView(5);
        first->openList(files);
        QVERIFY(waitForPicture(first));
        panel->setPicView(first);
        QVERIFY(first->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull() && panel && panel->isHidden() && !panel->picView());
        QCOMPARE(panel->parentWidget(), &owner);

        SPicView second(5);
        second.openList(files.mid(1));
        QVERIFY(waitForPicture(&second));
        panel->setPicView(&second);
        QCOMPARE(panel->parentWidget(), &second);
        QCOMPARE(panel->thumbnailsBar()->model(), second.fileModel());
        // A move of the view reaches the bar, whose echo must not read the picture again.
        QSignalSpy reads(&second, &SPicView::imageInfoChanged);
        second.next();
        QVERIFY(waitForPicture(&second));
        QCOMPARE(panel->thumbnailsBar()->currentIndex().row(), 1);
        // Reads in the background announce themselves first.
        int pictureTexts = 0;
        for (const QList<QVariant>& read : qAsConst(reads))
            pictureTexts += read.at(0).toString() != QStringLiteral("Loading…");
        QCOMPARE(pictureTexts, 1);
        panel->thumbnailsBar()->setCurrentIndex(second.fileModel()->index(0, 0));
        QCOMPARE(second.filePath(), files.at(1));
        panel->setPicView(nullptr);
    }

    // Keys, the panel's slideshow button and the show's clock move through the directory of one
    // file opened, or through exactly the files opened, in the same full-screen window; the
    // panel's bar follows. A show runs to its end, or round again with loop.
    void moves_data()
    {
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<QStringList>("steps"); // keys; "start": the panel's button; "tick": clock
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("one file: its whole directory, pictures only")
            << QStringList{"b.png"} << false << QStringList{"Shift+F", "Right", "Right", "Right"}
            << QStringList{"a.png", "b.png", "c.png", "c.png"};
        QTest::newRow("several files: exactly those, in their order")
            << QStringList{"c.png", "a.png"} << false
            << QStringList{"Right", "Right", "Left", "Shift+L"}
            << QStringList{"a.png", "a.png", "c.png", "a.png"};
        QTest::newRow("show of the directory, by its key, to the end")
            << QStringList{"a.png"} << false << QStringList{"Shift+S", "tick", "tick"}
            << QStringList{"a.png", "b.png", "c.png"};
        QTest::newRow("show of a list, by the panel's button, round with loop")
            << QStringList{"b.png", "c.png"} << true
            << QStringList{"start", "tick", "tick", "tick"}
            << QStringList{"b.png", "c.png", "b.png", "c.png"};
    }
    void moves()
    {
        QFETCH(QStringList, opened);
        QFETCH(bool, loop);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, shown);
        Settings::instance()->imagesCentralWidget()->setSlideLoop(loop);
        FullscreenPicView* view = openView(opened);
        QVERIFY(QTest::qWaitForWindowActive(view));
        QVERIFY(waitForPicture(view));
        // The directory is listed in the background.
        QTRY_COMPARE(view->fileModel()->rowCount(), opened.size() == 1 ? 3 : opened.size());
        ThumbnailsBar* bar = view->panel()->thumbnailsBar();
        QCOMPARE(bar->model(), view->fileModel());
        const Qt::WindowFlags flags = view->windowFlags();
        const QRect screen = view->screen()->geometry();
        for (int i = 0; i < steps.size(); ++i) {
            const QString& step = steps.at(i);
            if (step == "start")
                view->goActions()->startAction()->trigger();
            else if (step == "tick")
                view->timerTimeout(); // the slideshow's clock, driven here
            else
                QTest::keySequence(view, QKeySequence(step));
            if (step == "start" || step == "Shift+S")
                QVERIFY(view->slideshowRunning());
            QVERIFY(waitForPicture(view));
            QCOMPARE(QFileInfo(view->filePath()).fileName(), shown.at(i));
            QCOMPARE(bar->currentIndex().row(), view->currentRow());
            QCOMPARE(view->windowState(), Qt::WindowFullScreen);
            QCOMPARE(view->windowFlags(), flags);
            QCOMPARE(view->geometry(), screen);
            QVERIFY(view->isVisible() && view->isActiveWindow());
        }
        QCOMPARE(view->slideshowRunning(), loop);
    }

    void zoomModeIsItsOwn()
    {
        Settings* settings = Settings::instance();
        settings->general()->setZoomModeInt(5);
        FullscreenPicView* view = openView({"a.png"});
        QVERIFY(QTest::qWaitForWindowActive(view));
        const QSettings onDisk(settings->store()->fileName(), settings->store()->format());
        // The view's mode, its own stored mode, the image window's.
        const auto modes = [&] {
            return QList<int>{view->currentZoomMode(),
                              onDisk.value("FullscreenPicView/zoomMode", -1).toInt(),
                              settings->general()->zoomModeInt()};
        };
        QCOMPARE(modes(), (QList<int>{0, -1, 5}));
        QTest::keySequence(view, QKeySequence("Ctrl+T")); // true size is kept
        QCOMPARE(modes(), (QList<int>{4, 4, 5}));
        QTest::keySequence(view, QKeySequence("=")); // a zoom step keeps nothing
        QCOMPARE(modes(), (QList<int>{5, 4, 5}));
        QCOMPARE(FullscreenPicView().currentZoomMode(), 4);
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("double tap") << "double tap";
    }
    void closing()
    {
        QFETCH(QString, how);
        FullscreenPicView* view = openView({"a.png", "b.png"});
        QVERIFY(QTest::qWaitForWindowActive(view));
        QSignalSpy closed(view, &SPicView::picClosed);
        if (how == "Esc")
            QTest::keyClick(view, Qt::Key_Escape);
        else // a double tap
            for (const auto type : {QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
                const QPointF pos(10, 10);
                QMouseEvent touch(type, pos, pos, pos, Qt::LeftButton,
                                  type == QEvent::MouseButtonRelease ? Qt::NoButton
                                                                     : Qt::LeftButton,
                                  Qt::NoModifier, Qt::MouseEventSynthesizedBySystem);
                QApplication::sendEvent(view->pic(), &touch);
            }
        QCOMPARE(closed.count(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_view && view->isHidden());
        FullscreenPanel* panel = view->panel();
        QVERIFY(!panel->picView() && panel->isHidden());
        view->open({path("c.png")}); // opened again, it is whole again
        QVERIFY(panel->picView() == view && panel->isVisible());
    }

    void tabletMode()
    {
        lumoSetTabletMode(true);
        FullscreenPicView* view = openView({"a.png"});
        emit view->toggleFullscreenPanel(); // what a tap does
        QVERIFY(view->panel()->isPanelShown());
        for (const bool tablet : {true, false, true}) {
            lumoSetTabletMode(tablet);
            QCOMPARE((QVector<bool>{view->tabletMode(), view->panel()->tabletMode(),
                                    view->panel()->thumbnailsBar()->tabletMode()}),
                     QVector<bool>(3, tablet));
        }
    }
};

LUMO_TEST_MAIN(TestFullscreenPicView)
#include "tst_fullscreenpicview.moc"
