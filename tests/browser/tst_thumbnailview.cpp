#include "support/lumotest.h"
#include "support/testicontheme.h"

#include "browser/filethumbnailprovider.h"
#include "browser/thumbnailloader.h"
#include "browser/imagesdirview.h"
#include "browser/thumbnailsbar.h"
#include "browser/thumbnailview.h"
#include "platform/lumothumbnails.h"
#include "platform/writtenfiles.h"

#include <QFileSystemModel>
#include <QMutex>
#include <QSemaphore>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTimeLine>
#include <QTimer>
#include <QTouchDevice>

#include <exiv2/exiv2.hpp>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

// The bounding box of the pixels that match.
template <typename Match> static QRect pixelsWhere(const QImage& image, Match match)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            box |= match(image.pixel(x, y)) ? QRect(x, y, 1, 1) : QRect();
    return box;
}

// Thumbnails: where a file's comes from, when the view loads them and on which thread, what
// items show, how the cache and the current item follow the model, and the one-row bar; made on
// the loader's workers, every core busy but no more at once than there are workers, what is in
// sight first, nothing for what scrolled away, and made again when the shown size needs the
// other size of the desktop's cache.
class TestThumbnailView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<QTemporaryDir> m_cacheHome;
    std::unique_ptr<QStandardItemModel> m_model;
    std::unique_ptr<ThumbnailView> m_view;
    std::unique_ptr<ThumbnailsBar> m_bar;
    QMutex m_readsLock;
    QStringList m_readThreads;
    QStringList m_readFiles;

    QString writeImage(const QString& name, const QColor& color, QSize size = {30, 20})
    {
        return lumotest::writeSolid(m_dir.filePath(name), size, color);
    }

    QModelIndex addFile(const QString& file, const QString& text = QString())
    {
        auto* item = new QStandardItem(text);
        item->setData(file, QFileSystemModel::FilePathRole);
        m_model->appendRow(item);
        return item->index();
    }

    void show(QListView* view)
    {
        view->setModel(m_model.get());
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view));
    }

    bool idle() const { return m_view->pendingCount() == 0 && !m_view->isReadingInBackground(); }

    void loadAll()
    {
        m_view->loadVisibleThumbnails();
        QTRY_VERIFY(idle());
    }

    // A theme icon by its name, a picture by its colour.
    QString describe(const QModelIndex& index) const
    {
        const QIcon icon = m_view->thumbnail(index);
        return icon.name().isEmpty() ? icon.pixmap(16, 16).toImage().pixelColor(8, 5).name()
                                     : icon.name();
    }

    // A bar over items without files: its behaviour does not depend on the pictures.
    void fillBar(int rows, int current)
    {
        for (int r = 0; r < rows; ++r)
            m_model->appendRow(new QStandardItem(QStringLiteral("item%1").arg(r)));
        m_bar = std::make_unique<ThumbnailsBar>();
        m_bar->resize(400, 120);
        show(m_bar.get());
        if (current >= 0)
            m_bar->setCurrentIndex(m_model->index(current, 0));
        QTRY_COMPARE(m_bar->findChild<QTimeLine*>()->state(), QTimeLine::NotRunning);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(lumotest::installTestIconTheme(m_dir.filePath("icons"),
                                               {"image-x-generic", "image-missing", "folder"}));
    }

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
        m_readThreads.clear();
        m_readFiles.clear();
        m_view->setReadObserver([this](const QString& file) {
            QMutexLocker lock(&m_readsLock);
            m_readThreads << (QThread::currentThread() == qApp->thread() ? "gui" : "worker");
            m_readFiles << QFileInfo(file).fileName();
        });
    }

    void cleanup()
    {
        m_bar.reset();
        m_view.reset();
        m_model.reset();
    }

    void decodesSmallAndUpright()
    {
        // Red left half, blue right half, to be turned 90 degrees clockwise to show.
        QImage image(400, 200, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QPainter(&image).fillRect(0, 0, 200, 200, Qt::red);
        const QString file = m_dir.filePath("turned.jpg");
        QVERIFY(image.save(file));
        auto exiv = Exiv2::ImageFactory::open(file.toStdString());
        Exiv2::ExifData exif;
        exif["Exif.Image.Orientation"] = uint16_t(6);
        exiv->setExifData(exif);
        exiv->writeMetadata();
        const QImage thumbnail = FileThumbnailProvider::readThumbnail(file);
        QCOMPARE(thumbnail.size(), QSize(128, 256));
        QVERIFY(qRed(thumbnail.pixel(64, 64)) > 200); // red on top
        QVERIFY(qBlue(thumbnail.pixel(64, 192)) > 200);
    }

    // When a stored thumbnail stands for its file is the desktop cache's test, and that a current
    // one is used and a stale one made again the provider's; here, that a file this program
    // writes anew is made again at once, though its second of change may not tell it from the
    // file before.
    void ownWriteMadeAnew()
    {
        const QString file = writeImage("written.png", Qt::red);
        const QDateTime changed = QFileInfo(file).lastModified();
        // Another program's current thumbnail, without a size, so that only the time tells.
        QImage cached(32, 24, QImage::Format_RGB32);
        cached.fill(Qt::green);
        cached.setText("Thumb::URI", LumoThumbnails::fileUri(file));
        cached.setText("Thumb::MTime", QString::number(changed.toSecsSinceEpoch()));
        // 40-pixel icons come from the normal size.
        const QString cachePath = LumoThumbnails::thumbnailPath(file, 0);
        QVERIFY(QDir().mkpath(QFileInfo(cachePath).path()) && cached.save(cachePath));
        const QModelIndex index = addFile(file);
        show(m_view.get());
        loadAll();
        QCOMPARE(describe(index), QStringLiteral("#00ff00"));
        QVERIFY(!writeImage("written.png", Qt::blue).isEmpty());
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadWrite)
                && written.setFileTime(changed, QFileDevice::FileModificationTime));
        written.close();
        WrittenFiles::instance()->announce(file);
        loadAll();
        QCOMPARE(describe(index), QStringLiteral("#0000ff"));
        QCOMPARE(QImage(cachePath).pixelColor(0, 0), QColor(Qt::blue));
    }

    void itemShows_data() { lumotest::addRows(QStringLiteral("thumbnailitems.txt")); }

    void itemShows()
    {
        QFETCH(QString, kind);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, threads);
        QString file = writeImage(kind + ".png", Qt::red);
        if (kind == "directory") {
            file = m_dir.filePath(kind);
            QVERIFY(QDir().mkpath(file));
        } else if (kind == "corrupt") {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write("\x89PNG\r\n\x1a\nbroken") > 0);
        }
        const QModelIndex index = addFile(file);
        show(m_view.get());
        QStringList shown{describe(index)};
        loadAll();
        QMutexLocker lock(&m_readsLock);
        QCOMPARE(shown << describe(index) << m_readThreads.join(' '),
                 (QStringList{before, after, threads}));
    }

    void loadWaitsUntilShownAndSettled()
    {
        const QString file = writeImage("many.png", Qt::red);
        for (int i = 0; i < 60; ++i)
            addFile(file);
        m_view->setModel(m_model.get());
        m_view->loadVisibleThumbnails(); // hidden: queues nothing
        QCOMPARE(m_view->pendingCount() + m_view->thumbnailCache().count(), 0);
        show(m_view.get());
        QTimer* timer = m_view->loadTimer();
        QVERIFY(timer->isActive() && timer->isSingleShot());
        // A scroll starts the delay afresh and loads nothing.
        timer->stop();
        m_view->verticalScrollBar()->setValue(20);
        QVERIFY(timer->isActive());
        QCOMPARE(m_view->pendingCount() + m_view->thumbnailCache().count(), 0);
        QTRY_VERIFY(m_view->thumbnailCache().count() > 0); // the delay over, visible items load
    }

    void currentAfterRemoval_data() { lumotest::addRows(QStringLiteral("thumbnailremoval.txt")); }

    void currentAfterRemoval()
    {
        QFETCH(int, current);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QString, expected);
        const QString file = writeImage("row.png", Qt::red);
        for (int row = 0; row < 10; ++row)
            addFile(file, QStringLiteral("item%1").arg(row));
        show(m_view.get());
        loadAll();
        m_view->setCurrentIndex(m_model->index(current, 0));
        m_model->removeRows(first, last - first + 1);
        QCOMPARE(m_view->currentIndex().data().toString(), expected);
        QCOMPARE(m_view->thumbnailCache().count(), 10 - (last - first + 1));
        // Rows that moved up keep their own icons.
        QCOMPARE(describe(m_model->index(m_model->rowCount() - 1, 0)), QStringLiteral("#ff0000"));
    }

    void cacheEmptied_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("model reset") << "reset";
        QTest::newRow("model destroyed drops its dead indexes") << "destroy";
    }

    void cacheEmptied()
    {
        QFETCH(QString, change);
        const QString file = writeImage("kept.png", Qt::red);
        for (int row = 0; row < 3; ++row)
            addFile(file, QString::number(row));
        show(m_view.get());
        loadAll();
        QCOMPARE(m_view->thumbnailCache().count(), 3);
        QStandardItemModel other;
        if (change == "reset") {
            m_model->clear();
            addFile(file);
        } else {
            m_view->setModel(&other);
            m_model = std::make_unique<QStandardItemModel>(); // same files, new items
            addFile(file);
            m_view->setModel(m_model.get());
        }
        QCOMPARE(m_view->thumbnailCache().count() + m_view->pendingCount(), 0);
        QCOMPARE(describe(m_model->index(0, 0)), QStringLiteral("image-x-generic"));
    }

    // More on screen than the budget holds is shown all the same; what left the screen makes room.
    void budgetHoldsWhatIsOnScreen()
    {
        const QString file = writeImage("kept.png", Qt::red);
        for (int row = 0; row < 200; ++row)
            addFile(file, QString::number(row));
        m_view->setCacheBudget(2 * 30 * 20 * 4); // two thumbnails
        show(m_view.get());
        loadAll();
        m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->maximum());
        loadAll();
        QVERIFY(!m_view->thumbnailCache().contains(m_model->index(0, 0)));
        int shown = 0;
        for (int row = 0; row < m_model->rowCount(); ++row) {
            const QModelIndex index = m_model->index(row, 0);
            if (m_view->visualRect(index).intersects(m_view->viewport()->rect())) {
                QCOMPARE(describe(index), QStringLiteral("#ff0000"));
                ++shown;
            }
        }
        QVERIFY(shown > 10);
    }

    void backgroundReadOutlived_data()
    {
        QTest::addColumn<bool>("viewDestroyed");
        QTest::newRow("view destroyed") << true;
        QTest::newRow("row removed") << false;
    }

    void backgroundReadOutlived()
    {
        QFETCH(bool, viewDestroyed);
        // Readers stop at the end of the picture; padding only makes the file big.
        QFile big(writeImage("big.png", Qt::red));
        QVERIFY(big.resize(5000000));
        addFile(big.fileName());
        addFile(writeImage("small.png", Qt::green));
        show(m_view.get());
        m_view->loadTimer()->stop();
        m_view->loadVisibleThumbnails();
        QVERIFY(m_view->isReadingInBackground());
        if (viewDestroyed) {
            m_view.reset();
            QCoreApplication::processEvents();
            return;
        }
        m_model->removeRow(0);
        QTRY_VERIFY(m_view->pendingCount() == 0 && !m_view->isReadingInBackground());
        // The big one's result is dropped; the queue goes on with the small one.
        QCOMPARE(m_view->thumbnailCache().count(), 1);
        QCOMPARE(describe(m_model->index(0, 0)), QStringLiteral("#00ff00"));
    }

    // The thumbnail takes the placeholder's place and nothing else moves.
    void thumbnailReplacesPlaceholder()
    {
        constexpr int edge = 16; // the test theme's icons, drawn unscaled
        const QModelIndex index =
            addFile(writeImage("picture.png", Qt::red, {320, 240}), "picture.png");
        // Set up as the file browser's directory view; the icon, not the name, sets the height.
        ThumbnailView& view = *m_view;
        QFont font = view.font();
        font.setPixelSize(edge / 2);
        view.setFont(font);
        view.setWrapping(true);
        view.setWordWrap(true);
        view.setResizeMode(QListView::Adjust);
        view.setIconSize(QSize(edge, edge));
        view.setGridSize(ImagesDirView::iconModeGridSize(edge, view.fontMetrics().height()));
        view.resize(200, 120);
        show(m_view.get());

        const QImage placeholder = view.viewport()->grab().toImage();
        const QRgb placeholderColour =
            QIcon::fromTheme("image-x-generic").pixmap(edge).toImage().pixel(1, 1);
        const auto isPlaceholder = [&](QRgb p) { return p == placeholderColour; };
        const QRect slot = pixelsWhere(placeholder, isPlaceholder);
        QCOMPARE(slot.size(), QSize(edge, edge));

        // Only the item's rectangle is repainted when its thumbnail comes in.
        view.loadVisibleThumbnails();
        QTRY_VERIFY(view.thumbnailCache().contains(index));
        const QRect repainted = view.visualRect(index);
        QImage loaded = placeholder;
        view.viewport()->render(&loaded, repainted.topLeft(), QRegion(repainted));
        QVERIFY(pixelsWhere(loaded, isPlaceholder).isNull());
        const QRect thumbnail = pixelsWhere(
            loaded, [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; });
        QCOMPARE(thumbnail.size(), QSize(16, 12));
        QVERIFY2(slot.contains(thumbnail), "the thumbnail is drawn in the placeholder's place");
        QImage before = placeholder;
        QPainter(&before).fillRect(slot, Qt::black);
        QPainter(&loaded).fillRect(slot, Qt::black);
        QVERIFY2(loaded == before, "the name stays where it was");

        // A re-layout while thumbnails are loaded, then an emptied cache: the placeholder comes
        // back as it was, with its name on one line.
        view.doItemsLayout();
        view.layoutChanged();
        QCOMPARE(view.viewport()->grab().toImage(), placeholder);
    }

    void barReportsCurrent_data()
    {
        QTest::addColumn<int>("removeFirst"); // rows from here to the last of ten go
        QTest::addColumn<QStringList>("reported");
        QTest::newRow("current last of ten removed reports row 8") << 9 << QStringList{"item8"};
        QTest::newRow("every row removed reports nothing") << 0 << QStringList{};
    }

    void barReportsCurrent()
    {
        QFETCH(int, removeFirst);
        QFETCH(QStringList, reported);
        fillBar(10, 9);
        QSignalSpy reports(m_bar.get(), &ThumbnailsBar::currentIndexChanged);
        m_model->removeRows(removeFirst, 10 - removeFirst);
        QStringList names;
        for (const QList<QVariant>& report : reports)
            names << report.first().value<QModelIndex>().data().toString();
        QCOMPARE(names, reported);
    }

    // A folder listed after its picture was opened arrives in front of it, batch by batch.
    void barKeepsCurrentInSightAsRowsArrive()
    {
        fillBar(5, 2);
        for (int batch = 0; batch < 3; ++batch) {
            for (int r = 0; r < 20; ++r)
                m_model->insertRow(0, new QStandardItem(QStringLiteral("new%1").arg(batch * 20 + r)));
        }
        QCOMPARE(m_bar->currentIndex().data().toString(), QStringLiteral("item2"));
        const auto offCentre = [this] {
            return qAbs(m_bar->visualRect(m_bar->currentIndex()).center().x()
                        - m_bar->viewport()->width() / 2);
        };
        QTRY_VERIFY(offCentre() <= m_bar->gridSize().width() / 2);
    }

    void barTouch_data() { lumotest::addRows(QStringLiteral("thumbnailbartouch.txt")); }

    void barTouch()
    {
        QFETCH(QString, input);
        QFETCH(bool, selects);
        fillBar(5, -1);
        const QModelIndex target = m_model->index(2, 0);
        QWidget* viewport = m_bar->viewport();
        const QPoint pos = m_bar->visualRect(target).center();
        if (input == "tap") {
            static QTouchDevice* device = QTest::createTouchDevice();
            QTest::touchEvent(viewport, device).press(0, pos, viewport);
            QTest::touchEvent(viewport, device).release(0, pos, viewport);
            QTRY_COMPARE(m_bar->currentIndex(), target);
        } else {
            const Qt::MouseButton button = input == "right" ? Qt::RightButton : Qt::LeftButton;
            const QPoint global = viewport->mapToGlobal(pos);
            QMouseEvent press(QEvent::MouseButtonPress, pos, global, global, button, button,
                              Qt::NoModifier, Qt::MouseEventSynthesizedBySystem);
            QApplication::sendEvent(viewport, &press);
        }
        QCOMPARE(m_bar->selectionModel()->isSelected(target), selects);
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

    // Every thumbnail of a folder in sight arrives, each its own, with no more decodes at a time
    // than there are workers, one per core however many are asked, and all of them busy.
    void bigFolderOnEveryWorker()
    {
        constexpr int files = 100;
        const int workers = QThread::idealThreadCount();
        m_view->loader()->setWorkerCount(workers + 1);
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
        show(m_view.get());
        m_view->loadTimer()->stop();
        m_view->loadVisibleThumbnails();
        // Sanitized builds on a busy machine take their time.
        QTRY_COMPARE_WITH_TIMEOUT(m_view->thumbnailCache().count(), files, 60000);
        QTRY_VERIFY(!m_view->isReadingInBackground());
        for (int i = 0; i < files; ++i)
            QCOMPARE(describe(m_model->index(i, 0)), QColor::fromHsv(i * 2, 255, 255).name());
        QCOMPARE(mostAtOnce.load(), workers);
        QVERIFY(!onGuiThread);
    }

    void iconSizeChange_data() { lumotest::addRows(QStringLiteral("thumbnailiconsize.txt")); }

    void iconSizeChange()
    {
        QFETCH(int, newSide);
        QFETCH(int, madeEdge);
        QFETCH(int, decodes);
        const QModelIndex index = addFile(writeImage("wide.png", Qt::red, {600, 300}));
        show(m_view.get());
        m_view->loadVisibleThumbnails();
        QTRY_VERIFY(idle());
        QCOMPARE(m_view->thumbnail(index).availableSizes(), QList<QSize>{QSize(128, 64)});
        m_view->setIconSize(QSize(newSide, newSide));
        m_view->setGridSize(QSize(newSide + 20, newSide + 20));
        QTRY_COMPARE(m_view->thumbnail(index).availableSizes(),
                     QList<QSize>{QSize(madeEdge, madeEdge / 2)});
        QTRY_VERIFY(!m_view->loadTimer()->isActive() && idle());
        QMutexLocker lock(&m_readsLock);
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
        show(m_view.get());
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
        QMutexLocker lock(&m_readsLock);
        QStringList reads = m_readFiles;
        // Of the middle, only a decode already under way is left, and it came first.
        if (scrollAway && reads.size() == inSight.size() + atEdges.size() + 1)
            QVERIFY(!(inSight + atEdges).contains(reads.takeFirst()));
        QCOMPARE(reads, inSight + atEdges);
    }
};

LUMO_TEST_MAIN(TestThumbnailView)
#include "tst_thumbnailview.moc"
