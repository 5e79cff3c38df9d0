#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/pictureloading.h"
#include "support/scriptedprompter.h"

#include "document/filelistmodel.h"
#include "document/jpegquality.h"
#include "settings/settings.h"
#include "view/spic.h"
#include "view/spicview.h"

#include <exiv2/exiv2.hpp>

// Saving from the picture view: what the writer is handed, a failure keeps the edits, and the list
// and a picture made in memory find their file. How the file is written is the writer's test.
class TestPictureWrite : public QObject
{
    Q_OBJECT

private slots:
    // The photo keeps its camera data, read before the save replaces the file it comes from, and
    // about its quality while none is stored.
    void resavedPhotoKeepsCameraDataAndQuality()
    {
        PictureFixture pic(QSize(64, 48), QStringLiteral("start.png"));
        const QString photo = pic.path(QStringLiteral("photo.jpg"));
        QVERIFY(lumotest::rampImage(QSize(64, 48)).save(photo, "jpeg", 60));
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(photo.toStdString());
        image->readMetadata();
        image->exifData()["Exif.Image.Model"] = "LumoCam 7";
        image->writeMetadata();
        pic.view()->openFile(photo);
        QVERIFY(waitForPicture(pic.view()));
        QVERIFY(pic.runAdjustment(true));
        QSignalSpy messages(pic.view(), &SPicView::message);
        QVERIFY(pic.view()->save());
        QVERIFY(messages.isEmpty() && !pic.view()->isModified());
        image = Exiv2::ImageFactory::open(photo.toStdString());
        image->readMetadata();
        QCOMPARE(QString::fromStdString(image->exifData()["Exif.Image.Model"].toString()),
                 QStringLiteral("LumoCam 7"));
        QCOMPARE(JpegQuality::ofFile(photo), 60);
    }

    // A failed write warns, and keeps the edits and the format a later Save uses.
    void failureKeepsTheEdits()
    {
        PictureFixture pic;
        SPicView* view = pic.view();
        QVERIFY(pic.runAdjustment(true));
        const QImage edited = view->image().copy();
        ScriptedPrompter prompter;
        const QString path = pic.path(QStringLiteral("copy.png"));
        QVERIFY(!view->write(path, QStringLiteral("nosuchformat")));
        QCOMPARE(prompter.asked().size(), 1);
        QCOMPARE(prompter.asked().first().icon, QMessageBox::Warning);
        QVERIFY(prompter.asked().first().text.contains(path));
        QCOMPARE((QVariantList{view->isModified(), view->undoCount(), view->pic()->format()}),
                 (QVariantList{true, 1, "png"}));
        QCOMPARE(view->image(), edited);
    }

    void listSurvivesWrite_data()
    {
        QTest::addColumn<bool>("throughQuestion");
        QTest::newRow("save keeps the list and the row") << false;
        QTest::newRow("save on the way to the next file") << true;
    }
    void listSurvivesWrite()
    {
        QFETCH(bool, throughQuestion);
        PictureFixture pic;
        const QStringList files{pic.path("a.png"), pic.path("b.png"), pic.path("c.png")};
        for (const QString& file : files)
            QVERIFY(lumotest::writePicture(file, QSize(16, 16)));
        SPicView* view = pic.view();
        view->openList(files);
        QVERIFY(waitForPicture(view));
        view->setCurrentIndex(view->fileModel()->index(1, 0));
        QVERIFY(pic.runAdjustment(true));
        const QImage edited = view->image().copy();
        ScriptedPrompter prompter;
        prompter.answer(QMessageBox::Save);
        if (throughQuestion)
            view->next();
        else
            QVERIFY(view->save());
        QCOMPARE(prompter.asked().size(), throughQuestion ? 1 : 0);
        QVERIFY(qobject_cast<FileListModel*>(view->fileModel()));
        const int row = throughQuestion ? 2 : 1;
        QCOMPARE((QVariantList{view->fileModel()->rowCount(), view->currentRow(), view->filePath(),
                               view->isModified()}),
                 (QVariantList{3, row, files.at(row), false}));
        QCOMPARE(QImage(files.at(1)).convertToFormat(edited.format()), edited);
    }

    void pictureMadeInMemory()
    {
        PictureFixture pic;
        SPicView* view = pic.view();
        view->newImage(30, 20, 32, 0xff336699u);
        QVERIFY(pic.runAdjustment(true));
        ScriptedPrompter prompter;
        QVERIFY(!view->save() && prompter.asked().isEmpty()); // no file, and nothing to ask
        QSignalSpy models(view, &SPicView::dirModelChanged);
        const QString path = pic.path(QStringLiteral("new.png"));
        QVERIFY(view->write(path, QStringLiteral("png")));
        QCOMPARE((QVariantList{models.count(), view->isUnsavedNew(), view->isModified(),
                               QImage(path).size()}),
                 (QVariantList{1, false, false, QSize(30, 20)}));
        QTRY_COMPARE(view->filePath(), path);
    }

    void metadataLeftBehindIsSaid()
    {
        PictureFixture pic(QSize(64, 48), QStringLiteral("drawing.png"));
        {
            Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(pic.picturePath().toStdString());
            image->readMetadata();
            image->xmpData()["Xmp.dc.source"] = std::string(70000, 'x'); // too big for a JPEG
            image->writeMetadata();
        }
        pic.view()->openFile(pic.picturePath());
        QVERIFY(waitForPicture(pic.view()));
        QSignalSpy messages(pic.view(), &SPicView::message);
        QVERIFY(pic.view()->write(pic.path(QStringLiteral("copy.jpg")), QStringLiteral("jpg")));
        QCOMPARE(messages.count(), 1);
        QVERIFY(messages.first().first().toString().startsWith(QLatin1String("Save: ")));
    }
};

LUMO_TEST_MAIN(TestPictureWrite)
#include "tst_picturewrite.moc"
