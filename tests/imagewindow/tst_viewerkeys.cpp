#include "support/imagewindowhost.h"
#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/pictureloading.h"

#include "imagewindow/imagewindowactions.h"
#include "imagewindow/sworkspace.h"
#include "settings/settings.h"
#include "view/goactions.h"
#include "view/quickedits.h"
#include "view/smark.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QAction>
#include <QClipboard>
#include <QMdiSubWindow>
#include <QMimeData>

Q_DECLARE_METATYPE(QuickEdits::Kind)

namespace {

using Kind = QuickEdits::Kind;

// Drags a selection over the canvas from image pixel to image pixel, as the left button does.
void drawSelection(SPic* canvas, const QRect& rect)
{
    const QPoint origin =
        SPic::imageRectFor(canvas->size(), QSize(canvas->scaledWidth(), canvas->scaledHeight()))
            .topLeft();
    const QPoint from = origin + rect.topLeft();
    const QPoint to = from + QPoint(rect.width(), rect.height());
    const auto send = [canvas](QEvent::Type type, const QPoint& at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, canvas->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

} // namespace

// The image window's keys for stepping through pictures, its one-step edits and pasting the
// clipboard as a new picture, on pictures made in a sandbox.
class TestViewerKeys : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char* name : {"a.png", "b.png", "c.png"})
            QVERIFY(lumotest::writePicture(path(name), QSize(13, 7)));
    }

    void init()
    {
        Settings::instance()->store()->clear();
        // Each picture in a window of its own, so a pasted one is seen beside the others.
        Settings::instance()->imagesCentralWidget()->setSingleWindowMode(false);
        m_host = std::make_unique<ImageWindowHost>();
        QVERIFY(QTest::qWaitForWindowActive(&m_host->mainWindow));
    }

    void cleanup()
    {
        m_host.reset();
        QApplication::clipboard()->clear();
    }

    void keyReachesItsStep_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("drag"); // the mouse pressed while the key is down
        QTest::addColumn<int>("row");
        QTest::newRow("Home to the first") << int(Qt::Key_Home) << 2 << false << 0;
        QTest::newRow("End to the last") << int(Qt::Key_End) << 0 << false << 2;
        QTest::newRow("Space one step on") << int(Qt::Key_Space) << 0 << false << 1;
        QTest::newRow("Space held for a drag stays") << int(Qt::Key_Space) << 0 << true << 0;
        QTest::newRow("PageDown one step on") << int(Qt::Key_PageDown) << 0 << false << 1;
        QTest::newRow("Backspace one step back") << int(Qt::Key_Backspace) << 2 << false << 1;
    }

    void keyReachesItsStep()
    {
        QFETCH(int, key);
        QFETCH(int, from);
        QFETCH(bool, drag);
        QFETCH(int, row);
        m_host->window->newPVFromList({path("a.png"), path("b.png"), path("c.png")});
        SPicView* view = m_host->window->currentView();
        QVERIFY(view && waitForPicture(view));
        if (from == 2) {
            view->last();
            QVERIFY(waitForPicture(view));
        }
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        QTest::keyPress(view, Qt::Key(key));
        if (drag)
            drawSelection(view->pic(), QRect(1, 1, 4, 4));
        QTest::keyRelease(view, Qt::Key(key));
        // Space steps only once it is sure the key is not held.
        QTRY_COMPARE(view->currentRow(), row);
        QVERIFY(waitForPicture(view));
    }

    void quickEdit_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QRect>("selection");
        QTest::addColumn<QPoint>("from"); // a pixel of the 13 x 7 source
        QTest::addColumn<QPoint>("to");   // where the edit puts it
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("negative"); // the pixel comes out with its colours turned round
        const QRect none;
        const QPoint corner(0, 0);
        QTest::newRow("rotate left")
            << Kind::RotateLeft << none << corner << QPoint(0, 12) << QSize(7, 13) << false;
        QTest::newRow("crop keeps the marked rectangle") << Kind::CropToSelection
            << QRect(2, 1, 5, 3) << QPoint(2, 1) << corner << QSize(5, 3) << false;
        QTest::newRow("invert colours")
            << Kind::InvertColours << none << QPoint(5, 3) << QPoint(5, 3) << QSize(13, 7) << true;
    }

    // Each edit is one step of the history: undo brings back the file's pixels.
    void quickEdit()
    {
        QFETCH(Kind, kind);
        QFETCH(QRect, selection);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QSize, size);
        QFETCH(bool, negative);
        m_host->window->openFileList({path("a.png")});
        SPicView* view = m_host->window->currentView();
        QVERIFY(view && waitForPicture(view));
        const QImage source = view->image();
        QAction* action = actions()->quickEdit(kind);
        if (!selection.isNull()) {
            drawSelection(view->pic(), selection);
            QCOMPARE(view->pic()->selection(), selection);
            QVERIFY(action->isEnabled());
        }
        QSignalSpy imageInfo(view, &SPicView::imageInfoChanged);
        action->trigger();
        QCOMPARE(view->image().size(), size);
        // The view follows the edit: the status tells the new size.
        QVERIFY(!imageInfo.isEmpty()
                && imageInfo.last().at(0).toString().startsWith(
                    QStringLiteral("%1 X %2").arg(size.width()).arg(size.height())));
        const QRgb was = source.pixel(from);
        QCOMPARE(view->image().pixel(to),
                 negative ? qRgba(255 - qRed(was), 255 - qGreen(was), 255 - qBlue(was), qAlpha(was))
                          : was);
        QVERIFY(!view->pic()->hasSelection());
        QVERIFY(!actions()->quickEdit(Kind::CropToSelection)->isEnabled());
        QVERIFY(actions()->edit(ImageWindowActions::Edit::Undo)->isEnabled());

        actions()->edit(ImageWindowActions::Edit::Undo)->trigger();
        QCOMPARE(view->image(), source);
    }

    void pasteAsNew_data()
    {
        QTest::addColumn<bool>("pictureOpen");
        QTest::newRow("no picture open") << false;
        QTest::newRow("beside a picture") << true;
    }

    void pasteAsNew()
    {
        QFETCH(bool, pictureOpen);
        if (pictureOpen) {
            m_host->window->openFileList({path("a.png")});
            QVERIFY(waitForPicture(m_host->window->currentView()));
        }
        const QImage pasted = lumotest::rampImage(QSize(9, 5));
        QApplication::clipboard()->setImage(pasted);
        QAction* action = actions()->pasteAsNew();
        QTRY_VERIFY(action->isEnabled());
        const int windows = m_host->window->workspace()->subWindowList().size();
        action->trigger();
        QCOMPARE(m_host->window->workspace()->subWindowList().size(), windows + 1);
        SPicView* view = m_host->window->currentView();
        QVERIFY(view && waitForPicture(view));
        QCOMPARE(view->image().convertToFormat(pasted.format()), pasted);
        QVERIFY(view->isModified());
        QVERIFY(view->filePath().isEmpty());
    }

private:
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
    ImageWindowActions* actions() const { return m_host->window->windowActions(); }

    QTemporaryDir m_dir;
    std::unique_ptr<ImageWindowHost> m_host;
};

LUMO_TEST_MAIN(TestViewerKeys)
#include "tst_viewerkeys.moc"
