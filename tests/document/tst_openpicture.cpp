#include "support/lumotest.h"

#include "document/edithistory.h"
#include "document/filecursor.h"
#include "document/filelistmodel.h"
#include "document/openpicture.h"
#include "document/picture.h"
#include "document/picturecache.h"
#include "document/pictureedits.h"
#include "settings/settings.h"

#include <QFile>
#include <QPointer>
#include <QStandardItemModel>

#include <map>

namespace {

QRgb colourOf(const QString& name)
{
    return qRgb(name.at(0).unicode(), 40, 80);
}

// Pictures of one colour each, named after it; names starting with x are not pictures.
QStringList writeFiles(const QTemporaryDir& dir, const QStringList& names,
                       const QSize& size = QSize(64, 48))
{
    QStringList files;
    for (const QString& name : names) {
        files << dir.filePath(name);
        QFile file(files.last());
        if (!name.startsWith(QLatin1Char('x')))
            lumotest::writeSolid(files.last(), size, colourOf(name));
        else if (file.open(QIODevice::WriteOnly))
            file.write("not a picture");
    }
    return files;
}

bool readEnds(const OpenPicture& open)
{
    return QTest::qWaitFor([&open] { return !open.isLoading(); }, 20000);
}

// Every announcement, in order.
struct News
{
    explicit News(OpenPicture& open)
    {
        QObject::connect(&open, &OpenPicture::changed, &open,
                         [this](OpenPicture::Aspects aspects) { told << aspects; });
    }
    QVector<OpenPicture::Aspects> told;
};

void move(OpenPicture& open, const QString& name)
{
    const std::map<QString, void (OpenPicture::*)()> steps{
        {"next", &OpenPicture::next}, {"previous", &OpenPicture::previous},
        {"first", &OpenPicture::first}, {"last", &OpenPicture::last}, {"tick", &OpenPicture::tick}};
    if (name.startsWith(QLatin1String("row ")))
        open.moveTo(name.section(QLatin1Char(' '), 1).toInt());
    else
        (open.*steps.at(name))();
}

} // namespace

