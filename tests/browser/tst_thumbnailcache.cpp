#include "support/lumotest.h"

#include "browser/thumbnailcache.h"

#include <QStandardItemModel>

// The bounded icon cache: least recently drawn entries go first, entries follow their rows.
class TestThumbnailCache : public QObject
{
    Q_OBJECT

private slots:
    void eviction_data();
    void eviction();
    void followsItems_data();
    void followsItems();
};

namespace {

QStandardItemModel* makeModel(int rows, QObject* parent)
{
    auto* model = new QStandardItemModel(parent);
    for (int row = 0; row < rows; ++row)
        model->appendRow(new QStandardItem(QStringLiteral("item%1").arg(row)));
    return model;
}

// Icons told apart by their size.
QIcon iconOfEdge(int edge)
{
    QPixmap pixmap(edge, edge);
    pixmap.fill(Qt::white);
    return QIcon(pixmap);
}

int edgeOf(const QIcon& icon)
{
    const QList<QSize> sizes = icon.availableSizes();
    return sizes.isEmpty() ? 0 : sizes.first().width();
}

} // namespace

void TestThumbnailCache::eviction_data()
{
    QTest::addColumn<QString>("steps"); // "i<row>:<cost>" inserts, "f<row>" finds (draws)
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<QString>("kept");
    QTest::newRow("within budget nothing goes") << "i0:1 i1:1 i2:1" << qint64(3) << "0 1 2";
    QTest::newRow("oldest goes first") << "i0:1 i1:1 i2:1 i3:1" << qint64(3) << "1 2 3";
    QTest::newRow("a drawn entry stays") << "i0:1 i1:1 i2:1 f0 i3:1" << qint64(3) << "0 2 3";
    QTest::newRow("replacing refreshes") << "i0:1 i1:1 i0:1 i2:1" << qint64(2) << "0 2";
    QTest::newRow("big entry pushes out several") << "i0:1 i1:1 i2:1 i3:3" << qint64(4) << "2 3";
    QTest::newRow("oversized newest stays alone") << "i0:1 i1:9" << qint64(4) << "1";
}

void TestThumbnailCache::eviction()
{
    QFETCH(QString, steps);
    QFETCH(qint64, budget);
    QFETCH(QString, kept);
    QStandardItemModel* model = makeModel(5, this);
    ThumbnailCache cache(budget);
    for (const QString& step : steps.split(QLatin1Char(' '))) {
        const int row = step.mid(1).section(QLatin1Char(':'), 0, 0).toInt();
        if (step.startsWith(QLatin1Char('i')))
            cache.insert(model->index(row, 0), iconOfEdge(row + 1),
                         step.section(QLatin1Char(':'), 1).toLongLong());
        else
            QCOMPARE(edgeOf(cache.find(model->index(row, 0))), row + 1);
    }
    QStringList present;
    for (int row = 0; row < 5; ++row) {
        if (cache.contains(model->index(row, 0)))
            present << QString::number(row);
    }
    QCOMPARE(present.join(QLatin1Char(' ')), kept);
    QCOMPARE(cache.count(), present.size());
}

void TestThumbnailCache::followsItems_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("left"); // entries left after removeInvalid()
    QTest::newRow("rows inserted before") << "insert" << 2;
    QTest::newRow("cached row removed") << "remove" << 1;
    QTest::newRow("model reset") << "reset" << 0;
    QTest::newRow("model destroyed") << "destroy" << 0;
}

void TestThumbnailCache::followsItems()
{
    QFETCH(QString, change);
    QFETCH(int, left);
    QStandardItemModel* model = makeModel(6, nullptr);
    ThumbnailCache cache;
    cache.insert(model->index(2, 0), iconOfEdge(2), 10);
    cache.insert(model->index(4, 0), iconOfEdge(4), 10);
    QStandardItem* four = model->item(4);

    if (change == QLatin1String("insert")) {
        model->insertRows(0, 3);
        QCOMPARE(edgeOf(cache.find(four->index())), 4);
        QVERIFY(!cache.contains(model->index(4, 0)));
    } else if (change == QLatin1String("remove")) {
        model->removeRow(2);
    } else if (change == QLatin1String("reset")) {
        model->clear();
    } else {
        delete model;
        model = nullptr;
    }
    cache.removeInvalid();
    QCOMPARE(cache.count(), left);
    QCOMPARE(cache.totalCost(), qint64(10 * left));

    // A new model, wherever it is allocated, starts without icons.
    QStandardItemModel fresh;
    fresh.appendRow(new QStandardItem);
    QVERIFY(cache.find(fresh.index(0, 0)).isNull());
    delete model;
}

LUMO_TEST_MAIN(TestThumbnailCache)
#include "tst_thumbnailcache.moc"
