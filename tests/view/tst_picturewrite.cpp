#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedprompter.h"

#include "app/settings.h"
#include "view/filelistmodel.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <QDir>
#include <QImageWriter>
#include <QSettings>

#include <unistd.h>

// Saving a picture: quality, one complete write, failures that keep the edits, links and lists.
class TestPictureWrite : public QObject
{
    Q_OBJECT

private slots:
    void configuredQualityWritten_data();
    void configuredQualityWritten();
    void failureKeepsEverything_data();
    void failureKeepsEverything();
    void symbolicLinkStaysLink();
    void listSurvivesWrite_data();
    void listSurvivesWrite();
    void pictureMadeInMemory();
};

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray encoded(const QImage& image, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

} // namespace

void TestPictureWrite::configuredQualityWritten_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("quality");
    QTest::newRow("nothing stored takes the default") << 0 << -1;
    QTest::newRow("out of range takes the default") << 101 << -1;
    QTest::newRow("low quality") << 10 << 10;
}

void TestPictureWrite::configuredQualityWritten()
{
    QFETCH(int, stored);
    QFETCH(int, quality);
    PictureFixture pic(QSize(64, 48), QStringLiteral("photo.jpg"));
    Settings::instance()->store()->setValue(QStringLiteral("/lumo-apps/lumo-image/Quality/JPEG"),
                                            stored);
    QVERIFY(pic.runAdjustment(true));
    const QImage edited = pic.view()->image().copy();
    QVERIFY(pic.view()->save());
    const QByteArray expected = encoded(edited, "jpeg", quality);
    QCOMPARE(contents(pic.picturePath()), expected);
    if (quality != -1)
        QVERIFY(expected != encoded(edited, "jpeg", -1));
    QVERIFY(!pic.view()->isModified());
    QCOMPARE(pic.view()->undoCount(), 0);
}

void TestPictureWrite::failureKeepsEverything_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("lockFolder");
    QTest::newRow("read-only file in read-only folder") << "picture.png" << "png" << true;
    QTest::newRow("format nobody writes") << "picture.png" << "nosuchformat" << false;
    QTest::newRow("folder that does not exist") << "missing/picture.png" << "png" << false;
    QTest::newRow("a folder in the way") << "." << "png" << false;
}

void TestPictureWrite::failureKeepsEverything()
{
    QFETCH(QString, target);
    QFETCH(QString, format);
    QFETCH(bool, lockFolder);
    if (lockFolder && ::geteuid() == 0)
        QSKIP("permissions do not stop the superuser");
    PictureFixture pic;
    SPicView* view = pic.view();
    QVERIFY(pic.runAdjustment(true));
    const QImage edited = view->image().copy();
    const QByteArray original = contents(pic.picturePath());
    const QString folder = QFileInfo(pic.picturePath()).absolutePath();
    if (lockFolder) {
        QFile::setPermissions(pic.picturePath(), QFile::ReadOwner);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }
    ScriptedPrompter prompter;
    const QString path = QDir::cleanPath(pic.path(target));
    const bool written = view->write(path, format);
    if (lockFolder) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(pic.picturePath(), QFile::ReadOwner | QFile::WriteOwner);
    }
    QVERIFY(!written);
    QCOMPARE(prompter.asked().size(), 1);
    const auto warning = prompter.asked().first();
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QVERIFY(warning.text.contains(path));
    QVERIFY(view->isModified());
    QCOMPARE(view->undoCount(), 1);
    QCOMPARE(view->image(), edited);
    QCOMPARE(view->pic()->format(), QStringLiteral("png"));
    QCOMPARE(contents(pic.picturePath()), original);
}

void TestPictureWrite::symbolicLinkStaysLink()
{
    PictureFixture pic;
    const QString link = pic.path(QStringLiteral("link.png"));
    QVERIFY(QFile::link(pic.picturePath(), link));
    QVERIFY(pic.view()->openFile(link));
    QVERIFY(pic.runAdjustment(true));
    const QImage edited = pic.view()->image().copy();
    QVERIFY(pic.view()->save());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), pic.picturePath());
    QCOMPARE(QImage(pic.picturePath()).convertToFormat(edited.format()), edited);
}

void TestPictureWrite::listSurvivesWrite_data()
{
    QTest::addColumn<bool>("throughQuestion");
    QTest::addColumn<int>("row");
    QTest::newRow("save keeps the list and the row") << false << 1;
    QTest::newRow("yes on the way to the next file") << true << 2;
}

void TestPictureWrite::listSurvivesWrite()
{
    QFETCH(bool, throughQuestion);
    QFETCH(int, row);
    PictureFixture pic;
    QStringList files;
    for (const char* name : {"a.png", "b.png", "c.png"}) {
        files << pic.path(QString::fromLatin1(name));
        QVERIFY(PictureFixture::writePicture(files.last(), QSize(16, 16)));
    }
    SPicView* view = pic.view();
    QVERIFY(view->openList(files));
    view->setCurrentIndex(view->fileModel()->index(1, 0));
    QVERIFY(pic.runAdjustment(true));
    const QImage edited = view->image().copy();
    ScriptedPrompter prompter;
    prompter.answer(QMessageBox::Yes);
    if (throughQuestion)
        view->next();
    else
        QVERIFY(view->save());
    QCOMPARE(prompter.asked().size(), throughQuestion ? 1 : 0);
    QVERIFY(qobject_cast<FileListModel*>(view->fileModel()));
    QCOMPARE(view->fileModel()->rowCount(), 3);
    QCOMPARE(view->currentRow(), row);
    QCOMPARE(view->filePath(), files.at(row));
    QVERIFY(!view->isModified());
    QCOMPARE(QImage(files.at(1)).convertToFormat(edited.format()), edited);
}

void TestPictureWrite::pictureMadeInMemory()
{
    PictureFixture pic;
    SPicView* view = pic.view();
    view->newImage(30, 20, 32, 0xff336699u);
    QVERIFY(view->isUnsavedNew());
    QVERIFY(pic.runAdjustment(true));
    ScriptedPrompter prompter;
    QVERIFY(!view->save());
    QVERIFY(prompter.asked().isEmpty());
    QVERIFY(view->isModified());

    QSignalSpy models(view, &SPicView::dirModelChanged);
    const QString path = pic.path(QStringLiteral("new.png"));
    QVERIFY(view->write(path, QStringLiteral("png")));
    QCOMPARE(models.count(), 1);
    QVERIFY(!view->isUnsavedNew());
    QVERIFY(!view->isModified());
    QCOMPARE(QImage(path).size(), QSize(30, 20));
    QTRY_COMPARE(view->filePath(), path);
}

LUMO_TEST_MAIN(TestPictureWrite)
#include "tst_picturewrite.moc"
