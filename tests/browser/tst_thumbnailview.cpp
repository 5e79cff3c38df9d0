#include "support/lumotest.h"
#include "support/testicontheme.h"

#include "browser/thumbnailview.h"

#include <QFileSystemModel>
#include <QMutex>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QThreadPool>
#include <QTimer>

// Lazy loading: when it starts, what is queued, where files are read, what items show, and how
// the cache and the current item follow the model.
class TestThumbnailView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void itemShows_data();
    void itemShows();
    void hiddenViewQueuesNothing();
    void loadTimerRestarts_data();
    void loadTimerRestarts();
    void currentAfterRemoval_data();
    void currentAfterRemoval();
    void cacheEmptiedOrKept_data();
    void cacheEmptiedOrKept();
    void backgroundReadOutlived_data();
    void backgroundReadOutlived();

private:
    QString writeImage(const QString& name, const QColor& color, qint64 paddedSize = 0);
    QModelIndex addFile(const QString& file, const QString& text = QString());
    void showView();
    void loadAll();
    QString describe(const QModelIndex& index) const;

    QTemporaryDir m_dir;
    std::unique_ptr<QStandardItemModel> m_model;
    std::unique_ptr<ThumbnailView> m_view;
    QMutex m_readsLock;
    QList<bool> m_readOnGuiThread;
};

void TestThumbnailView::initTestCase()
{
    QVERIFY(lumotest::installTestIconTheme(m_dir.filePath("icons"),
                                           {"image-x-generic", "image-missing", "folder"}));
}

void TestThumbnailView::init()
{
    m_model = std::make_unique<QStandardItemModel>();
    m_view = std::make_unique<ThumbnailView>();
    m_view->setViewMode(QListView::IconMode);
    m_view->setIconSize(QSize(40, 40));
    m_view->setGridSize(QSize(60, 60));
    m_view->resize(320, 200);
    m_readOnGuiThread.clear();
    m_view->setReadObserver([this](const QString&) {
        QMutexLocker lock(&m_readsLock);
        m_readOnGuiThread << (QThread::currentThread() == qApp->thread());
    });
}

void TestThumbnailView::cleanup()
{
    m_view.reset();
    m_model.reset();
    QThreadPool::globalInstance()->waitForDone();
}

QString TestThumbnailView::writeImage(const QString& name, const QColor& color, qint64 paddedSize)
{
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(color);
    QFile file(m_dir.filePath(name));
    // Readers stop at the end of the picture; padding only makes the file big.
    const bool ok = image.save(file.fileName(), "PNG")
        && (paddedSize == 0 || (file.open(QIODevice::Append) && file.resize(paddedSize)));
    return ok ? file.fileName() : QString();
}

QModelIndex TestThumbnailView::addFile(const QString& file, const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setData(file, QFileSystemModel::FilePathRole);
    m_model->appendRow(item);
    return item->index();
}

void TestThumbnailView::showView()
{
    m_view->setModel(m_model.get());
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestThumbnailView::loadAll()
{
    m_view->loadVisibleThumbnails();
    QTRY_VERIFY(m_view->pendingCount() == 0 && !m_view->isReadingInBackground());
}

// A theme icon by its name, a picture by its colour.
QString TestThumbnailView::describe(const QModelIndex& index) const
{
    const QIcon icon = m_view->thumbnail(index);
    const QImage image = icon.pixmap(16, 16).toImage();
    return !icon.name().isEmpty() ? icon.name()
        : image.isNull()          ? QStringLiteral("null")
                                  : image.pixelColor(8, 5).name();
}

void TestThumbnailView::itemShows_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("readOn"); // the thread that read the file, if any
    QTest::newRow("4,999,999 bytes on the GUI thread")
        << "picture" << qint64(4999999) << "image-x-generic" << "#ff0000" << "gui";
    QTest::newRow("5,000,000 bytes on a worker")
        << "picture" << qint64(5000000) << "image-x-generic" << "#ff0000" << "worker";
    QTest::newRow("corrupt image")
        << "corrupt" << qint64(0) << "image-x-generic" << "image-missing" << "gui";
    QTest::newRow("directory") << "directory" << qint64(0) << "folder" << "folder" << "";
}

void TestThumbnailView::itemShows()
{
    QFETCH(QString, kind);
    QFETCH(qint64, size);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, readOn);
    QString file = writeImage(kind + ".png", Qt::red, size);
    if (kind == "directory") {
        file = m_dir.filePath(kind);
        QVERIFY(QDir().mkpath(file));
    } else if (kind == "corrupt") {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write("\x89PNG\r\n\x1a\nbroken") > 0);
    }
    const QModelIndex index = addFile(file);
    showView();
    QCOMPARE(describe(index), before);
    loadAll();
    QCOMPARE(describe(index), after);
    QMutexLocker lock(&m_readsLock);
    QStringList threads;
    for (const bool gui : qAsConst(m_readOnGuiThread))
        threads << (gui ? "gui" : "worker");
    QCOMPARE(threads.join(' '), readOn);
}

void TestThumbnailView::hiddenViewQueuesNothing()
{
    addFile(writeImage("hidden.png", Qt::red));
    m_view->setModel(m_model.get());
    m_view->loadVisibleThumbnails();
    QCOMPARE(m_view->pendingCount() + m_view->thumbnailCache().count() + m_readOnGuiThread.size(), 0);
}

void TestThumbnailView::loadTimerRestarts_data()
{
    QTest::addColumn<QString>("trigger");
    for (const char* trigger : {"scroll", "resize", "insert", "remove", "model", "layout"})
        QTest::newRow(trigger) << trigger;
}

