#include "support/lumotest.h"

#include "platform/lumofm/navigation.h"
#include "platform/lumofm/vfs.h"
#include "platformwidgets/lumofm/locationbar.h"
#include "platformwidgets/lumofm/navigationactions.h"
#include "platformwidgets/lumofm/refreshaction.h"
#include "platformwidgets/lumofm/treewidget.h"

#include <QAction>
#include <QCompleter>
#include <QDir>
#include <QFileSystemModel>
#include <QGestureEvent>
#include <QPinchGesture>
#include <QScrollBar>
#include <QTimer>

using LumoFM::Entry;
using LumoFM::Navigation;
using LumoFM::TreeWidget;

namespace {

constexpr int kSiblings = 40;

// The whole row, and its name from its branch on: whole, or as much as fits a narrow tree.
bool rowInView(const TreeWidget& tree, const QModelIndex& index)
{
    const QRect rect = tree.visualRect(index);
    const QSize view = tree.viewport()->size();
    const int right = rect.left() + tree.sizeHintForIndex(index).width();
    return rect.isValid() && rect.top() >= 0 && rect.bottom() < view.height()
        && rect.left() >= tree.indentation()
        && (right <= view.width() || rect.left() == tree.indentation());
}

} // namespace

// Back, forward and up history with its actions, and the two views that follow and drive it:
// the location bar and the directory tree.
class TestNavigation : public QObject
{
    Q_OBJECT

    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(path("a/deep/er")) && QDir().mkpath(path("b")));
        // Enough siblings that a directory late in the list is out of a small tree's view.
        for (int i = 0; i < kSiblings; ++i)
            QVERIFY(QDir().mkpath(path(QString::asprintf("many/d%02d", i))));
        QVERIFY(QDir().mkpath(path("many/d37/inner")));
        QVERIFY(QFile(path("a/f.png")).open(QIODevice::WriteOnly));
    }

    void history_data() { lumotest::addRows(QStringLiteral("navigationhistory.txt")); }

    void history()
    {
        QFETCH(QString, steps);
        QFETCH(QString, current);
        QFETCH(QString, possible);
        QFETCH(int, announcements);

        Navigation navigation;
        LumoFM::NavigationActions actions(&navigation);
        LumoFM::RefreshAction refresh(&navigation);
        QSignalSpy spy(&navigation, &Navigation::currentChanged);
        using Move = void (Navigation::*)();
        const QMap<QString, QPair<QAction*, Move>> moves{
            {"<", {actions.backAction(), &Navigation::back}},
            {">", {actions.forwardAction(), &Navigation::forward}},
            {"^", {actions.upAction(), &Navigation::up}},
            {"r", {&refresh, &Navigation::refresh}}};
        for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!moves.contains(step)) {
                navigation.setCurrent(step == "-" ? Entry() : Entry(step));
                continue;
            }
            // Through the action while it is enabled, so its wiring is covered; directly
            // otherwise, so the navigation's own guard is.
            const auto [action, move] = moves.value(step);
            if (action->isEnabled())
                action->trigger();
            else
                (navigation.*move)();
        }

        QCOMPARE(navigation.current().path(), current);
        const auto names = [](bool back, bool forward, bool up) {
            return QStringList({back ? "back" : "", forward ? "forward" : "", up ? "up" : ""})
                .join(QLatin1Char(' '))
                .simplified();
        };
        QCOMPARE(names(navigation.canGoBack(), navigation.canGoForward(), navigation.canGoUp()),
                 possible);
        QCOMPARE(names(actions.backAction()->isEnabled(), actions.forwardAction()->isEnabled(),
                       actions.upAction()->isEnabled()),
                 possible);
        QCOMPARE(refresh.isEnabled(), !current.isEmpty());
        QCOMPARE(spy.count(), announcements);
        if (!spy.isEmpty())
            QCOMPARE(spy.last().at(0).value<Entry>().path(), current);
    }

    void historyIsBounded()
    {
        Navigation navigation;
        for (int i = 0; i <= Navigation::historyLimit + 10; ++i)
            navigation.setCurrent(Entry(QStringLiteral("/d%1").arg(i)));
        int steps = 0;
        for (; navigation.canGoBack(); ++steps)
            navigation.back();
        QCOMPARE(steps, Navigation::historyLimit);
        QCOMPARE(navigation.current().path(), QStringLiteral("/d10"));
    }

    void actionsOutliveNavigation()
    {
        auto navigation = std::make_unique<Navigation>();
        navigation->setCurrent(Entry("/a"));
        navigation->setCurrent(Entry("/b"));
        LumoFM::NavigationActions actions(navigation.get());
        LumoFM::RefreshAction refresh(navigation.get());
        navigation.reset();
        QVERIFY(!actions.backAction()->isEnabled());
        QVERIFY(!refresh.isEnabled());
        actions.backAction()->trigger();
        refresh.trigger();
    }

    void locationBar_data() { lumotest::addRows(QStringLiteral("navigation-locationbar.txt")); }

    void locationBar()
    {
        QFETCH(QString, typed);
        QFETCH(QString, then);
        QFETCH(QString, current);
        QFETCH(QString, mark);
        QFETCH(QString, text);
        typed.replace('_', ' ').replace('@', m_dir.path());
        QStringList after{current, mark, text};
        after.replaceInStrings("@", m_dir.path());

        Navigation navigation;
        navigation.setCurrent(LumoFM::VFS::ptr()->entry(path("a")));
        LumoFM::LocationBar bar(&navigation);
        QCOMPARE(bar.text(), path("a"));
        bar.setText(typed);
        QTest::keyClick(&bar, Qt::Key_Return);
        if (then == "navigate")
            navigation.setCurrent(LumoFM::VFS::ptr()->entry(path("b")));
        else if (!then.isEmpty())
            QTest::keyClick(&bar, then == "edit" ? Qt::Key_Backspace : Qt::Key_Escape);

        QCOMPARE(bar.toolTip().isEmpty(), !bar.isPathNotFound());
        QCOMPARE((QStringList{navigation.current().path(), bar.isPathNotFound() ? "!" : "",
                              bar.text()}),
                 after);
    }

    void treeFollowsAndDrivesNavigation()
    {
        Navigation navigation;
        TreeWidget tree(&navigation);
        tree.setRootEntry(Entry(m_dir.path()));
        const auto* model = qobject_cast<const QFileSystemModel*>(tree.model());
        QVERIFY(model);
        QSignalSpy spy(&navigation, &Navigation::currentChanged);

        navigation.setCurrent(Entry(path("a/deep")));
        QCOMPARE(model->filePath(tree.currentIndex()), path("a/deep"));
        // Following must not echo back as another navigation step.
        QCOMPARE(spy.count(), 1);
        QVERIFY(!navigation.canGoBack());

        tree.setCurrentIndex(model->index(path("b")));
        QCOMPARE(navigation.current().path(), path("b"));
        navigation.back();
        QCOMPARE(model->filePath(tree.currentIndex()), path("a/deep"));
    }

    void treePinch()
    {
        TreeWidget tree(nullptr);
        const QSize baseIcons = tree.iconSize();
        const auto pinch = [&tree](qreal scale) {
            QPinchGesture gesture;
            gesture.setChangeFlags(QPinchGesture::ScaleFactorChanged);
            gesture.setScaleFactor(scale);
            QGestureEvent event({&gesture});
            QCoreApplication::sendEvent(tree.viewport(), &event);
            return tree.zoom();
        };
        QCOMPARE(pinch(2.0), 1.0); // off until switched on
        tree.setPinchZoomEnabled(true);
        pinch(1.5);
        QCOMPARE(pinch(1.5), 2.25);
        if (baseIcons.isValid())
            QCOMPARE(tree.iconSize(), baseIcons * 2.25);
        QCOMPARE(pinch(4.0), TreeWidget::maximumZoom);
        QCOMPARE(pinch(0.01), TreeWidget::minimumZoom);
    }

    void treeShowsCurrentDirectory_data()
    {
        lumotest::addRows(QStringLiteral("treecurrentdirectory.txt"));
    }

    void treeShowsCurrentDirectory()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(bool, rootLater);
        QFETCH(QString, shown);

        Navigation navigation;
        navigation.setCurrent(Entry(m_dir.path()));
        for (const QString& visit : before.split(' ', Qt::SkipEmptyParts))
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
        for (const QString& visit : after.split(' ', Qt::SkipEmptyParts)) {
            navigation.setCurrent(Entry(path(visit)));
            QTRY_VERIFY(rowInView(tree, model->index(path(visit))));
        }

        // Once every listing is in and sorted, as the model's own timer would, the directory must
        // still be in view, not where it stood while its siblings were missing.
        QTRY_COMPARE(model->rowCount(model->index(path("many"))), kSiblings);
        QTRY_COMPARE(model->rowCount(model->index(m_dir.path())), 3);
        model->sort(0);
        const QModelIndex current = model->index(path(shown));
        QCOMPARE(tree.currentIndex(), current);
        QVERIFY(tree.selectionModel()->isSelected(current));
        for (QModelIndex up = current.parent(); up != tree.rootIndex(); up = up.parent())
            QVERIFY(tree.isExpanded(up));
        QTRY_VERIFY(rowInView(tree, current));
        // Other names keep their left edges: sideways only as far as this one needs.
        const int right = tree.visualRect(current).left() + tree.sizeHintForIndex(current).width();
        QVERIFY(tree.horizontalScrollBar()->value() == 0 || right >= tree.viewport()->width());
    }

    void completerOffersDirectoriesOnly()
    {
        // As in the browser: the tree shows the current directory, the user types below it.
        Navigation navigation;
        navigation.setCurrent(Entry(m_dir.path()));
        TreeWidget tree(&navigation);
        tree.setRootEntry(LumoFM::VFS::ptr()->rootEntry());
        QCompleter* completer = tree.createPathCompleter();
        completer->setCompletionPrefix(path("a/"));
        QTRY_COMPARE(completer->completionCount(), 1);
        QCOMPARE(completer->currentCompletion(), path("a/deep"));
    }
};

LUMO_TEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
