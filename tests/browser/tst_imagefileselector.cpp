#include "support/lumotest.h"
#include "support/recordinglauncher.h"

#include "browser/imagefileselector.h"
#include "browser/imagesdirview.h"
#include "platform/lumofm/navigation.h"
#include "platform/lumofm/treewidget.h"

#include <QFileSystemModel>
#include <QGestureEvent>
#include <QMenu>
#include <QPinchGesture>

// The file browser's tree and directory view: what is listed, what double clicks, "Open" and
// the file tools do, the context menu, the grids and pinch zoom.
class TestImageFileSelector : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void treeRootedOneTurnLater();
    void listing_data();
    void listing();
    void selectionActions_data();
    void selectionActions();
    void contextMenuNeedsCurrentItem();
    void grid_data();
    void grid();
    void thumbnailSize_data();
    void thumbnailSize();

private:
    QString path(const QString& name) const { return QDir::cleanPath(m_dir.filePath(name)); }
    ImagesDirView* view() const { return m_selector->dirView(); }
    void goTo(const QString& name);
    QPoint itemCentre(const QString& name) const;
    void trigger(const QString& action);

    QTemporaryDir m_dir;
    std::unique_ptr<LumoFM::Navigation> m_navigation;
    std::unique_ptr<ImageFileSelector> m_selector;
};

void TestImageFileSelector::initTestCase()
{
    QVERIFY(QDir(m_dir.path()).mkpath("sub"));
    for (const char* name : {"a.png", "B.JPG", "notes.txt", "sub/c.png", "sub/d.bmp", "sub/e.png"}) {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}

void TestImageFileSelector::init()
{
    m_navigation = std::make_unique<LumoFM::Navigation>();
    m_navigation->setCurrent(LumoFM::Entry(m_dir.path()));
    m_selector = std::make_unique<ImageFileSelector>(m_navigation.get());
    m_selector->setIconViewMode(true);
    m_selector->resize(700, 400);
    m_selector->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_selector.get()));
}

void TestImageFileSelector::cleanup()
{
    m_selector.reset();
    m_navigation.reset();
}

void TestImageFileSelector::goTo(const QString& name)
{
    m_navigation->setCurrent(LumoFM::Entry(path(name)));
    QTRY_COMPARE(view()->model()->rowCount(view()->rootIndex()), 3);
    view()->doItemsLayout();
}

QPoint TestImageFileSelector::itemCentre(const QString& name) const
{
    return view()->visualRect(view()->indexOfPath(path(name))).center();
}

void TestImageFileSelector::trigger(const QString& action)
{
    std::unique_ptr<QMenu> menu = view()->createContextMenu();
    QVERIFY(menu);
    for (QAction* entry : menu->actions()) {
        if (entry->text() == action)
            entry->trigger();
    }
}

void TestImageFileSelector::treeRootedOneTurnLater()
{
    ImageFileSelector selector(m_navigation.get());
    QVERIFY(!selector.tree()->rootEntry().isValid());
    QTRY_COMPARE(selector.tree()->rootEntry().path(), QStringLiteral("/"));
}

void TestImageFileSelector::listing_data()
{
    QTest::addColumn<QStringList>("visits");
    QTest::addColumn<QStringList>("names"); // empty: the placeholder
    QTest::newRow("images and the subdirectory, not the text file")
        << QStringList{""} << QStringList{"B.JPG", "a.png", "sub"};
    QTest::newRow("missing directory shows nothing") << QStringList{"", "gone"} << QStringList{};
    QTest::newRow("found again after a missing one")
        << QStringList{"gone", "sub"} << QStringList{"c.png", "d.bmp", "e.png"};
}

