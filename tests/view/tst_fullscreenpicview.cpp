#include "support/lumotest.h"

#include "app/settings.h"
#include "browser/thumbnailsbar.h"
#include "platform/lumotabletmode.h"
#include "view/fullscreenpanel.h"
#include "view/fullscreenpicview.h"
#include "view/goactions.h"
#include "view/spic.h"
#include "view/zoomactions.h"

#include <QAction>
#include <QDir>
#include <QMouseEvent>
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
    void initTestCase()
    {
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
        for (const char* name : {"a.png", "b.png", "c.png", "notes.txt"}) {
            QImage image(32, 24, QImage::Format_RGB32);
            image.fill(Qt::darkBlue);
            QVERIFY(image.save(path(QString::fromLatin1(name)), "PNG"));
        }
    }
    void init() { Settings::instance()->store()->clear(); }
    void cleanup()
    {
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
        QTest::newRow("toggle when in slides out")
            << QStringList{"top", "finish", "toggle"} << "sliding out";
        QTest::newRow("toggle while sliding out brings it back from hidden")
            << QStringList{"top", "finish", "below", "half", "toggle"} << "sliding in";
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
        QCOMPARE(running                  ? (forward ? "sliding in" : "sliding out")
                 : panel->isPanelShown()  ? "in"
                 : panel->isPanelHidden() ? "out"
                                          : "stopped between",
                 state);
        QCOMPARE(panel->y(), state == "sliding out" ? 0 : -h);
    }

    void realSlide_data()
    {
        QTest::addColumn<bool>("tablet");
        QTest::newRow("desktop keeps following the pointer") << false;
        QTest::newRow("tablet lets the panel finish first") << true;
    }
    void realSlide()
    {
        QFETCH(bool, tablet);
        QWidget parent;
        parent.resize(300, 200);
        auto* panel = new GenericFullscreenPanel(&parent);
        panel->setWidget(new QWidget);
        panel->setTabletMode(tablet);
        parent.show();
        QVERIFY(parent.hasMouseTracking());
        QSignalSpy finished(panel->timeLine(), &QTimeLine::finished);
        movePointer(&parent, 0);
        QCOMPARE(parent.hasMouseTracking(), !tablet);
        QVERIFY(finished.wait(3000));
        QCOMPARE(panel->pos(), QPoint(0, 0));
        QVERIFY(parent.hasMouseTracking());
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
        QVERIFY(first->openList(files));
        panel->setPicView(first);
        QCOMPARE(panel->parentWidget(), first.data());
        QVERIFY(first->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        QVERIFY(!panel.isNull());
        QCOMPARE(panel->parentWidget(), &owner);
        QVERIFY(panel->isHidden());
        QVERIFY(!panel->picView());

        SPicView second(5);
        QVERIFY(second.openList(files.mid(1)));
        panel->setPicView(&second);
        QCOMPARE(panel->parentWidget(), &second);
        QCOMPARE(panel->thumbnailsBar()->model(), second.fileModel());
        // A move of the view reaches the bar, whose echo must not read the picture again.
        QSignalSpy reads(&second, &SPicView::imageInfoChanged);
        second.next();
        QCOMPARE(panel->thumbnailsBar()->currentIndex().row(), 1);
        QCOMPARE(reads.count(), 1);
        panel->thumbnailsBar()->setCurrentIndex(second.fileModel()->index(0, 0));
        QCOMPARE(second.filePath(), files.at(1));
        panel->setPicView(nullptr);
    }

    void moves_data()
    {
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<int>("listed");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("one file: its whole directory, pictures only")
            << QStringList{"b.png"} << 3 << QStringList{"Shift+F", "Right", "Right", "Right"}
            << QStringList{"a.png", "b.png", "c.png", "c.png"};
        QTest::newRow("several files: exactly those, in their order")
            << QStringList{"c.png", "a.png"} << 2
            << QStringList{"Right", "Right", "Left", "Shift+L"}
            << QStringList{"a.png", "a.png", "c.png", "a.png"};
    }
    void moves()
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

    void zoomModeIsItsOwn()
    {
        Settings* settings = Settings::instance();
        settings->general()->setZoomModeInt(5);
        FullscreenPicView* view = openView({"a.png"});
        QVERIFY(QTest::qWaitForWindowActive(view));
        QCOMPARE(view->currentZoomMode(), 0);
        const QSettings onDisk(settings->store()->fileName(), settings->store()->format());
        QTest::keySequence(view, QKeySequence("Ctrl+T")); // true size is kept
        QCOMPARE(view->currentZoomMode(), 4);
        QCOMPARE(onDisk.value("FullscreenPicView/zoomMode").toInt(), 4);
        QTest::keySequence(view, QKeySequence("=")); // a zoom step keeps nothing
        QCOMPARE(view->currentZoomMode(), 5);
        QCOMPARE(onDisk.value("FullscreenPicView/zoomMode").toInt(), 4);
        QCOMPARE(settings->general()->zoomModeInt(), 5);
        QCOMPARE(FullscreenPicView().currentZoomMode(), 4);
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("double tap") << "double tap";
        QTest::newRow("exit button") << "exit button";
    }
    void closing()
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
                                  type == QEvent::MouseButtonRelease ? Qt::NoButton
                                                                     : Qt::LeftButton,
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

    void tapTogglesPanel()
    {
        FullscreenPicView* view = openView({"a.png", "b.png"});
        emit view->toggleFullscreenPanel();
        QCOMPARE(view->panel()->timeLine()->state(), QTimeLine::Running);
        QCOMPARE(view->panel()->timeLine()->direction(), QTimeLine::Forward);
    }

    void tabletMode()
    {
        lumoSetTabletMode(true);
        FullscreenPicView* view = openView({"a.png"});
        QVERIFY(view->tabletMode());
        for (const bool tablet : {false, true}) {
            lumoSetTabletMode(tablet);
            QCOMPARE(view->tabletMode(), tablet);
            QCOMPARE(view->backgroundRole(), tablet ? QPalette::Shadow : QPalette::Dark);
            QCOMPARE(view->panel()->tabletMode(), tablet);
            QCOMPARE(view->panel()->thumbnailsBar()->tabletMode(), tablet);
        }
    }
};

LUMO_TEST_MAIN(TestFullscreenPicView)
#include "tst_fullscreenpicview.moc"