void TestThumbnailView::loadTimerRestarts()
{
    QFETCH(QString, trigger);
    const QString file = writeImage("many.png", Qt::red);
    for (int i = 0; i < 60; ++i)
        addFile(file);
    showView();
    QTimer* timer = m_view->loadTimer();
    QVERIFY(timer->isActive() && timer->isSingleShot() && timer->interval() == 200);

    // Step after step, each one starts the delay afresh and none loads anything.
    QStandardItemModel other;
    for (int step = 1; step <= 4; ++step) {
        timer->stop();
        if (trigger == "scroll")
            m_view->verticalScrollBar()->setValue(step * 20);
        else if (trigger == "resize")
            m_view->resize(320 + step * 10, 200);
        else if (trigger == "insert")
            addFile(file);
        else if (trigger == "remove")
            m_model->removeRow(0);
        else if (trigger == "model")
            m_view->setModel(step % 2 ? static_cast<QAbstractItemModel*>(&other) : m_model.get());
        else
            m_model->sort(0, step % 2 ? Qt::DescendingOrder : Qt::AscendingOrder);
        QVERIFY2(timer->isActive(), qPrintable(QString::number(step)));
        QCOMPARE(m_view->pendingCount() + m_view->thumbnailCache().count(), 0);
    }
    QTRY_VERIFY(m_view->thumbnailCache().count() > 0); // the delay over, visible items load
}

void TestThumbnailView::currentAfterRemoval_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rows 3 to 5 with the current: next stays") << 4 << 3 << 5 << "item6";
    QTest::newRow("last two rows with the current: one before") << 9 << 8 << 9 << "item7";
    QTest::newRow("current before the removed rows is kept") << 1 << 3 << 5 << "item1";
    QTest::newRow("current after the removed rows is kept") << 8 << 3 << 5 << "item8";
    QTest::newRow("every row: left to the item view") << 4 << 0 << 9 << "";
}

void TestThumbnailView::currentAfterRemoval()
{
    QFETCH(int, current);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QString, expected);
    const QString file = writeImage("row.png", Qt::red);
    for (int row = 0; row < 10; ++row)
        addFile(file, QStringLiteral("item%1").arg(row));
    showView();
    loadAll();
    QCOMPARE(m_view->thumbnailCache().count(), 10);

    m_view->setCurrentIndex(m_model->index(current, 0));
    m_model->removeRows(first, last - first + 1);
    QCOMPARE(m_view->currentIndex().data().toString(), expected);
    QCOMPARE(m_view->thumbnailCache().count(), 10 - (last - first + 1));
    if (!expected.isEmpty()) // moved rows keep their icons
        QCOMPARE(describe(m_model->index(m_model->rowCount() - 1, 0)), QStringLiteral("#ff0000"));
}

void TestThumbnailView::cacheEmptiedOrKept_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("shown"); // what the first row shows afterwards
    QTest::newRow("model reset empties") << "reset" << 0 << "image-x-generic";
    QTest::newRow("layout change empties") << "layout" << 0 << "image-x-generic";
    QTest::newRow("another model meanwhile keeps") << "switch" << 3 << "#ff0000";
    QTest::newRow("model destroyed drops its icons") << "destroy" << 0 << "image-x-generic";
    QTest::newRow("over budget the least recently drawn goes") << "budget" << 2 << "#ff0000";
}

void TestThumbnailView::cacheEmptiedOrKept()
{
    QFETCH(QString, change);
    QFETCH(int, left);
    QFETCH(QString, shown);
    const QString file = writeImage("kept.png", Qt::red);
    for (int row = 0; row < 3; ++row)
        addFile(file, QString::number(row));
    showView();
    loadAll();
    QCOMPARE(m_view->thumbnailCache().count(), 3);

    QStandardItemModel other;
    if (change == "reset") {
        m_model->clear();
        addFile(file);
    } else if (change == "layout") {
        m_model->sort(0, Qt::DescendingOrder);
    } else if (change == "budget") {
        describe(m_model->index(0, 0)); // drawn last, so row 1 is the oldest
        describe(m_model->index(2, 0));
        m_view->setCacheBudget(2 * 30 * 20 * 4);
        QVERIFY(!m_view->thumbnailCache().contains(m_model->index(1, 0)));
    } else {
        m_view->setModel(&other);
        if (change == "destroy") {
            m_model = std::make_unique<QStandardItemModel>(); // same files, new items
            addFile(file);
        }
        m_view->setModel(m_model.get());
    }
    QCOMPARE(m_view->thumbnailCache().count(), left);
    QCOMPARE(m_view->pendingCount(), 0);
    QCOMPARE(describe(m_model->index(0, 0)), shown);
}

void TestThumbnailView::backgroundReadOutlived_data()
{
    QTest::addColumn<QString>("event");
    for (const char* event : {"view destroyed", "row removed", "model reset"})
        QTest::newRow(event) << event;
}

void TestThumbnailView::backgroundReadOutlived()
{
    QFETCH(QString, event);
    addFile(writeImage("big.png", Qt::red, 5000000));
    addFile(writeImage("small.png", Qt::green));
    showView();
    m_view->loadTimer()->stop();
    m_view->loadVisibleThumbnails();
    QVERIFY(m_view->isReadingInBackground());
    if (event == "view destroyed") {
        m_view.reset();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        return;
    }
    if (event == "row removed")
        m_model->removeRow(0);
    else
        m_model->clear();
    QThreadPool::globalInstance()->waitForDone();
    QTRY_VERIFY(m_view->pendingCount() == 0 && !m_view->isReadingInBackground());
    // The big one's result is dropped; the queue goes on with the small one.
    QCOMPARE(m_view->thumbnailCache().count(), event == "row removed" ? 1 : 0);
}

LUMO_TEST_MAIN(TestThumbnailView)
#include "tst_thumbnailview.moc"