void TestImageFileSelector::listing()
{
    QFETCH(QStringList, visits);
    QFETCH(QStringList, names);
    for (const QString& visit : visits)
        m_navigation->setCurrent(LumoFM::Entry(path(visit)));
    QCOMPARE(view()->isShowingPlaceholder(), names.isEmpty());
    const QModelIndex root = view()->rootIndex();
    QTRY_COMPARE(view()->model()->rowCount(root), names.size());
    QStringList shown;
    for (int row = 0; row < names.size(); ++row)
        shown << view()->model()->index(row, 0, root).data().toString();
    shown.sort();
    QCOMPARE(shown, names);
    if (!names.isEmpty())
        QCOMPARE(root.data(QFileSystemModel::FilePathRole).toString(), path(visits.last()));
}

void TestImageFileSelector::selectionActions_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QStringList>("clicks"); // with Ctrl, in this order
    QTest::addColumn<QString>("action"); // a context menu entry, or a double click
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QStringList>("started"); // program, then its arguments
    QTest::addColumn<QString>("workingDir");
    QTest::addColumn<QString>("current");
    const QString fops = ProcessLauncher::siblingTool("lumo-fops");
    const QStringList two{"sub/c.png", "sub/e.png"};
    const QString c = path("sub/c.png"), e = path("sub/e.png"), sub = path("sub");
    QTest::newRow("double-clicked image is opened")
        << "" << QStringList{"a.png"} << "double click" << QStringList{path("a.png")}
        << QStringList{} << "" << path("");
    QTest::newRow("double-clicked subdirectory becomes current")
        << "" << QStringList{"sub"} << "double click" << QStringList{} << QStringList{} << ""
        << sub;
    QTest::newRow("open three images in selection order")
        << "sub" << QStringList{"sub/e.png", "sub/c.png", "sub/d.bmp"} << "Open"
        << QStringList{e, c, path("sub/d.bmp")} << QStringList{} << "" << sub;
    QTest::newRow("open a lone directory enters it")
        << "" << QStringList{"sub"} << "Open" << QStringList{} << QStringList{} << "" << sub;
    QTest::newRow("open leaves a directory among images out")
        << "" << QStringList{"sub", "a.png"} << "Open" << QStringList{path("a.png")}
        << QStringList{} << "" << path("");
    QTest::newRow("remove to trash") << "sub" << two << "Remove to trash" << QStringList{}
                                     << QStringList{fops, "--trash", c, e} << sub << sub;
    QTest::newRow("remove") << "sub" << two << "Remove" << QStringList{}
                            << QStringList{fops, "--remove", c, e} << sub << sub;
    QTest::newRow("properties")
        << "sub" << two << "Properties" << QStringList{}
        << QStringList{ProcessLauncher::siblingTool("lumo-props"), "-s", c, e} << "" << sub;
    QTest::newRow("remove with nothing selected starts nothing")
        << "sub" << QStringList{"sub/c.png", "sub/c.png"} << "Remove" << QStringList{}
        << QStringList{} << "" << sub;
}

void TestImageFileSelector::selectionActions()
{
    QFETCH(QString, dir);
    QFETCH(QStringList, clicks);
    QFETCH(QString, action);
    QFETCH(QStringList, opened);
    QFETCH(QStringList, started);
    QFETCH(QString, workingDir);
    QFETCH(QString, current);
    RecordingLauncher launcher;
    goTo(dir);
    for (const QString& name : clicks)
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::ControlModifier, itemCentre(name));
    QSignalSpy manySpy(m_selector.get(), &ImageFileSelector::imagesActivated);
    QSignalSpy oneSpy(m_selector.get(), &ImageFileSelector::imageActivated);
    if (action == "double click")
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier,
                           itemCentre(clicks.last()));
    else
        trigger(action);

    QSignalSpy& spy = action == "double click" ? oneSpy : manySpy;
    QCOMPARE(manySpy.count() + oneSpy.count(), opened.isEmpty() ? 0 : 1);
    if (!opened.isEmpty())
        QCOMPARE(spy.first().first().toStringList(), opened);
    QCOMPARE(launcher.starts().size(), started.isEmpty() ? 0 : 1);
    if (!started.isEmpty()) {
        const RecordingLauncher::Start& start = launcher.starts().first();
        QCOMPARE(QStringList(start.program) + start.arguments, started);
        QCOMPARE(start.workingDirectory, workingDir);
    }
    QCOMPARE(m_navigation->current().path(), current);
    QCOMPARE(view()->rootIndex().data(QFileSystemModel::FilePathRole).toString(), current);
    const QModelIndex treeCurrent = m_selector->tree()->currentIndex();
    QCOMPARE(treeCurrent.data(QFileSystemModel::FilePathRole).toString(), current);
}

