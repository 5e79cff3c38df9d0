#include "support/imagewindowhost.h"
#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedfiledialogs.h"
#include "support/scriptedprompter.h"

#include "app/settings.h"
#include "imagewindow/sworkspace.h"
#include "view/spicview.h"

#include <QAction>
#include <QImageReader>
#include <QMdiSubWindow>
#include <QMenu>

// The image window's Open, Save, Save as and recent-files entries, through the dialog seam.
class TestImageWindowFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void openDialogOpensChosenFilesInOrder_data();
    void openDialogOpensChosenFilesInOrder();
    void recentEntriesOpenTheirFile();
    void savingANewPictureAsksForAName();

private:
    QStringList openPaths(const ImageWindowHost& host) const;
    QTemporaryDir m_dir;
};

void TestImageWindowFiles::init()
{
    Settings::instance()->store()->clear();
    Settings::instance()->imagesCentralWidget()->setSingleWindowMode(false);
    for (const char* name : {"a.png", "b.png", "c.png"})
        QVERIFY(PictureFixture::writePicture(m_dir.filePath(QString::fromLatin1(name)),
                                             QSize(16, 12)));
}

QStringList TestImageWindowFiles::openPaths(const ImageWindowHost& host) const
{
    QStringList paths;
    const QList<QMdiSubWindow*> windows = host.window->workspace()->subWindowList();
    for (QMdiSubWindow* window : windows) {
        if (auto* view = qobject_cast<SPicView*>(window->widget()))
            paths << view->filePath();
    }
    return paths;
}

void TestImageWindowFiles::openDialogOpensChosenFilesInOrder_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::newRow("three files, in the dialog's order") << QStringList{"c.png", "a.png", "b.png"};
    QTest::newRow("cancelled") << QStringList();
}

void TestImageWindowFiles::openDialogOpensChosenFilesInOrder()
{
    QFETCH(QStringList, chosen);
    QStringList paths;
    for (const QString& name : chosen)
        paths << m_dir.filePath(name);

    ScriptedFileDialogs dialogs;
    if (!paths.isEmpty())
        dialogs.chooseFiles(paths);
    ImageWindowHost host;
    host.action(SharedActions::Index::Open)->trigger();

    QCOMPARE(dialogs.openCalls().size(), 1);
    QCOMPARE(openPaths(host), paths);
    if (!paths.isEmpty()) {
        QVERIFY(!host.action(SharedActions::Index::Save)->isEnabled());
        QVERIFY(!host.action(SharedActions::Index::Remove)->isEnabled());
    }
}

void TestImageWindowFiles::recentEntriesOpenTheirFile()
{
    ImageWindowHost host;
    host.window->newPVFromFile(m_dir.filePath(QStringLiteral("a.png")));
    host.window->newPVFromFile(m_dir.filePath(QStringLiteral("b.png")));

    QMenu* fileMenu = host.window->fileMenu();
    emit fileMenu->aboutToShow();
    QAction* older = nullptr;
    const QList<QAction*> entries = fileMenu->actions();
    for (QAction* entry : entries) {
        if (entry->text() == QStringLiteral("&1: ") + m_dir.filePath(QStringLiteral("a.png")))
            older = entry;
    }
    QVERIFY2(older, "the second entry names the file read first");
    older->trigger();
    QCOMPARE(openPaths(host).size(), 3);
    QCOMPARE(host.window->currentView()->filePath(), m_dir.filePath(QStringLiteral("a.png")));
}

void TestImageWindowFiles::savingANewPictureAsksForAName()
{
    ScriptedFileDialogs dialogs;
    ScriptedPrompter prompter;
    const QString target = m_dir.filePath(QStringLiteral("scan"));
    dialogs.chooseSave(target, QStringLiteral("PNG (*.png *.PNG)"));

    ImageWindowHost host;
    host.window->newPVFromImage(PictureFixture::rampImage(QSize(20, 10)));
    QVERIFY(host.action(SharedActions::Index::Save)->isEnabled());
    host.action(SharedActions::Index::Save)->trigger();

    QCOMPARE(dialogs.saveRuns().size(), 1);
    QImageReader written(target + QStringLiteral(".png"));
    QCOMPARE(written.format(), QByteArray("png"));
    QCOMPARE(written.size(), QSize(20, 10));
    QVERIFY(!host.window->currentView()->isModified());
}

LUMO_TEST_MAIN(TestImageWindowFiles)
#include "tst_imagewindowfiles.moc"
