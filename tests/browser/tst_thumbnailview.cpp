#include "support/lumotest.h"
#include "support/testicontheme.h"

#include "browser/thumbnailview.h"
#include "platform/lumothumbnails.h"

#include <QDateTime>
#include <QDir>
#include <QFileSystemModel>
#include <QMutex>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QThreadPool>
#include <QTimer>

// Lazy loading: when loading starts, what is queued, where files are read, what the items show,
// and how the cache and the current item follow the model.
class TestThumbnailView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void readThread_data();
    void readThread();
    void hiddenViewQueuesNothing();
    void loadTimerRestarts_data();
    void loadTimerRestarts();
    void itemShows_data();
    void itemShows();
    void currentAfterRemoval_data();
    void currentAfterRemoval();
    void relayoutEmptiesCache_data();
    void relayoutEmptiesCache();
    void cacheFollowsModelLifetime();
    void backgroundReadOutlived_data();
    void backgroundReadOutlived();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString writeImage(const QString& name, const QColor& color, qint64 paddedSize = 0);
    QStandardItem* addFile(const QString& file);
    void showView();
    void loadAll();
    QString describe(const QIcon& icon) const;

    QTemporaryDir m_dir;
    std::unique_ptr<QStandardItemModel> m_model;
    std::unique_ptr<ThumbnailView> m_view;
    QMutex m_readsLock;
    QList<QPair<QString, bool>> m_reads; // file, read on the GUI thread
};

void TestThumbnailView::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(lumotest::installTestIconTheme(
        m_dir.filePath(QStringLiteral("icons")),
        {QStringLiteral("image-x-generic"), QStringLiteral("image-missing"), QStringLiteral("folder")}));
}

void TestThumbnailView::init()
{
    m_model = std::make_unique<QStandardItemModel>();
    m_view = std::make_unique<ThumbnailView>();
    m_view->setViewMode(QListView::IconMode);
    m_view->setIconSize(QSize(40, 40));
    m_view->setGridSize(QSize(60, 60));
    m_view->resize(320, 200);
    m_view->setReadObserver([this](const QString& file) {
        QMutexLocker lock(&m_readsLock);
        m_reads.append({file, QThread::currentThread() == qApp->thread()});
    });
    m_reads.clear();
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
    const QString file = path(name);
    if (!image.save(file, "PNG"))
        return QString();
    QFile out(file);
    // Readers stop at the end of the picture; the padding only makes the file big.
    if (paddedSize > 0 && (!out.open(QIODevice::Append) || !out.resize(paddedSize)))
        return QString();
    return file;
}

QStandardItem* TestThumbnailView::addFile(const QString& file)
{
    auto* item = new QStandardItem(QFileInfo(file).fileName());
    item->setData(file, QFileSystemModel::FilePathRole);
    m_model->appendRow(item);
    return item;
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
    QTRY_COMPARE(m_view->pendingCount(), 0);
    QTRY_VERIFY(!m_view->isReadingInBackground());
}

QString TestThumbnailView::describe(const QIcon& icon) const
{
    if (!icon.name().isEmpty())
        return icon.name();
    const QImage image = icon.pixmap(16, 16).toImage();
    const QColor color = image.pixelColor(image.width() / 2, image.height() / 2);
    return color == QColor(Qt::green) ? QStringLiteral("green")
        : color == QColor(Qt::red)    ? QStringLiteral("red")
                                      : color.name();
}

void TestThumbnailView::readThread_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("guiThread");
    QTest::newRow("4,999,999 bytes on the GUI thread") << qint64(4999999) << true;
    QTest::newRow("5,000,000 bytes on a worker") << qint64(5000000) << false;
}

void TestThumbnailView::readThread()
{
    QFETCH(qint64, size);
    QFETCH(bool, guiThread);
    const QString file = writeImage(QStringLiteral("sized.png"), Qt::red, size);
    QVERIFY(!file.isEmpty());
    QCOMPARE(QFileInfo(file).size(), size);
    const QModelIndex index = addFile(file)->index();
    showView();

    loadAll();
    QCOMPARE(describe(m_view->thumbnail(index)), QStringLiteral("red"));
    QMutexLocker lock(&m_readsLock);
    QVERIFY(!m_reads.isEmpty());
    QCOMPARE(m_reads.first().first, file);
    QCOMPARE(m_reads.first().second, guiThread);
}