void TestImageFileSelector::contextMenuNeedsCurrentItem()
{
    goTo("");
    QVERIFY(!view()->createContextMenu());
    view()->setCurrentIndex(view()->indexAt(itemCentre("a.png")));
    std::unique_ptr<QMenu> menu = view()->createContextMenu();
    QVERIFY(menu);
    QStringList entries;
    for (QAction* action : menu->actions())
        entries << (action->isSeparator() ? QStringLiteral("|") : action->text());
    QCOMPARE(entries, QStringList({"Open", "|", "Remove", "Remove to trash", "|", "Properties"}));
}

void TestImageFileSelector::grid_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QSize>("grid");
    QTest::newRow("icon mode follows the size") << QStringList{"icons", "48"} << QSize(58, 78);
    QTest::newRow("size kept when switching to icons")
        << QStringList{"list", "48", "icons"} << QSize(58, 78);
    QTest::newRow("multicolumn has no grid") << QStringList{"icons", "48", "list"} << QSize();
}

void TestImageFileSelector::grid()
{
    QFETCH(QStringList, steps);
    QFETCH(QSize, grid);
    QFont font = view()->font();
    for (int pixels = 8; pixels < 20 && QFontMetrics(font).height() != 15; ++pixels)
        font.setPixelSize(pixels);
    if (QFontMetrics(font).height() != 15)
        QSKIP("no font size here is 15 pixels high");
    view()->setFont(font);
    for (const QString& step : steps) {
        if (step == "icons" || step == "list")
            m_selector->setIconViewMode(step == "icons");
        else
            m_selector->setThumbnailSize(step.toInt());
    }
    QCOMPARE(view()->gridSize(), grid);
    QCOMPARE(view()->viewMode(), grid.isValid() ? QListView::IconMode : QListView::ListMode);
    QVERIFY(view()->isWrapping());
}

void TestImageFileSelector::thumbnailSize_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QVector<qreal>>("pinches");
    QTest::addColumn<int>("size");
    QTest::newRow("pinch to 300 is held at 256") << 150 << QVector<qreal>{2.0} << 256;
    QTest::newRow("pinch to 20 is held at 32") << 40 << QVector<qreal>{0.5} << 32;
    QTest::newRow("pinch rounds to the nearest") << 100 << QVector<qreal>{1.234} << 123;
    QTest::newRow("slow pinch steps add up") << 32 << QVector<qreal>(10, 1.01) << 35;
    QTest::newRow("back from the bound at once") << 200 << QVector<qreal>{2.0, 0.5} << 128;
    QTest::newRow("too big a stored size") << 5000 << QVector<qreal>{} << 256;
}

void TestImageFileSelector::thumbnailSize()
{
    QFETCH(int, start);
    QFETCH(QVector<qreal>, pinches);
    QFETCH(int, size);
    QSignalSpy spy(m_selector.get(), &ImageFileSelector::thumbnailSizeChanged);
    m_selector->setThumbnailSize(start);
    for (const qreal scale : pinches) {
        QPinchGesture gesture;
        gesture.setChangeFlags(QPinchGesture::ScaleFactorChanged);
        gesture.setScaleFactor(scale);
        QGestureEvent event({&gesture});
        QApplication::sendEvent(view()->viewport(), &event);
    }
    QCOMPARE(view()->iconSize(), QSize(size, size));
    QCOMPARE(spy.last().first().toInt(), size);
}

LUMO_TEST_MAIN(TestImageFileSelector)
#include "tst_imagefileselector.moc"
