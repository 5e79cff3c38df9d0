#include "support/lumotest.h"

#include "platform/lumofm/navigation.h"
#include "platform/lumofm/treewidget.h"
#include "platform/lumofm/vfs.h"

#include <QCompleter>
#include <QDir>
#include <QFileSystemModel>
#include <QGestureEvent>
#include <QPinchGesture>
#include <QTimer>

using LumoFM::Entry;
using LumoFM::Navigation;
using LumoFM::TreeWidget;

namespace {

constexpr int kSiblings = 40;

// The whole row, and the name starting in the tree's left half.
bool rowInView(const TreeWidget& tree, const QModelIndex& index)
{
    const QRect rect = tree.visualRect(index);
    const QSize view = tree.viewport()->size();
    return rect.isValid() && rect.top() >= 0 && rect.bottom() < view.height() && rect.left() >= 0
        && rect.left() <= view.width() / 2;
}

} // namespace

// The directory tree follows the navigation and drives it.
class TestTreeWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void followsAndDrivesNavigation();
    void pinch_data();
    void pinch();
    void completerOffersDirectoriesOnly();
    void showsCurrentDirectory_data();
    void showsCurrentDirectory();

private:
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir m_dir;
};

void TestTreeWidget::initTestCase()
{
    QVERIFY(QDir().mkpath(path(QStringLiteral("a/deep/er"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("b"))));
    // Enough siblings that a directory late in the list is out of a small tree's view.
    for (int i = 0; i < kSiblings; ++i)
        QVERIFY(QDir().mkpath(path(QStringLiteral("many/d%1").arg(i, 2, 10, QLatin1Char('0')))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("many/d37/inner"))));
    QFile file(path(QStringLiteral("a/photo.png")));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void TestTreeWidget::followsAndDrivesNavigation()
{
    Navigation navigation;
    TreeWidget tree(&navigation);
    tree.setRootEntry(Entry(m_dir.path()));
    const auto* model = qobject_cast<const QFileSystemModel*>(tree.model());
    QVERIFY(model);
    QSignalSpy spy(&navigation, &Navigation::currentChanged);

    navigation.setCurrent(Entry(path(QStringLiteral("a/deep"))));
    QCOMPARE(model->filePath(tree.currentIndex()), path(QStringLiteral("a/deep")));
    QVERIFY(tree.isExpanded(tree.currentIndex()));
    QVERIFY(tree.isExpanded(tree.currentIndex().parent()));
    // Following must not echo back as another navigation step.
    QCOMPARE(spy.count(), 1);
    QVERIFY(!navigation.canGoBack());

    tree.setCurrentIndex(model->index(path(QStringLiteral("b"))));
    QCOMPARE(navigation.current().path(), path(QStringLiteral("b")));
    navigation.back();
    QCOMPARE(model->filePath(tree.currentIndex()), path(QStringLiteral("a/deep")));
}

void TestTreeWidget::pinch_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QList<qreal>>("scales");
    QTest::addColumn<double>("zoom");

    QTest::newRow("disabled ignores pinches") << false << QList<qreal>{2.0} << 1.0;
    QTest::newRow("steps multiply") << true << QList<qreal>{1.5, 1.5} << 2.25;
    QTest::newRow("clamped large") << true << QList<qreal>{4.0, 4.0} << TreeWidget::maximumZoom;
    QTest::newRow("clamped small") << true << QList<qreal>{0.1} << TreeWidget::minimumZoom;
}

void TestTreeWidget::pinch()
{
    QFETCH(bool, enabled);
    QFETCH(QList<qreal>, scales);
    QFETCH(double, zoom);

    TreeWidget tree(nullptr);
    const QSize baseIcons = tree.iconSize();
    tree.setPinchZoomEnabled(enabled);
    for (const qreal scale : scales) {
        QPinchGesture gesture;
        gesture.setChangeFlags(QPinchGesture::ScaleFactorChanged);
        gesture.setScaleFactor(scale);
        QGestureEvent event({&gesture});
        QCoreApplication::sendEvent(tree.viewport(), &event);
    }
    QCOMPARE(tree.zoom(), zoom);
    if (enabled && baseIcons.isValid())
        QCOMPARE(tree.iconSize(), baseIcons * zoom);
}

void TestTreeWidget::showsCurrentDirectory_data()
{
    QTest::addColumn<bool>("rootLater"); // as the browser does, one event-loop turn after
    QTest::addColumn<QStringList>("visits"); // before the tree exists, then after; "|" splits
    QTest::addColumn<QString>("shown");

    QTest::newRow("start-up, root set later")
        << true << QStringList{"many/d37/inner", "|"} << "many/d37/inner";
    QTest::newRow("start-up, root set at once")
        << false << QStringList{"many/d37", "|"} << "many/d37";
    QTest::newRow("moved to once the tree is up")
        << true << QStringList{"|", "many/d38"} << "many/d38";
    QTest::newRow("moved away and back to a listed directory")
        << false << QStringList{"|", "many/d37/inner", "a/deep/er", "many/d39"} << "many/d39";
}

void TestTreeWidget::showsCurrentDirectory()
{
    QFETCH(bool, rootLater);
    QFETCH(QStringList, visits);
    QFETCH(QString, shown);

    Navigation navigation;
    navigation.setCurrent(Entry(m_dir.path()));
    const int split = visits.indexOf(QStringLiteral("|"));
    for (const QString& visit : visits.mid(0, split))
        navigation.setCurrent(Entry(path(visit)));
    TreeWidget tree(&navigation);
    tree.resize(120, 160);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    if (rootLater)
        QTimer::singleShot(0, &tree, [&] { tree.setRootEntry(Entry(m_dir.path())); });
    else
        tree.setRootEntry(Entry(m_dir.path()));
    auto* model = qobject_cast<QFileSystemModel*>(tree.model());
    for (const QString& visit : visits.mid(split + 1)) {
        navigation.setCurrent(Entry(path(visit)));
        QTRY_VERIFY(rowInView(tree, model->index(path(visit))));
    }

    // Once every listing is in and sorted, as the model's own timer would, the directory must
    // still be in view, not where it stood while its siblings were missing.
    const QModelIndex many = model->index(path(QStringLiteral("many")));
    QTRY_COMPARE(model->rowCount(many), kSiblings);
    QTRY_COMPARE(model->rowCount(model->index(m_dir.path())), 3);
    model->sort(0);
    const QModelIndex current = model->index(path(shown));
    QCOMPARE(tree.currentIndex(), current);
    QVERIFY(tree.selectionModel()->isSelected(current));
    for (QModelIndex above = current.parent(); above != tree.rootIndex(); above = above.parent())
        QVERIFY(tree.isExpanded(above));
    QTRY_VERIFY(rowInView(tree, current));
}

void TestTreeWidget::completerOffersDirectoriesOnly()
{
    // As in the browser: the tree shows the current directory, the user types below it.
    Navigation navigation;
    navigation.setCurrent(Entry(m_dir.path()));
    TreeWidget tree(&navigation);
    tree.setRootEntry(LumoFM::VFS::ptr()->rootEntry());
    QCompleter* completer = tree.createPathCompleter();
    QCOMPARE(completer->parent(), &tree);

    completer->setCompletionPrefix(path(QStringLiteral("a/")));
    QTRY_COMPARE(completer->completionCount(), 1);
    QCOMPARE(completer->currentCompletion(), path(QStringLiteral("a/deep")));
}

LUMO_TEST_MAIN(TestTreeWidget)
#include "tst_treewidget.moc"