void TestThumbnailView::hiddenViewQueuesNothing()
{
    addFile(writeImage(QStringLiteral("hidden.png"), Qt::red));
    m_view->setModel(m_model.get());
    m_view->loadVisibleThumbnails();
    QCOMPARE(m_view->pendingCount(), 0);
    QCOMPARE(m_view->thumbnailCache().count(), 0);
    QVERIFY(m_reads.isEmpty());
}

void TestThumbnailView::loadTimerRestarts_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("scroll step") << "scroll";
    QTest::newRow("resize") << "resize";
    QTest::newRow("rows inserted") << "insert";
    QTest::newRow("rows removed") << "remove";
    QTest::newRow("model changed") << "model";
    QTest::newRow("layout changed") << "layout";
}

void TestThumbnailView::loadTimerRestarts()
{
    QFETCH(QString, trigger);
    const QString file = writeImage(QStringLiteral("many.png"), Qt::red);
    for (int i = 0; i < 60; ++i)
        addFile(file);
    showView();
    QTimer* timer = m_view->loadTimer();
    QCOMPARE(timer->interval(), 200);
    QVERIFY(timer->isSingleShot());
    QVERIFY(timer->isActive()); // from being shown

    // Several steps in a row: each one starts the delay afresh and none loads anything.
    QStandardItemModel other;
    for (int step = 1; step <= 4; ++step) {
        timer->stop();
        if (trigger == QLatin1String("scroll"))
            m_view->verticalScrollBar()->setValue(step * 20);
        else if (trigger == QLatin1String("resize"))
            m_view->resize(320 + step * 10, 200);
        else if (trigger == QLatin1String("insert"))
            addFile(file);
        else if (trigger == QLatin1String("remove"))
            m_model->removeRow(0);
        else if (trigger == QLatin1String("model"))
            m_view->setModel(step % 2 ? static_cast<QAbstractItemModel*>(&other) : m_model.get());
        else
            m_model->sort(0, step % 2 ? Qt::DescendingOrder : Qt::AscendingOrder);
        QVERIFY2(timer->isActive(), qPrintable(QStringLiteral("step %1").arg(step)));
        QCOMPARE(m_view->pendingCount(), 0);
        QCOMPARE(m_view->thumbnailCache().count(), 0);
    }
    // The delay over, the visible items load.
    QTRY_VERIFY(m_view->thumbnailCache().count() > 0);
}

void TestThumbnailView::itemShows_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("current desktop thumbnail") << "current" << "image-x-generic" << "green";
    QTest::newRow("stale desktop thumbnail") << "stale" << "image-x-generic" << "red";
    QTest::newRow("no desktop thumbnail") << "plain" << "image-x-generic" << "red";
    QTest::newRow("corrupt image") << "corrupt" << "image-x-generic" << "image-missing";
    QTest::newRow("directory") << "directory" << "folder" << "folder";
}

void TestThumbnailView::itemShows()
{
    QFETCH(QString, kind);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QString file = path(kind + QStringLiteral(".png"));
    if (kind == QLatin1String("directory")) {
        QVERIFY(QDir(m_dir.path()).mkpath(kind));
        file = path(kind);
    } else if (kind == QLatin1String("corrupt")) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("\x89PNG\r\n\x1a\nbroken");
    } else {
        QVERIFY(!writeImage(kind + QStringLiteral(".png"), Qt::red).isEmpty());
    }
    if (kind == QLatin1String("current") || kind == QLatin1String("stale")) {
        QImage cached(30, 20, QImage::Format_RGB32);
        cached.fill(Qt::green);
        const qint64 mtime = QFileInfo(file).lastModified().toSecsSinceEpoch();
        cached.setText(QStringLiteral("Thumb::MTime"),
                       QString::number(kind == QLatin1String("current") ? mtime : mtime - 60));
        const QString cachePath = LumoThumbnails::thumbnailPath(file, 1);
        QVERIFY(QDir().mkpath(QFileInfo(cachePath).path()));
        QVERIFY(cached.save(cachePath, "PNG"));
    }
    const QModelIndex index = addFile(file)->index();
    showView();

    QCOMPARE(describe(m_view->thumbnail(index)), before);
    loadAll();
    QCOMPARE(describe(m_view->thumbnail(index)), after);
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
    QTest::newRow("every row: left to the item view") << 4 << 0 << 9 << QString();
}

