#include "support/lumotest.h"

#include "imagewindow/sworkspace.h"
#include "view/spicview.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QSplitter>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

// Stands in for a picture whose owner answers Cancel when asked to close it.
struct Stubborn : QWidget
{
    bool refuse = false;
    void closeEvent(QCloseEvent* event) override { event->setAccepted(!refuse); }
};

QList<QRect> geometries(const QList<QMdiSubWindow*>& windows)
{
    QList<QRect> result;
    for (QMdiSubWindow* window : windows)
        result << window->geometry();
    return result;
}

} // namespace

// An 800 by 600 workspace of free sub-windows named "0", "1", ...
class TestSWorkspace : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_workspace = std::make_unique<SWorkspace>();
        m_workspace->resize(800, 600);
        m_workspace->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_workspace.get()));
    }

    void cleanup() { m_workspace.reset(); }

    void tabsKeepGeometry_data()
    {
        QTest::addColumn<int>("maximised");
        QTest::newRow("free windows, one near the top edge") << -1;
        QTest::newRow("the last one maximised") << 2;
    }

    void tabsKeepGeometry()
    {
        QFETCH(int, maximised);
        const QList<QMdiSubWindow*> windows = addWindows(3);
        if (maximised >= 0)
            windows.at(maximised)->showMaximized();
        const QList<QRect> before = geometries(windows);
        for (bool tabbed : {true, false, true, false})
            m_workspace->setTabbedMode(tabbed);
        QCOMPARE(geometries(windows), before);
    }

    void closing_data()
    {
        QTest::addColumn<int>("refuseAt");
        QTest::addColumn<int>("tab"); // -1: open a picture in single-window mode instead
        QTest::addColumn<QStringList>("left");
        QTest::newRow("middle tab") << -1 << 1 << QStringList{"0", "2"};
        QTest::newRow("refused close keeps the tab") << 1 << 1 << QStringList{"0", "1", "2"};
        QTest::newRow("tab past the end: nothing, no crash")
            << -1 << 3 << QStringList{"0", "1", "2"};
        QTest::newRow("single window: the new picture replaces the others")
            << -1 << -1 << QStringList{"new"};
        QTest::newRow("single window, close cancelled: the new picture is dropped")
            << 1 << -1 << QStringList{"1", "2"};
    }

    void closing()
    {
        QFETCH(int, refuseAt);
        QFETCH(int, tab);
        QFETCH(QStringList, left);
        addWindows(3, refuseAt);
        if (tab >= 0) {
            m_workspace->setTabbedMode(true);
            auto* tabBar = m_workspace->findChild<QTabBar*>();
            QVERIFY(tabBar && tabBar->tabsClosable());
            emit tabBar->tabCloseRequested(tab);
        } else {
            m_workspace->setSingleWindowMode(true);
            auto view = std::make_unique<SPicView>(5);
            view->setObjectName(QStringLiteral("new"));
            const bool placed = m_workspace->addPicView(view.get()) != nullptr;
            QCOMPARE(placed, left.contains(QStringLiteral("new")));
            if (placed)
                view.release();
        }
        QCOMPARE(names(), left);
    }

    void drop()
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile("/tmp/a b.png"), QUrl("https://example.org/d.png"),
                      QUrl::fromLocalFile("/tmp/c.jpg")});
        QSignalSpy spy(m_workspace.get(), &SWorkspace::listDropped);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(m_workspace->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_workspace->viewport(), &drop);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toStringList(), (QStringList{"/tmp/a b.png", "/tmp/c.jpg"}));
    }

    void fullScreen_data()
    {
        QTest::addColumn<QString>("leave");
        QTest::addColumn<bool>("viewKept");
        QTest::newRow("put back into its sub-window") << "put back" << true;
        QTest::newRow("put back into its maximised sub-window, as it was")
            << "put back max" << true;
        QTest::newRow("closing the view closes its sub-window") << "view closed" << false;
        QTest::newRow("its sub-window closed meanwhile") << "sub-window closed" << true;
        QTest::newRow("the window holding the workspace goes first") << "owner deleted" << false;
    }

    void fullScreen()
    {
        QFETCH(QString, leave);
        QFETCH(bool, viewKept);
        // Placed as in the image window: beside other widgets in a splitter of a shown window.
        std::unique_ptr<QWidget> owner;
        if (leave == QLatin1String("owner deleted")) {
            owner = std::make_unique<QWidget>();
            auto* splitter = new QSplitter(Qt::Vertical, owner.get());
            splitter->addWidget(m_workspace.release());
            splitter->addWidget(new QLineEdit);
            (new QVBoxLayout(owner.get()))->addWidget(splitter);
            owner->show();
            QVERIFY(QTest::qWaitForWindowExposed(owner.get()));
        }
        SWorkspace* workspace = owner ? owner->findChild<SWorkspace*>() : m_workspace.get();
        workspace->setFullscreen(true); // nothing current: ignored
        QPointer<SPicView> view = new SPicView(5);
        QMdiSubWindow* window = workspace->addPicView(view);
        QMdiSubWindow* other = workspace->addPicView(new SPicView(5));
        window->show();
        other->show();
        QSignalSpy activated(workspace, &SWorkspace::windowActivated);
        QSignalSpy closed(workspace, &SWorkspace::fullScreenPicClosed);
        QSignalSpy exitRequested(workspace, &SWorkspace::exitFullScreenRequested);
        workspace->setActiveSubWindow(window);
        QCOMPARE(activated.last().first().value<QWidget*>(), view.data());
        activated.clear();
        if (leave == QLatin1String("put back max"))
            window->showMaximized();
        const QRect placed = window->geometry();

        workspace->setFullscreen(true);
        workspace->setFullscreen(true);
        QVERIFY(view->isWindow() && view->isFullScreenMode() && !window->widget());
        workspace->setActiveSubWindow(other);
        QCOMPARE(activated.count(), 0);
        emit view->exitFullScreenRequested();
        QCOMPARE(exitRequested.count(), 1);

        const bool viewClosed = leave == QLatin1String("view closed");
        QVERIFY(!viewClosed || view->close());
        QVERIFY(leave != QLatin1String("sub-window closed") || window->close());
        if (owner)
            owner.reset();
        else
            workspace->setFullscreen(false);
        QTRY_COMPARE(!view.isNull(), viewKept);
        QCOMPARE(closed.count(), viewClosed ? 1 : 0);
        if (leave != QLatin1String("owner deleted"))
            QCOMPARE(workspace->subWindowList().size(), viewKept ? 2 : 1);
        if (leave.startsWith(QLatin1String("put back"))) {
            QCOMPARE(window->widget(), view.data());
            QCOMPARE(window->isMaximized(), leave == QLatin1String("put back max"));
            QCOMPARE(window->geometry(), placed);
        }
        if (viewKept) {
            QVERIFY(!view->isFullScreenMode() && !view->isWindow() && !view->isFullScreen());
            QCOMPARE(view->parentWidget()->parentWidget(), workspace->viewport());
            QVERIFY(view->isVisibleTo(view->parentWidget()));
            emit view->exitFullScreenRequested();
            QCOMPARE(exitRequested.count(), 1);
        }
    }

private:
    QList<QMdiSubWindow*> addWindows(int count, int refuseAt = -1)
    {
        QList<QMdiSubWindow*> windows;
        for (int i = 0; i < count; ++i) {
            auto* widget = new Stubborn;
            widget->refuse = i == refuseAt;
            widget->setObjectName(QString::number(i));
            windows << m_workspace->addSubWindow(widget);
            windows.last()->setGeometry(15 + 40 * i, 10 + 30 * i, 220 + 10 * i, 160);
            windows.last()->show();
        }
        return windows;
    }

    QStringList names() const
    {
        QStringList result;
        for (QMdiSubWindow* window : m_workspace->subWindowList(QMdiArea::CreationOrder))
            result << window->widget()->objectName();
        return result;
    }

    std::unique_ptr<SWorkspace> m_workspace;
};

LUMO_TEST_MAIN(TestSWorkspace)
#include "tst_sworkspace.moc"