// One open picture without a window: each move reads the file it lands on and shows nothing
// else, drops the edits of the picture it leaves, keeps or ends the slideshow, reads the
// neighbours ahead once the picture is shown, and tells every change once.
class TestOpenPicture : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Settings::instance()->imagesCentralWidget()->setSlideLoop(false); }

    void moves_data() { lumotest::addRows(QStringLiteral("openpicture-moves.txt")); }
    void moves()
    {
        QFETCH(QString, list);
        QFETCH(bool, loop);
        QFETCH(int, start);
        QFETCH(bool, slideshow);
        QFETCH(QString, moves);
        QFETCH(int, row);
        QFETCH(bool, running);
        QFETCH(QVector<int>, announced);
        Settings::instance()->imagesCentralWidget()->setSlideLoop(loop);
        QTemporaryDir dir;
        const QStringList names = list.split(QLatin1Char(' '));
        OpenPicture open(1000);
        open.openList(writeFiles(dir, names));
        QVERIFY(readEnds(open));
        open.moveTo(start);
        QVERIFY(readEnds(open));
        QVERIFY(open.edits()->apply([](const QImage& image) { return image.mirrored(); }, 5));
        if (slideshow)
            open.cursor()->startSlideshow();
        const News news(open);
        const FileCursor* cursor = open.cursor();
        QSignalSpy ends[]{{cursor, &FileCursor::atTheFirst}, {cursor, &FileCursor::hasNext},
                          {cursor, &FileCursor::hasPrevious}, {cursor, &FileCursor::atTheEnd}};
        for (const QString& step : moves.split(QStringLiteral(", ")))
            move(open, step);
        QVERIFY(readEnds(open));
        QCOMPARE((QVector<int>{ends[0].count(), ends[1].count(), ends[2].count(), ends[3].count()}),
                 announced);
        const Picture* picture = open.picture();
        QCOMPARE(open.cursor()->currentRow(), row);
        QCOMPARE(picture->path(), dir.filePath(names.at(row)));
        QCOMPARE(picture->isBroken(), names.at(row).startsWith(QLatin1Char('x')));
        if (!picture->isBroken())
            QCOMPARE(picture->image().pixel(0, 0), colourOf(names.at(row)));
        QVERIFY(!picture->isModified());
        QCOMPARE(open.history()->undoCount(), 0);
        QCOMPARE(open.cursor()->slideshowRunning(), running);
        QVERIFY(news.told.last().testFlag(OpenPicture::Aspect::File));
    }

    // A picture shown reduced first shows a quick stand-in; its neighbour is read ahead only once
    // it is on screen, with smaller copies only when shown reduced, and is then shown at once.
    void standInAndReadAhead_data()
    {
        QTest::addColumn<bool>("reduced");
        QTest::newRow("shown reduced") << true;
        QTest::newRow("shown at its size") << false;
    }
    void standInAndReadAhead()
    {
        QFETCH(bool, reduced);
        QTemporaryDir dir;
        const QStringList files = writeFiles(dir, {"a.png", "b.png"}, QSize(1600, 1200));
        OpenPicture open(5);
        if (reduced)
            open.setShownSize([](const QSize& size) { return size / 8; });
        int standIns = 0;
        connect(&open, &OpenPicture::changed, this, [&](OpenPicture::Aspects aspects) {
            if (aspects == OpenPicture::Aspects(OpenPicture::Aspect::Pixels) && open.isLoading()
                && open.picture()->image().isNull())
                ++standIns;
        });
        open.openList(files);
        QVERIFY(readEnds(open));
        QCOMPARE(standIns, int(reduced));
        QCOMPARE(open.picture()->image().size(), QSize(1600, 1200));
        QCOMPARE(open.picture()->standIn().size(), reduced ? QSize(200, 150) : QSize(0, 0));
        QVERIFY(!PictureCache::shared()->contains(files.at(1)));
        open.shown();
        QTRY_VERIFY_WITH_TIMEOUT(PictureCache::shared()->contains(files.at(1)), 20000);
        QCOMPARE(!PictureCache::shared()->find(files.at(1))->copies.isEmpty(), reduced);
        open.next();
        QVERIFY(!open.isLoading());
        QCOMPARE(open.picture()->image().pixel(0, 0), colourOf("b.png"));
    }

    // The slideshow's timer only asks for a step: whoever shows the picture asks about its edits
    // first.
    void slideshowStepWaitsToBeMade()
    {
        QTemporaryDir dir;
        OpenPicture open(0);
        open.openList(writeFiles(dir, {"a.png", "b.png"}));
        QVERIFY(readEnds(open));
        QSignalSpy due(&open, &OpenPicture::slideDue);
        open.cursor()->startSlideshow();
        QVERIFY(due.wait());
        QCOMPARE(open.cursor()->currentRow(), 0);
        QVERIFY(!open.isLoading());
    }

    // A list replaced goes later, so that whoever shows it can let go of it first; rows that
    // arrive after the picture is shown are read ahead.
    void listChanges_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("rows");
        QTest::newRow("a picture made in memory") << "image" << 1;
        QTest::newRow("an empty list") << "empty" << 0;
        QTest::newRow("rows arriving later") << "rows" << 2;
    }
    void listChanges()
    {
        QFETCH(QString, change);
        QFETCH(int, rows);
        QTemporaryDir dir;
        const QStringList files = writeFiles(dir, {"a.png", "b.png"});
        OpenPicture open(5);
        open.openList(files.mid(0, 1));
        QVERIFY(readEnds(open));
        QVERIFY(open.edits()->apply([](const QImage& image) { return image.mirrored(); }, 5));
        const QPointer<QAbstractItemModel> old = open.fileModel();
        const News news(open);
        if (change == QLatin1String("image")) {
            open.setImage(QImage(8, 8, QImage::Format_RGB32));
        } else if (change == QLatin1String("empty")) {
            open.openList({});
        } else {
            auto* list = new QStandardItemModel(&open);
            list->appendRow(new QStandardItem(QStringLiteral("a.png")));
            list->item(0)->setData(files.at(0), FileListModel::filePathRole);
            open.setFileModel(list, 0);
            QVERIFY(old);
            open.load(files.at(0));
            QVERIFY(readEnds(open));
            open.shown();
            list->appendRow(new QStandardItem(QStringLiteral("b.png")));
            list->item(1)->setData(files.at(1), FileListModel::filePathRole);
            open.shown();
            QTRY_VERIFY_WITH_TIMEOUT(PictureCache::shared()->contains(files.at(1)), 20000);
        }
        QVERIFY(old || change == QLatin1String("rows"));
        QVERIFY(readEnds(open));
        QVERIFY(news.told.first().testFlag(OpenPicture::Aspect::List));
        QTRY_VERIFY(!old);
        QCOMPARE(open.cursor()->rowCount(), rows);
        QCOMPARE(open.cursor()->currentRow(), 0);
        QVERIFY(!open.picture()->isModified());
        QCOMPARE(open.history()->undoCount(), 0);
    }
};

LUMO_TEST_MAIN(TestOpenPicture)
#include "tst_openpicture.moc"
