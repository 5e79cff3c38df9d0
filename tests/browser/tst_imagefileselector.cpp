#include "support/lumotest.h"
#include "support/recordinglauncher.h"

#include "browser/imagefileselector.h"
#include "browser/imagesdirview.h"
#include "platform/lumofm/navigation.h"
#include "platformwidgets/lumofm/treewidget.h"

#include <QFileSystemModel>
#include <QGestureEvent>
#include <QMenu>
#include <QPinchGesture>

// The file browser's tree and directory view: what is listed, what double clicks, "Open" and
// the file tools do, the context menu and pinch zoom.
class TestImageFileSelector : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("sub"));
        for (const char* name :
             {"a.png", "B.JPG", "notes.txt", "sub/c.png", "sub/d.bmp", "sub/e.png"}) {
            QFile file(path(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    void init()
    {
        m_navigation = std::make_unique<LumoFM::Navigation>();
        m_navigation->setCurrent(LumoFM::Entry(m_dir.path()));
        m_selector = std::make_unique<ImageFileSelector>(m_navigation.get());
        m_selector->setIconViewMode(true);
        m_selector->resize(700, 400);
        m_selector->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_selector.get()));
    }

    void cleanup()
    {
        m_selector.reset();
        m_navigation.reset();
    }

    void listing_data()
    {
        QTest::addColumn<QStringList>("visits");
        QTest::addColumn<QStringList>("names"); // empty: the placeholder
        QTest::newRow("missing directory shows nothing")
            << QStringList{"", "gone"} << QStringList{};
        QTest::newRow("found again after a missing one")
            << QStringList{"gone", "sub"} << QStringList{"c.png", "d.bmp", "e.png"};
    }

    void listing()
    {
        QFETCH(QStringList, visits);
        QFETCH(QStringList, names);
        for (const QString& visit : visits)
            m_navigation->setCurrent(LumoFM::Entry(path(visit)));
        QCOMPARE(view()->isShowingPlaceholder(), names.isEmpty());
        // The proxy remaps while the folder loads: no index is held across the wait.
        QTRY_COMPARE(view()->model()->rowCount(view()->rootIndex()), names.size());
        const QModelIndex root = view()->rootIndex();
        QStringList shown;
        for (int row = 0; row < names.size(); ++row)
            shown << view()->model()->index(row, 0, root).data().toString();
        shown.sort();
        QCOMPARE(shown, names);
        if (!names.isEmpty())
            QCOMPARE(root.data(QFileSystemModel::FilePathRole).toString(), path(visits.last()));
    }

    void selectionActions_data() { lumotest::addRows(QStringLiteral("selectoractions.txt")); }

    void selectionActions()
    {
        QFETCH(QString, dir);
        QFETCH(QString, clicks);
        QFETCH(QString, action);
        QFETCH(QString, opened);
        QFETCH(QString, started);
        QFETCH(QString, current);
        current = path(current);
        RecordingLauncher launcher;
        goTo(dir);
        for (const QString& name : clicks.split(' '))
            QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              itemCentre(name));
        QSignalSpy manySpy(m_selector.get(), &ImageFileSelector::imagesActivated);
        QSignalSpy oneSpy(m_selector.get(), &ImageFileSelector::imageActivated);
        if (action == "double click")
            QTest::mouseDClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier,
                               itemCentre(clicks));
        else
            trigger(action);

        QCOMPARE(manySpy.count() + oneSpy.count(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty())
            QCOMPARE(manySpy.first().first().toStringList(), paths(opened));
        QCOMPARE(launcher.starts().size(), started.isEmpty() ? 0 : 1);
        if (!started.isEmpty()) {
            const RecordingLauncher::Start& start = launcher.starts().first();
            QCOMPARE(start.program, ProcessLauncher::siblingTool(started.section(' ', 0, 0)));
            QCOMPARE(start.arguments.first(), started.section(' ', 1, 1));
            QCOMPARE(start.arguments.mid(1), paths(started.section(' ', 2)));
            QCOMPARE(start.workingDirectory, current);
        }
        QCOMPARE(m_navigation->current().path(), current);
        QCOMPARE(view()->rootIndex().data(QFileSystemModel::FilePathRole).toString(), current);
        const QModelIndex treeCurrent = m_selector->tree()->currentIndex();
        QCOMPARE(treeCurrent.data(QFileSystemModel::FilePathRole).toString(), current);
    }

    void contextMenuNeedsCurrentItem()
    {
        goTo("");
        QVERIFY(!view()->createContextMenu());
        view()->setCurrentIndex(view()->indexAt(itemCentre("a.png")));
        QVERIFY(view()->createContextMenu());
    }

    void pinchZoom()
    {
        QSignalSpy spy(m_selector.get(), &ImageFileSelector::thumbnailSizeChanged);
        const auto pinch = [this](qreal scale) {
            QPinchGesture gesture;
            gesture.setChangeFlags(QPinchGesture::ScaleFactorChanged);
            gesture.setScaleFactor(scale);
            QGestureEvent event({&gesture});
            QApplication::sendEvent(view()->viewport(), &event);
        };
        m_selector->setThumbnailSize(32);
        for (int step = 0; step < 10; ++step)
            pinch(1.01); // slow steps add up
        QCOMPARE(view()->iconSize(), QSize(35, 35));
        m_selector->setThumbnailSize(150);
        pinch(2.0); // held at 256
        QCOMPARE(view()->iconSize(), QSize(256, 256));
        QCOMPARE(spy.last().first().toInt(), 256);
    }

private:
    QString path(const QString& name) const { return QDir::cleanPath(m_dir.filePath(name)); }
    QStringList paths(const QString& names) const
    {
        QStringList result;
        for (const QString& name : names.split(' '))
            result << path(name);
        return result;
    }
    ImagesDirView* view() const { return m_selector->dirView(); }
    void goTo(const QString& name)
    {
        m_navigation->setCurrent(LumoFM::Entry(path(name)));
        QTRY_COMPARE(view()->model()->rowCount(view()->rootIndex()), 3);
        view()->doItemsLayout();
    }

    QPoint itemCentre(const QString& name) const
    {
        return view()->visualRect(view()->indexOfPath(path(name))).center();
    }

    void trigger(const QString& action)
    {
        std::unique_ptr<QMenu> menu = view()->createContextMenu();
        QVERIFY(menu);
        for (QAction* entry : menu->actions())
            if (entry->text() == action)
                entry->trigger();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<LumoFM::Navigation> m_navigation;
    std::unique_ptr<ImageFileSelector> m_selector;
};

LUMO_TEST_MAIN(TestImageFileSelector)
#include "tst_imagefileselector.moc"
