#include "support/lumotest.h"

#include "platform/lumofm/navigation.h"
#include "platform/lumofm/treewidget.h"
#include "platform/lumofm/vfs.h"

#include <QCompleter>
#include <QDir>
#include <QFileSystemModel>
#include <QGestureEvent>
#include <QPinchGesture>

using LumoFM::Entry;
using LumoFM::Navigation;
using LumoFM::TreeWidget;

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

private:
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir m_dir;
};

void TestTreeWidget::initTestCase()
{
    QVERIFY(QDir().mkpath(path(QStringLiteral("a/deep/er"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("b"))));
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
