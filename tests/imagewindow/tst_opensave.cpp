#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/scriptedfiledialogs.h"
#include "support/scriptedprompter.h"

#include "app/settings.h"
#include "imagewindow/imageopener.h"
#include "imagewindow/imagesaver.h"
#include "view/imageformats.h"
#include "view/spicview.h"

#include <QDir>
#include <QImageReader>
#include <QSettings>

// The Open and Save as questions, answered through scripted dialogs.
class TestOpenSave : public QObject
{
    Q_OBJECT

private slots:
    void openDialog_data();
    void openDialog();
    void saveAsProposal_data();
    void saveAsProposal();
    void saveAsWrites_data();
    void saveAsWrites();
    void save_data();
    void save();
};

namespace {

// The smallest GIF: one transparent pixel. Qt reads GIF but has no writer for it.
const QByteArray onePixelGif = QByteArray::fromHex(
    "47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b");

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString filterOf(const QString& format)
{
    return format.isEmpty() ? QString() : ImageFormats::formatFilter(format);
}

} // namespace

void TestOpenSave::openDialog_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QString>("directory");
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    QTest::newRow("cancelled, in the remembered folder")
        << "/home/u/pics" << QStringList() << "/home/u/pics";
    QTest::newRow("three files in the order returned")
        << "/home/u/pics" << QStringList{"/p/c.png", "/p/a.png", "/p/b.jpg"} << "/home/u/pics";
    QTest::newRow("nothing remembered starts on the desktop") << "" << QStringList() << desktop;
}

void TestOpenSave::openDialog()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, chosen);
    QFETCH(QString, directory);
    Settings::instance()->general()->setLastDir(stored);
    ScriptedFileDialogs dialogs;
    dialogs.chooseFiles(chosen);
    QCOMPARE(ImageOpener::chooseFiles(nullptr), chosen);
    QCOMPARE(dialogs.openCalls().size(), 1);
    QCOMPARE(dialogs.openCalls().first().directory, directory);
    const QStringList filters = dialogs.openCalls().first().filter.split(QStringLiteral(";;"));
    const ImageFormats* formats = ImageFormats::instance();
    QCOMPARE(filters.value(0), formats->allImagesFilter());
    QCOMPARE(filters.value(1), QStringLiteral("All Files (*)"));
    QCOMPARE(filters.mid(2), formats->readFilters());
    QCOMPARE(Settings::instance()->store()->value("/lumo-apps/lumo-image/lastDir").toString(),
             stored);
}

void TestOpenSave::saveAsProposal_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("filter");
    QTest::newRow("writable: its own name and format") << "photo.png"
                                                       << "photo.png"
                                                       << "png";
    QTest::newRow("gif, not writable: jpg without the suffix") << "photo.gif"
                                                               << "photo"
                                                               << "jpg";
    QTest::newRow("no suffix in a folder with a dot") << "my.photos/photo"
                                                      << "my.photos/photo"
                                                      << "";
}

void TestOpenSave::saveAsProposal()
{
    QFETCH(QString, picture);
    QFETCH(QString, file);
    QFETCH(QString, filter);
    const ImageFormats* formats = ImageFormats::instance();
    if (!formats->canRead(QStringLiteral("gif")) || formats->canWrite(QStringLiteral("gif")))
        QSKIP("needs an image library that reads GIF and cannot write it");
    PictureFixture fixture;
    const QString path = fixture.path(picture);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (picture.endsWith(QLatin1String(".gif"))) {
        QFile gif(path);
        QVERIFY(gif.open(QIODevice::WriteOnly) && gif.write(onePixelGif) > 0);
    } else {
        QVERIFY(PictureFixture::writePicture(path, QSize(8, 8), "png"));
    }
    QVERIFY(fixture.view()->openFile(path));
    const QStringList before = QDir(fixture.path(QString())).entryList();

    ScriptedFileDialogs dialogs;
    ScriptedPrompter prompter;
    QVERIFY(!ImageSaver::saveAs(fixture.view(), nullptr));
    QCOMPARE(dialogs.saveProposals().size(), 1);
    const FileDialogs::SaveProposal proposal = dialogs.saveProposals().first();
    QCOMPARE(proposal.caption, QStringLiteral("Save file as"));
    QCOMPARE(proposal.filters, formats->writeFilters());
    QCOMPARE(proposal.selectedFile, fixture.path(file));
    QCOMPARE(proposal.selectedFilter, filterOf(filter));
    QCOMPARE(QDir(fixture.path(QString())).entryList(), before);
    QVERIFY(prompter.asked().isEmpty());
}