void TestThumbnailView::currentAfterRemoval()
{
    QFETCH(int, current);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QString, expected);
    const QString file = writeImage(QStringLiteral("row.png"), Qt::red);
    for (int row = 0; row < 10; ++row)
        addFile(file)->setText(QStringLiteral("item%1").arg(row));
    showView();
    loadAll();
    QCOMPARE(m_view->thumbnailCache().count(), 10);

    m_view->setCurrentIndex(m_model->index(current, 0));
    m_model->removeRows(first, last - first + 1);
    QCOMPARE(m_view->currentIndex().data().toString(), expected);
    // The removed rows' icons are gone with them.
    QCOMPARE(m_view->thumbnailCache().count(), 10 - (last - first + 1));
}

void TestThumbnailView::relayoutEmptiesCache_data()
{
    QTest::addColumn<bool>("reset");
    QTest::newRow("model reset") << true;
    QTest::newRow("layout change") << false;
}

void TestThumbnailView::relayoutEmptiesCache()
{
    QFETCH(bool, reset);
    const QString file = writeImage(QStringLiteral("relayout.png"), Qt::red);
    for (int row = 0; row < 6; ++row)
        addFile(file)->setText(QString::number(row));
    showView();
    loadAll();
    QCOMPARE(m_view->thumbnailCache().count(), 6);

    if (reset) {
        m_model->clear();
        addFile(file);
    } else {
        m_model->sort(0, Qt::DescendingOrder);
    }
    QCOMPARE(m_view->thumbnailCache().count(), 0);
    QCOMPARE(m_view->pendingCount(), 0);
    QCOMPARE(describe(m_view->thumbnail(m_model->index(0, 0))), QStringLiteral("image-x-generic"));
    QVERIFY(m_view->loadTimer()->isActive());
}

void TestThumbnailView::cacheFollowsModelLifetime()
{
    addFile(writeImage(QStringLiteral("first.png"), Qt::red));
    showView();
    loadAll();
    QCOMPARE(m_view->thumbnailCache().count(), 1);

    // Another model meanwhile keeps the first one's icons while it lives.
    auto second = std::make_unique<QStandardItemModel>();
    m_view->setModel(second.get());
    QCOMPARE(m_view->thumbnailCache().count(), 1);
    m_view->setModel(m_model.get());
    QCOMPARE(describe(m_view->thumbnail(m_model->index(0, 0))), QStringLiteral("red"));

    m_view->setModel(second.get());
    const QString file = m_model->index(0, 0).data(QFileSystemModel::FilePathRole).toString();
    m_model.reset();
    QCOMPARE(m_view->thumbnailCache().count(), 0);

    // A new model showing the same file starts from the placeholder.
    m_model = std::make_unique<QStandardItemModel>();
    addFile(file);
    m_view->setModel(m_model.get());
    QCOMPARE(describe(m_view->thumbnail(m_model->index(0, 0))), QStringLiteral("image-x-generic"));
}

void TestThumbnailView::backgroundReadOutlived_data()
{
    QTest::addColumn<QString>("event");
    QTest::newRow("view destroyed") << "destroy";
    QTest::newRow("row removed") << "remove";
    QTest::newRow("model reset") << "reset";
}

void TestThumbnailView::backgroundReadOutlived()
{
    QFETCH(QString, event);
    const QString big = writeImage(QStringLiteral("big.png"), Qt::red, 5000000);
    const QString small = writeImage(QStringLiteral("small.png"), Qt::green);
    addFile(big);
    addFile(small);
    showView();
    m_view->loadTimer()->stop();
    m_view->loadVisibleThumbnails();
    QVERIFY(m_view->isReadingInBackground());

    if (event == QLatin1String("destroy")) {
        m_view.reset();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
        return;
    }
    if (event == QLatin1String("remove"))
        m_model->removeRow(0);
    else
        m_model->clear();
    QThreadPool::globalInstance()->waitForDone();
    QTRY_VERIFY(!m_view->isReadingInBackground());
    QTRY_COMPARE(m_view->pendingCount(), 0);
    QCOMPARE(m_view->thumbnailCache().contains(m_model->index(0, 0)),
             event == QLatin1String("remove"));
    QCOMPARE(m_view->thumbnailCache().count(), event == QLatin1String("remove") ? 1 : 0);
}

LUMO_TEST_MAIN(TestThumbnailView)
#include "tst_thumbnailview.moc"
