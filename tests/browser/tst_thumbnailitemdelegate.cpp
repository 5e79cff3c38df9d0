#include "support/lumotest.h"
#include "support/testicontheme.h"

#include "browser/imagesdirview.h"
#include "browser/thumbnailview.h"

#include <QFileSystemModel>
#include <QPainter>
#include <QStandardItemModel>

namespace {

constexpr int kIconEdge = 16; // the test theme's icons, drawn unscaled

bool isThumbnailColour(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

// The bounding box of the pixels that match.
template <typename Match>
QRect pixelsWhere(const QImage& image, Match match)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (match(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// image with area painted over in black, so two renders can be compared around it.
QImage without(QImage image, const QRect& area)
{
    QPainter(&image).fillRect(area, Qt::black);
    return image;
}

} // namespace

// What an item of a thumbnail view shows while its thumbnail loads, once it is in, and when
// the cache is emptied again: the thumbnail takes the placeholder's place and nothing else moves.
class TestThumbnailItemDelegate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void thumbnailReplacesPlaceholder_data();
    void thumbnailReplacesPlaceholder();

private:
    QTemporaryDir m_dir;
};

void TestThumbnailItemDelegate::initTestCase()
{
    QVERIFY(lumotest::installTestIconTheme(m_dir.filePath("icons"), {"image-x-generic"}));
}

void TestThumbnailItemDelegate::thumbnailReplacesPlaceholder_data()
{
    QTest::addColumn<bool>("iconMode");
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<QSize>("drawnSize");
    QTest::newRow("multicolumn, landscape") << false << QSize(320, 240) << QSize(16, 12);
    QTest::newRow("multicolumn, portrait") << false << QSize(240, 320) << QSize(12, 16);
    QTest::newRow("multicolumn, smaller than the icon") << false << QSize(6, 4) << QSize(6, 4);
    QTest::newRow("icons, landscape") << true << QSize(320, 240) << QSize(16, 12);
}

void TestThumbnailItemDelegate::thumbnailReplacesPlaceholder()
{
    QFETCH(bool, iconMode);
    QFETCH(QSize, pictureSize);
    QFETCH(QSize, drawnSize);

    QImage picture(pictureSize, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString file = m_dir.filePath(QStringLiteral("picture.png"));
    QVERIFY(picture.save(file));
    QStandardItemModel model;
    auto* item = new QStandardItem(QStringLiteral("picture.png"));
    item->setData(file, QFileSystemModel::FilePathRole);
    model.appendRow(item);

    // Set up as the file browser's directory view; the icon, not the name, sets a row's height.
    ThumbnailView view;
    QFont font = view.font();
    font.setPixelSize(kIconEdge / 2);
    view.setFont(font);
    view.setWrapping(true);
    view.setWordWrap(true);
    view.setResizeMode(QListView::Adjust);
    view.setIconSize(QSize(kIconEdge, kIconEdge));
    if (iconMode) {
        view.setViewMode(QListView::IconMode);
        view.setGridSize(ImagesDirView::iconModeGridSize(kIconEdge, view.fontMetrics().height()));
    }
    view.setModel(&model);
    view.resize(200, 120);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QModelIndex index = model.index(0, 0);

    const QImage placeholder = view.viewport()->grab().toImage();
    const QRgb placeholderColour =
        QIcon::fromTheme("image-x-generic").pixmap(kIconEdge).toImage().pixel(1, 1);
    const QRect slot = pixelsWhere(placeholder, [&](QRgb p) { return p == placeholderColour; });
    QCOMPARE(slot.size(), QSize(kIconEdge, kIconEdge));

    // The view repaints only the item's rectangle when its thumbnail comes in, over what was
    // drawn before.
    view.loadVisibleThumbnails();
    QVERIFY(view.thumbnailCache().contains(index));
    const QRect repainted = view.visualRect(index);
    QImage loaded = placeholder;
    view.viewport()->render(&loaded, repainted.topLeft(), QRegion(repainted));

    QVERIFY(pixelsWhere(loaded, [&](QRgb p) { return p == placeholderColour; }).isNull());
    const QRect thumbnail = pixelsWhere(loaded, isThumbnailColour);
    QCOMPARE(thumbnail.size(), drawnSize);
    QVERIFY2(slot.contains(thumbnail), "the thumbnail is drawn in the placeholder's place");
    QVERIFY2(without(loaded, slot) == without(placeholder, slot), "the name stays where it was");

    // A re-layout while thumbnails are loaded, then an emptied cache: the placeholder comes back
    // as it was, with its name on one line.
    view.doItemsLayout();
    view.layoutChanged();
    QCOMPARE(view.viewport()->grab().toImage(), placeholder);
}

LUMO_TEST_MAIN(TestThumbnailItemDelegate)
#include "tst_thumbnailitemdelegate.moc"