void TestOpenSave::saveAsWrites_data()
{
    QTest::addColumn<QStringList>("answers"); // file, filter format, file, ...
    QTest::addColumn<QString>("existing");
    QTest::addColumn<int>("reply");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QStringList>("asked"); // titles of the boxes shown
    const QString wrong = QStringLiteral("Wrong file suffix");
    const QString replace = QStringLiteral("lumo-image - Replace file?");
    QTest::newRow("no suffix takes the filter's")
        << QStringList{"name", "PNG"} << "" << 0 << "name.png" << QByteArray("png")
        << QStringList();
    QTest::newRow("the suffix wins over the filter")
        << QStringList{"name.JPEG", "PNG"} << "" << 0 << "name.JPEG" << QByteArray("jpeg")
        << QStringList();
    QTest::newRow("no suffix inside my.photos")
        << QStringList{"my.photos/name", "PNG"} << "" << 0 << "my.photos/name.png"
        << QByteArray("png") << QStringList();
    QTest::newRow("unsupported suffix warns and asks again")
        << QStringList{"name.xyz", "PNG", "name.bmp", "PNG"} << "" << 0 << "name.bmp"
        << QByteArray("bmp") << QStringList{wrong};
    QTest::newRow("completed name exists, no asks again")
        << QStringList{"name", "PNG"} << "name.png" << int(QMessageBox::No) << "" << QByteArray()
        << QStringList{replace};
    QTest::newRow("completed name exists, yes replaces it")
        << QStringList{"name", "PNG"} << "name.png" << int(QMessageBox::Yes) << "name.png"
        << QByteArray("png") << QStringList{replace};
}

void TestOpenSave::saveAsWrites()
{
    QFETCH(QStringList, answers);
    QFETCH(QString, existing);
    QFETCH(int, reply);
    QFETCH(QString, written);
    QFETCH(QByteArray, format);
    QFETCH(QStringList, asked);
    PictureFixture fixture;
    QDir().mkpath(fixture.path(QStringLiteral("my.photos")));
    if (!existing.isEmpty())
        QVERIFY(PictureFixture::writePicture(fixture.path(existing), QSize(4, 4)));
    const QByteArray existingBytes = contents(fixture.path(existing));
    QVERIFY(fixture.runAdjustment(true));
    const QImage edited = fixture.view()->image().copy();

    ScriptedFileDialogs dialogs;
    for (int i = 0; i + 1 < answers.size(); i += 2)
        dialogs.chooseSave(fixture.path(answers.at(i)), filterOf(answers.at(i + 1)));
    ScriptedPrompter prompter;
    if (reply != 0)
        prompter.answer(QMessageBox::StandardButton(reply));
    QCOMPARE(ImageSaver::saveAs(fixture.view(), nullptr), !written.isEmpty());

    QStringList titles;
    for (const ScriptedPrompter::Question& question : prompter.asked())
        titles << question.title;
    QCOMPARE(titles, asked);
    // Every new run is the same dialog, showing what the user left in it.
    const QList<ScriptedFileDialogs::SaveRun> runs = dialogs.saveRuns();
    for (int i = 1; i < runs.size(); ++i) {
        QCOMPARE(runs.at(i).dialog, 0);
        QCOMPARE(runs.at(i).file, fixture.path(answers.at(2 * i - 2)));
        QCOMPARE(runs.at(i).filter, filterOf(answers.at(2 * i - 1)));
    }
    if (written.isEmpty()) {
        QCOMPARE(runs.size(), answers.size() / 2 + 1);
        QCOMPARE(contents(fixture.path(existing)), existingBytes);
        return;
    }
    QCOMPARE(runs.size(), answers.size() / 2);
    QImageReader reader(fixture.path(written));
    QCOMPARE(reader.format(), format);
    QCOMPARE(reader.read().size(), edited.size());
}

void TestOpenSave::save_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<bool>("madeInMemory");
    QTest::addColumn<QString>("written");
    QTest::newRow("changed picture over its own file") << true << false << "picture.png";
    QTest::newRow("unchanged picture is not written") << false << false << "";
    QTest::newRow("picture made in memory asks for a name") << true << true << "new.png";
}

void TestOpenSave::save()
{
    QFETCH(bool, edited);
    QFETCH(bool, madeInMemory);
    QFETCH(QString, written);
    PictureFixture fixture;
    SPicView* view = fixture.view();
    if (madeInMemory)
        view->setImage(PictureFixture::rampImage(QSize(20, 10)));
    if (edited)
        QVERIFY(fixture.runAdjustment(true));
    const QImage picture = view->image().copy();
    const QByteArray before = contents(fixture.picturePath());
    ScriptedFileDialogs dialogs;
    dialogs.chooseSave(fixture.path(QStringLiteral("new")), filterOf(QStringLiteral("png")));

    QCOMPARE(ImageSaver::save(view, nullptr), !written.isEmpty());
    QCOMPARE(dialogs.saveRuns().size(), madeInMemory ? 1 : 0);
    QCOMPARE(contents(fixture.picturePath()) == before, written != QLatin1String("picture.png"));
    if (!written.isEmpty()) {
        QCOMPARE(QImage(fixture.path(written)).convertToFormat(picture.format()), picture);
        QVERIFY(!view->isModified());
    }
}

LUMO_TEST_MAIN(TestOpenSave)
#include "tst_opensave.moc"
