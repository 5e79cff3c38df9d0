#include "support/lumotest.h"

#include "browser/thumbnailloader.h"
#include "browser/thumbnailview.h"

#include <QFileSystemModel>
#include <mutex>
#include <QScrollBar>
#include <QSemaphore>
#include <QStandardItemModel>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>

// Thumbnails made on the loader's workers for a view: every core busy, no more at once than
// there are workers, what is in sight first, nothing for what scrolled away, and icons made
// again when the shown size needs the other size of the desktop's cache.
class TestThumbnailLoader : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<QTemporaryDir> m_cacheHome;
    std::unique_ptr<QStandardItemModel> m_model;
    std::unique_ptr<ThumbnailView> m_view;
    std::mutex m_readsLock;
    QStringList m_readFiles;

    QString writeImage(const QString& name, const QColor& color, QSize size = {30, 20})
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        const QString file = m_dir.filePath(name);
        return image.save(file, "PNG") ? file : QString();
    }

    QModelIndex addFile(const QString& file, const QString& text = QString())
    {
        auto* item = new QStandardItem(text);
        item->setData(file, QFileSystemModel::FilePathRole);
        m_model->appendRow(item);
        return item->index();
    }

    void show()
    {
        m_view->setModel(m_model.get());
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    bool idle() const { return m_view->pendingCount() == 0 && !m_view->isReadingInBackground(); }

    QString colourOf(const QModelIndex& index) const
    {
        return m_view->thumbnail(index).pixmap(16, 16).toImage().pixelColor(8, 5).name();
    }

private slots:
    void init()
    {
        m_cacheHome = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cacheHome->path()));
        m_model = std::make_unique<QStandardItemModel>();
        m_view = std::make_unique<ThumbnailView>();
        m_view->setViewMode(QListView::IconMode);
        m_view->setIconSize(QSize(40, 40));
        m_view->setGridSize(QSize(60, 60));
        m_view->resize(320, 200);
        m_readFiles.clear();
        m_view->setReadObserver([this](const QString& file) {
            const std::lock_guard<std::mutex> lock(m_readsLock);
            m_readFiles << QFileInfo(file).fileName();
        });
    }

    void cleanup()
    {
        m_view.reset();
        m_model.reset();
    }

    // A worker goes on to the next file queued without waiting for the asking thread to take
    // the last result; a loader that goes away drops what no worker has started.
    void workersNeverWaitForTheAskingThread()
    {
        QSemaphore reads;
        QSemaphore gate;
        std::atomic<int> decoded{0};
        {
            ThumbnailLoader loader;
            loader.setWorkerCount(1);
            loader.setDecodeObserver([&](const QString&) {
                reads.release();
                if (++decoded == 2)
                    gate.acquire(); // holds the worker while the queue is looked at
            });
            for (int i = 0; i < 4; ++i)
                loader.load(writeImage(QStringLiteral("q%1.png").arg(i), Qt::blue), 32);
            QVERIFY(loader.isFull());
            // No events are handled meanwhile: the second decode starts all the same.
            QVERIFY(reads.tryAcquire(2, 30000));
            QCOMPARE(loader.dropQueued().size(), 2);
            QCOMPARE(loader.runningCount(), 2);
            gate.release();
        }
        QCOMPARE(decoded.load(), 2);
    }

    void bigFolderOnEveryWorker_data()
    {
        QTest::addColumn<int>("workers");
        QTest::newRow("one worker per core") << QThread::idealThreadCount();
        QTest::newRow("more than cores asked: one per core") << QThread::idealThreadCount() + 1;
    }

    // Every thumbnail of a folder in sight arrives, each its own, with no more decodes at a time
    // than there are workers, and all of them busy.
    void bigFolderOnEveryWorker()
    {
        QFETCH(int, workers);
        constexpr int files = 100;
        m_view->loader()->setWorkerCount(workers);
        workers = qMin(workers, QThread::idealThreadCount());
        QCOMPARE(m_view->loader()->workerCount(), workers);
        for (int i = 0; i < files; ++i)
            addFile(writeImage(QStringLiteral("f%1.png").arg(i), QColor::fromHsv(i * 2, 255, 255)),
                    QString::number(i));
        std::atomic<int> running{0};
        std::atomic<int> mostAtOnce{0};
        std::atomic_bool onGuiThread{false};
        std::mutex lock;
        std::condition_variable allBusy;
        int arrived = 0;
        m_view->setReadObserver([&](const QString&) {
            const int now = ++running;
            for (int most = mostAtOnce; now > most && !mostAtOnce.compare_exchange_weak(most, now);)
                ;
            if (QThread::currentThread() == qApp->thread())
                onGuiThread = true;
            {
                // The first reads wait for one another, so every worker is seen busy at once.
                std::unique_lock<std::mutex> guard(lock);
                if (arrived < workers && ++arrived == workers)
                    allBusy.notify_all();
                allBusy.wait_for(guard, std::chrono::seconds(30), [&] { return arrived >= workers; });
            }
            --running;
        });
        m_view->setIconSize(QSize(16, 16));
        m_view->setGridSize(QSize(20, 20));
        m_view->resize(400, 200); // every item in sight
        show();
        m_view->loadTimer()->stop();
        m_view->loadVisibleThumbnails();
        // Sanitized builds on a busy machine take their time.
        QTRY_COMPARE_WITH_TIMEOUT(m_view->thumbnailCache().count(), files, 60000);
        QTRY_VERIFY(!m_view->isReadingInBackground());
        for (int i = 0; i < files; ++i)
            QCOMPARE(colourOf(m_model->index(i, 0)), QColor::fromHsv(i * 2, 255, 255).name());
        QCOMPARE(mostAtOnce.load(), workers);
        QVERIFY(!onGuiThread);
    }

    void iconSizeChange_data()
    {
        QTest::addColumn<int>("newSide");
        QTest::addColumn<int>("madeEdge"); // of the icon after the change
        QTest::addColumn<int>("decodes");
        QTest::newRow("40 to 128: the normal size still holds it") << 128 << 128 << 1;
        QTest::newRow("40 to 200: made again from the large size") << 200 << 256 << 2;
    }

    void iconSizeChange()
    {
        QFETCH(int, newSide);
        QFETCH(int, madeEdge);
        QFETCH(int, decodes);
        const QModelIndex index = addFile(writeImage("wide.png", Qt::red, {600, 300}));
        show();
        m_view->loadVisibleThumbnails();
        QTRY_VERIFY(idle());
        QCOMPARE(m_view->thumbnail(index).availableSizes(), QList<QSize>{QSize(128, 64)});
        m_view->setIconSize(QSize(newSide, newSide));
        m_view->setGridSize(QSize(newSide + 20, newSide + 20));
        QTRY_COMPARE(m_view->thumbnail(index).availableSizes(),
                     QList<QSize>{QSize(madeEdge, madeEdge / 2)});
        QTRY_VERIFY(!m_view->loadTimer()->isActive() && idle());
        const std::lock_guard<std::mutex> lock(m_readsLock);
        QCOMPARE(m_readFiles.size(), decodes);
    }

    void orderFollowsSight_data()
    {
        QTest::addColumn<bool>("scrollAway");
        QTest::newRow("items in sight before those at the edges") << false;
        QTest::newRow("items scrolled away before their turn are never decoded") << true;
    }

    void orderFollowsSight()
    {
        QFETCH(bool, scrollAway);
        constexpr int files = 100;
        // One worker decodes in the order asked.
        m_view->loader()->setWorkerCount(1);
        for (int i = 0; i < files; ++i)
            addFile(writeImage(QStringLiteral("f%1.png").arg(i), Qt::red), QString::number(i));
        show();
        m_view->loadTimer()->stop();
        QTRY_VERIFY(idle());
        m_readFiles.clear();
        m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->maximum() / 2);
        m_view->loadTimer()->stop();
        m_view->loadVisibleThumbnails();
        if (scrollAway) {
            m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->maximum());
            m_view->loadTimer()->stop();
            m_view->loadVisibleThumbnails();
        }
        QTRY_VERIFY(idle());
        QStringList inSight;
        QStringList atEdges;
        const QRect viewport = m_view->viewport()->rect();
        for (int i = 0; i < files; ++i) {
            const QRect rect = m_view->visualRect(m_model->index(i, 0));
            if (rect.intersects(viewport))
                inSight << QStringLiteral("f%1.png").arg(i);
            else if (rect.intersects(viewport.adjusted(-40, -40, 39, 39)))
                atEdges << QStringLiteral("f%1.png").arg(i);
        }
        // At the end there is nothing below, and what lies above may not reach into the edge.
        QVERIFY(!inSight.isEmpty() && (scrollAway || !atEdges.isEmpty()));
        const std::lock_guard<std::mutex> lock(m_readsLock);
        QStringList reads = m_readFiles;
        // Of the middle, only a decode already under way is left, and it came first.
        if (scrollAway && reads.size() == inSight.size() + atEdges.size() + 1)
            QVERIFY(!(inSight + atEdges).contains(reads.takeFirst()));
        QCOMPARE(reads, inSight + atEdges);
    }
};

LUMO_TEST_MAIN(TestThumbnailLoader)
#include "tst_thumbnailloader.moc"
