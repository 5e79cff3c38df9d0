#include "support/lumotest.h"
#include "support/picturefixture.h"

#include "app/settings.h"
#include "view/smark.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QClipboard>

// Undo, redo, copy, cut and the protocol every adjustment dialog runs under.
class TestEditHistory : public QObject
{
    Q_OBJECT

private slots:
    void depthFromSettings_data();
    void depthFromSettings();
    void cutBlackens_data();
    void cutBlackens();
    void cancelRestoresExactly_data();
    void cancelRestoresExactly();
    void adjustmentOptions_data();
    void adjustmentOptions();
};

using Option = SPicView::AdjustmentOption;
Q_DECLARE_METATYPE(SPicView::AdjustmentOptions)

void TestEditHistory::depthFromSettings_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("undos");
    QTest::newRow("three kept") << 3 << 3;
    QTest::newRow("low byte of 300") << 300 << 44;
    QTest::newRow("256 keeps nothing") << 256 << 0;
}

void TestEditHistory::depthFromSettings()
{
    QFETCH(int, stored);
    QFETCH(int, undos);
    PictureFixture pic(QSize(8, 8));
    SPicView* view = pic.view();
    Settings::instance()->general()->setUndoN(stored);
    QSignalSpy undoStatus(view, &SPicView::undoStatusChanged);
    QSignalSpy redoStatus(view, &SPicView::redoStatusChanged);
    QSignalSpy messages(view, &SPicView::message);
    for (int i = 0; i < 5; ++i)
        QVERIFY(pic.runAdjustment(true));
    const QImage edited = view->image().copy();
    const int kept = std::min(undos, 5);
    QCOMPARE(view->undoCount(), kept);
    QCOMPARE(undoStatus.last().at(0).toBool(), kept > 0);

    for (int i = 0; i < kept; ++i)
        view->undo();
    QCOMPARE(messages.count(), 0);
    view->undo();
    QCOMPARE(messages.last().at(0).toString(),
             QStringLiteral("Undo: No backups available, discontinued."));
    QCOMPARE(messages.last().at(1).toInt(), 1000);
    // Only a history that reaches back to the file makes the picture unmodified again.
    QCOMPARE(view->isModified(), kept < 5);

    // Redo brings every undone edit back, and with it the picture's changed state.
    for (int i = 0; i < kept; ++i)
        view->redo();
    QCOMPARE(view->image(), edited);
    QVERIFY(view->isModified());
    QCOMPARE(view->undoCount(), kept);
    QVERIFY(redoStatus.isEmpty() || !redoStatus.last().at(0).toBool());
    view->redo();
    QCOMPARE(messages.last().at(0).toString(),
             QStringLiteral("Redo: No backups available, discontinued."));
    QCOMPARE(view->image(), edited);
}

void TestEditHistory::cutBlackens_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QRgb>("black");
    const QImage ramp = PictureFixture::rampImage(QSize(12, 10));
    QTest::newRow("true colour") << ramp << qRgb(0, 0, 0);
    const QVector<QRgb> table{qRgb(255, 255, 255), qRgb(200, 0, 0), qRgb(20, 10, 10), qRgb(0, 0, 200)};
    QTest::newRow("indexed, darkest entry not first")
        << ramp.convertToFormat(QImage::Format_Indexed8, table) << qRgb(20, 10, 10);
    const QImage mono = ramp.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    QImage whiteFirst = mono;
    whiteFirst.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    QTest::newRow("mono, black second") << whiteFirst << qRgb(0, 0, 0);
    QImage blackFirst = mono.convertToFormat(QImage::Format_MonoLSB);
    blackFirst.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    QTest::newRow("mono lsb, black first") << blackFirst << qRgb(0, 0, 0);
}

void TestEditHistory::cutBlackens()
{
    QFETCH(QImage, image);
    QFETCH(QRgb, black);
    PictureFixture pic;
    SPicView* view = pic.view();
    view->setImage(image);
    const QRect area(3, 2, 7, 5);
    pic.select(area);
    view->cut();
    const QImage cut = view->image();
    for (int y = 0; y < cut.height(); ++y)
        for (int x = 0; x < cut.width(); ++x)
            QCOMPARE(cut.pixel(x, y), area.contains(x, y) ? black : image.pixel(x, y));
    QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             image.copy(area).convertToFormat(QImage::Format_RGB32));
    QVERIFY(view->pic()->hasSelection());
    QCOMPARE(view->pic()->selection(), area);
    QVERIFY(view->isModified());
    view->undo();
    QCOMPARE(view->image(), image);
}

void TestEditHistory::cancelRestoresExactly_data()
{
    QTest::addColumn<int>("editsBefore");
    QTest::newRow("unmodified picture") << 0;
    QTest::newRow("picture with two edits") << 2;
}

void TestEditHistory::cancelRestoresExactly()
{
    QFETCH(int, editsBefore);
    PictureFixture pic;
    SPicView* view = pic.view();
    for (int i = 0; i < editsBefore; ++i)
        QVERIFY(pic.runAdjustment(true));
    const QImage before = view->image().copy();
    const bool modified = view->isModified();
    QSignalSpy fileInfo(view, &SPicView::fileInfoChanged);
    QVERIFY(!pic.runAdjustment(false));
    QCOMPARE(view->image(), before);
    QCOMPARE(view->isModified(), modified);
    QCOMPARE(view->undoCount(), editsBefore);
    QCOMPARE(fileInfo.first().at(0).toString(), QStringLiteral("Not saved"));
    QCOMPARE(fileInfo.last().at(0).toString() == QStringLiteral("Not saved"), modified);
}

void TestEditHistory::adjustmentOptions_data()
{
    QTest::addColumn<SPicView::AdjustmentOptions>("options");
    QTest::addColumn<bool>("keepsSelection");
    QTest::addColumn<int>("notSaved");
    QTest::addColumn<int>("refreshes");
    QTest::newRow("colour dialogs")
        << SPicView::AdjustmentOptions(Option::AnnouncesNotSaved) << true << 1 << 0;
    QTest::newRow("geometry dialogs")
        << (Option::ClearsSelection | Option::RefreshesStatus) << false << 0 << 1;
    QTest::newRow("depth dialog") << SPicView::AdjustmentOptions(Option::RefreshesStatus) << true
                                  << 0 << 1;
    QTest::newRow("insert dialog")
        << (Option::ClearsSelection | Option::RefreshesStatus | Option::RedrawsBeforeRun) << false
        << 0 << 2;
}

void TestEditHistory::adjustmentOptions()
{
    QFETCH(SPicView::AdjustmentOptions, options);
    QFETCH(bool, keepsSelection);
    QFETCH(int, notSaved);
    QFETCH(int, refreshes);
    PictureFixture pic;
    pic.select(QRect(1, 1, 10, 10));
    QSignalSpy fileInfo(pic.view(), &SPicView::fileInfoChanged);
    QSignalSpy imageInfo(pic.view(), &SPicView::imageInfoChanged);
    QVERIFY(pic.runAdjustment(true, options));
    QCOMPARE(pic.view()->pic()->hasSelection(), keepsSelection);
    QCOMPARE(fileInfo.count(), notSaved + refreshes);
    QCOMPARE(imageInfo.count(), refreshes);
    QVERIFY(pic.view()->isModified());
    QCOMPARE(pic.view()->undoCount(), 1);
}

LUMO_TEST_MAIN(TestEditHistory)
#include "tst_edithistory.moc"
