#include "support/animatedgif.h"
#include "support/lumotest.h"
#include "support/picturefixture.h"
#include "support/pictureloading.h"
#include "support/scriptedfiledialogs.h"
#include "support/scriptedprompter.h"

#include "document/imageformats.h"
#include "document/picture.h"
#include "document/pictureanimation.h"
#include "document/recentfiles.h"
#include "imagewindow/imageopener.h"
#include "imagewindow/imagesaver.h"
#include "imagewindow/recentfilesmenu.h"
#include "imagewindow/saveasdecision.h"
#include "settings/settings.h"
#include "view/spicview.h"

#include <QDir>
#include <QImageReader>
#include <QMenu>

namespace {

using lumotest::contents;

// The smallest GIF: one transparent pixel. Qt reads GIF but has no writer for it.
const QByteArray onePixelGif = QByteArray::fromHex(
    "47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b");

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QStringList abc{"/p/a.png", "/p/b.png", "/p/c.png"};

QString filterOf(const QString& format)
{
    return format.isEmpty() ? QString() : ImageFormats::formatFilter(format);
}

} // namespace

// The Open and Save as questions, answered through scripted dialogs, and the recent files that
// reading records and the File menu lists.
class TestOpenSave : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Settings::instance()->store()->clear();
        m_recentFiles = std::make_unique<RecentFiles>();
        m_fileMenu = std::make_unique<QMenu>();
        m_otherMenu = std::make_unique<QMenu>();
        for (QMenu* menu : {m_fileMenu.get(), m_otherMenu.get()}) {
            menu->addAction(QStringLiteral("&Open"));
            menu->addSeparator();
            menu->addAction(QStringLiteral("&Quit"));
        }
        m_entries = new RecentFilesMenu(m_recentFiles.get(), m_fileMenu.get());
        m_otherEntries = new RecentFilesMenu(m_recentFiles.get(), m_otherMenu.get());
    }

    void reading_data()
    {
        QTest::addColumn<QStringList>("read"); // "other/" files are not pictures
        QTest::addColumn<int>("lastN");
        QTest::addColumn<QStringList>("lasts");
        QTest::newRow("a, b, a leaves a then b")
            << QStringList{"a.png", "b.png", "a.png"} << 10 << QStringList{"a.png", "b.png"};
        QTest::newRow("lastN 3 keeps the newest three")
            << QStringList{"a.png", "b.png", "c.png", "d.png", "e.png"} << 3
            << QStringList{"e.png", "d.png", "c.png"};
        QTest::newRow("a file that fails to read changes nothing")
            << QStringList{"a.png", "other/broken.png"} << 10 << QStringList{"a.png"};
    }

    void reading()
    {
        QFETCH(QStringList, read);
        QFETCH(int, lastN);
        QFETCH(QStringList, lasts);
        PictureFixture fixture;
        connect(fixture.view(), &SPicView::fileRead, m_recentFiles.get(), &RecentFiles::add);
        Settings::General* general = Settings::instance()->general();
        general->setLasts({});
        general->setLastN(lastN);
        for (const QString& name : read) {
            const QString path = fixture.path(name);
            if (name.startsWith("other/"))
                QVERIFY(writeFile(path, "not a picture"));
            else if (!QFileInfo::exists(path))
                QVERIFY(lumotest::writePicture(path, QSize(4, 4)));
            fixture.view()->openFile(path);
            waitForPicture(fixture.view());
        }
        for (QString& name : lasts)
            name = fixture.path(name);
        QCOMPARE(general->lasts(), lasts);
        QCOMPARE(general->lastDir(), QFileInfo(fixture.picturePath()).absolutePath());
    }

    void menuEntries_data()
    {
        QTest::addColumn<bool>("show");
        QTest::addColumn<int>("lastN");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("numbered from 0")
            << true << 10 << QStringList{"-", "&0: /p/a.png", "&1: /p/b.png", "&2: /p/c.png"}
            << abc;
        QTest::newRow("lastN 1 shows one and shortens the list")
            << true << 1 << QStringList{"-", "&0: /p/a.png"} << QStringList{"/p/a.png"};
        QTest::newRow("hidden list ends the menu with quit") << false << 1 << QStringList() << abc;
    }

    void menuEntries()
    {
        QFETCH(bool, show);
        QFETCH(int, lastN);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, stored);
        Settings::General* general = Settings::instance()->general();
        general->setLasts(abc);
        general->setShowLastFiles(show);
        general->setLastN(lastN);
        // Shown twice, the entries are made again rather than added a second time.
        m_entries->rebuild();
        m_entries->rebuild();
        QCOMPARE(tail(*m_fileMenu), entries);
        QCOMPARE(m_fileMenu->actions().at(2)->text(), QStringLiteral("&Quit"));
        QCOMPARE(general->lasts(), stored);
        // The other File menu has entries of its own, untouched until it shows.
        QCOMPARE(tail(*m_otherMenu), QStringList());
    }

    void entryOpensItsFile()
    {
        Settings::General* general = Settings::instance()->general();
        general->setLasts(abc);
        m_entries->rebuild();
        QSignalSpy chosen(m_entries, &RecentFilesMenu::chosen);
        QAction* oldest = m_fileMenu->actions().at(6);
        oldest->trigger();
        // The list shrank behind the menu's back since it showed: the entry opens nothing.
        general->setLasts({"/p/a.png"});
        oldest->trigger();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toString(), QStringLiteral("/p/c.png"));
    }

    // Recording a file remembers its folder, where the next open dialog starts.
    void openDialog()
    {
        m_recentFiles->add(QStringLiteral("/home/u/pics/x.jpg"));
        ScriptedFileDialogs dialogs;
        const QStringList chosen{"/p/c.png", "/p/a.png", "/p/b.jpg"};
        dialogs.chooseFiles(chosen);
        QCOMPARE(ImageOpener::chooseFiles(nullptr), chosen);
        QCOMPARE(dialogs.openCalls().value(0).directory, QStringLiteral("/home/u/pics"));
        QVERIFY(dialogs.openCalls().first().filter.startsWith(
            ImageFormats::instance()->allImagesFilter() + ";;All Files (*);;"));
    }

    // What Save as proposes: a picture's own name where its format is written, else its name
    // without the suffix as JPG; a picture without a file PNG in the first folder that exists.
    void saveAsProposal_data()
    {
        QTest::addColumn<QString>("picture"); // "@": the sandbox
        QTest::addColumn<QStringList>("folders"); // for a new picture; "gone" does not exist
        QTest::addColumn<QStringList>("proposal"); // file, filter's format, folder
        const QStringList none;
        QTest::newRow("writable: its own name and format")
            << "@/photo.png" << none << QStringList{"@/photo.png", "png", ""};
        QTest::newRow("gif, not writable: jpg without the suffix")
            << "@/photo.gif" << none << QStringList{"@/photo", "jpg", ""};
        QTest::newRow("no suffix in a folder with a dot")
            << "@/my.photos/photo" << none << QStringList{"@/my.photos/photo", "", ""};
        QTest::newRow("new picture: the last folder used")
            << "" << QStringList{"@/last", "@"} << QStringList{"", "png", "@/last"};
        QTest::newRow("new picture, last folder gone: the next one")
            << "" << QStringList{"@/gone", "@"} << QStringList{"", "png", "@"};
    }

    void saveAsProposal()
    {
        QFETCH(QString, picture);
        QFETCH(QStringList, folders);
        QFETCH(QStringList, proposal);
        const ImageFormats* formats = ImageFormats::instance();
        if (formats->canWrite(QStringLiteral("gif")))
            QSKIP("needs an image library that cannot write GIF");
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("last"))));
        picture.replace('@', dir.path());
        folders.replaceInStrings(QStringLiteral("@"), dir.path());
        proposal.replaceInStrings(QStringLiteral("@"), dir.path());
        const SaveAsDecision::Proposal made = SaveAsDecision::propose(picture, *formats, folders);
        QCOMPARE((QStringList{made.file, made.filter, made.directory}),
                 (QStringList{proposal.at(0), filterOf(proposal.at(1)), proposal.at(2)}));
    }

    void saveAsWrites_data()
    {
        QTest::addColumn<QStringList>("answers"); // file, filter format, file, ...
        QTest::addColumn<int>("reply");           // when set, name.png exists
        QTest::addColumn<QString>("written");
        // The boxes shown: each title with the first line of its text.
        QTest::addColumn<QStringList>("asked");
        const QStringList none, replace{"lumo-image - Replace file?: name.png already exists."};
        QTest::newRow("the suffix wins over the filter")
            << QStringList{"name.JPEG", "PNG"} << 0 << "name.JPEG" << none;
        QTest::newRow("no suffix takes the filter's, also inside my.photos")
            << QStringList{"my.photos/name", "PNG"} << 0 << "my.photos/name.png" << none;
        QTest::newRow("unsupported suffix warns and asks again")
            << QStringList{"name.xyz", "PNG", "name.bmp", "PNG"} << 0 << "name.bmp"
            << QStringList{"lumo-image - Wrong file suffix: Images cannot be saved with the file "
                           "suffix \"xyz\"."};
        QTest::newRow("completed name exists, no asks again")
            << QStringList{"name", "PNG"} << int(QMessageBox::No) << "" << replace;
        QTest::newRow("completed name exists, yes replaces it")
            << QStringList{"name", "PNG"} << int(QMessageBox::Yes) << "name.png" << replace;
    }

    void saveAsWrites()
    {
        QFETCH(QStringList, answers);
        QFETCH(int, reply);
        QFETCH(QString, written);
        QFETCH(QStringList, asked);
        PictureFixture fixture;
        QDir().mkpath(fixture.path(QStringLiteral("my.photos")));
        const QString existing = fixture.path(QStringLiteral("name.png"));
        if (reply != 0)
            QVERIFY(lumotest::writePicture(existing, QSize(4, 4)));
        const QByteArray existingBytes = contents(existing);
        QVERIFY(fixture.runAdjustment(true));

        ScriptedFileDialogs dialogs;
        for (int i = 0; i + 1 < answers.size(); i += 2)
            dialogs.chooseSave(fixture.path(answers.at(i)), filterOf(answers.at(i + 1)));
        ScriptedPrompter prompter;
        if (reply != 0)
            prompter.answer(QMessageBox::StandardButton(reply));
        QCOMPARE(ImageSaver::saveAs(fixture.view(), nullptr), !written.isEmpty());
        QCOMPARE(dialogs.saveProposals().value(0).selectedFile, fixture.picturePath());

        QStringList titles;
        for (const ScriptedPrompter::Question& question : prompter.asked())
            titles << question.title + ": " + question.text.section('\n', 0, 0);
        QCOMPARE(titles, asked);
        // Every new run is the same dialog, showing what the user left in it.
        const QList<ScriptedFileDialogs::SaveRun> runs = dialogs.saveRuns();
        QCOMPARE(runs.size(), answers.size() / 2 + (written.isEmpty() ? 1 : 0));
        for (int i = 1; i < runs.size(); ++i) {
            QCOMPARE(runs.at(i).dialog, 0);
            QCOMPARE(runs.at(i).file, fixture.path(answers.at(2 * i - 2)));
            QCOMPARE(runs.at(i).filter, filterOf(answers.at(2 * i - 1)));
        }
        if (written.isEmpty()) {
            QCOMPARE(contents(existing), existingBytes);
            return;
        }
        QImageReader reader(fixture.path(written));
        // The format follows the suffix the file got.
        QCOMPARE(reader.format(), QFileInfo(written).suffix().toLower().toLatin1());
        QCOMPARE(reader.read().size(), fixture.view()->image().size());
    }

    // Before writing a lossy format, the status bar says at which quality; which quality that is
    // is the writer's test. A write that fails takes the words back.
    void saveAsSaysQuality_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("camera JPEG keeps its quality")
            << "photo.jpg" << "copy.jpg" << QStringList{"Saving as JPG at quality 60."};
        QTest::newRow("PNG to JPEG at the library's default")
            << "drawing.png" << "copy.jpg" << QStringList{"Saving as JPG at quality 75."};
        QTest::newRow("nothing said for PNG") << "photo.jpg" << "copy.png" << QStringList();
        QTest::newRow("failed write: said, then cleared")
            << "photo.jpg" << "gone/copy.jpg" << QStringList{"Saving as JPG at quality 60.", ""};
    }
    void saveAsSaysQuality()
    {
        QFETCH(QString, source);
        QFETCH(QString, typed);
        QFETCH(QStringList, said);
        PictureFixture fixture;
        const QString path = fixture.path(source);
        QVERIFY(lumotest::rampImage(QSize(32, 24)).save(path, nullptr, 60));
        fixture.view()->openFile(path);
        QVERIFY(waitForPicture(fixture.view()));
        QVERIFY(fixture.runAdjustment(true));
        ScriptedFileDialogs dialogs;
        dialogs.chooseSave(fixture.path(typed), filterOf(QStringLiteral("PNG")));
        ScriptedPrompter prompter;
        QSignalSpy messages(fixture.view(), &SPicView::message);
        const bool written = ImageSaver::saveAs(fixture.view(), nullptr);
        // Only the write error is asked.
        QCOMPARE(written, prompter.asked().isEmpty());
        QStringList texts;
        for (const QList<QVariant>& message : messages)
            texts << message.first().toString();
        QCOMPARE(texts, said);
    }

    // A picture in a format that is not written says so once and offers Save as; an animation
    // is told about its frames only where the write can happen, and may still stay unwritten.
    void save_data()
    {
        QTest::addColumn<QString>("source"); // "memory": made in memory, without a file
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QStringList>("asked");
        using B = QMessageBox;
        const QStringList none, gif{"lumo-image - Save"};
        QTest::newRow("changed picture over its own file")
            << "picture.png" << true << QList<int>() << "picture.png" << none;
        QTest::newRow("unchanged picture is not written")
            << "picture.png" << false << QList<int>() << "" << none;
        QTest::newRow("picture made in memory asks for a name")
            << "memory" << true << QList<int>() << "new.png" << none;
        QTest::newRow("GIF: said once, then Save as")
            << "still.gif" << true << QList<int>{B::Save} << "new.png" << gif;
        QTest::newRow("GIF: said once, cancelled") << "still.gif" << true
                                                   << QList<int>{B::Cancel} << "" << gif;
        QTest::newRow("animated GIF: the frames told after the dialog, cancelled")
            << "animated.gif" << true << QList<int>{B::Save, B::Cancel} << ""
            << QStringList{"lumo-image - Save", "lumo-image - Save animation"};
    }

    void save()
    {
        QFETCH(QString, source);
        QFETCH(bool, edited);
        QFETCH(QList<int>, answers);
        QFETCH(QString, written);
        QFETCH(QStringList, asked);
        PictureFixture fixture;
        SPicView* view = fixture.view();
        if (source == "memory") {
            view->setImage(lumotest::rampImage(QSize(20, 10)));
            Settings::instance()->general()->setLastDir(fixture.path(QString()));
        } else if (source.endsWith(".gif")) {
            const QString gif = fixture.path(source);
            QVERIFY(source == "animated.gif"
                        ? animatedgif::write(gif, QSize(8, 8), {5, 5, 5})
                        : writeFile(gif, onePixelGif));
            view->openFile(gif);
            QVERIFY(waitForPicture(view));
            // A user is slower than the reading of the frames, which finds a still one.
            QTRY_VERIFY(!view->picture()->isAnimated()
                        || view->picture()->animation()->frameCount() > 0);
        }
        if (edited)
            QVERIFY(fixture.runAdjustment(true));
        const QImage picture = view->image().copy();
        const QByteArray before = contents(fixture.picturePath());
        ScriptedFileDialogs dialogs;
        dialogs.chooseSave(fixture.path(QStringLiteral("new")), filterOf(QStringLiteral("png")));
        ScriptedPrompter prompter;
        for (int answer : answers)
            prompter.answer(QMessageBox::StandardButton(answer));

        QCOMPARE(ImageSaver::save(view, nullptr), !written.isEmpty());
        QStringList titles;
        for (const ScriptedPrompter::Question& question : prompter.asked())
            titles << question.title;
        QCOMPARE(titles, asked);
        QCOMPARE(dialogs.saveRuns().size(), written == "new.png" || answers.size() == 2 ? 1 : 0);
        if (source == "memory") // proposed where the last picture came from
            QCOMPARE(dialogs.saveProposals().value(0).directory, fixture.path(QString()));
        QCOMPARE(contents(fixture.picturePath()) == before,
                 written != QLatin1String("picture.png"));
        QVERIFY(!QFileInfo::exists(fixture.path(QStringLiteral("new.png"))) || !written.isEmpty());
        if (!written.isEmpty()) {
            QCOMPARE(QImage(fixture.path(written)).convertToFormat(picture.format()), picture);
            QVERIFY(!view->isModified());
        }
    }

private:
    // What follows "&Quit"; a separator shows as "-".
    static QStringList tail(const QMenu& menu)
    {
        QStringList texts;
        const QList<QAction*> actions = menu.actions();
        for (int i = 3; i < actions.size(); ++i)
            texts << (actions.at(i)->isSeparator() ? QStringLiteral("-") : actions.at(i)->text());
        return texts;
    }

    std::unique_ptr<RecentFiles> m_recentFiles;
    // As the image window's and the browser's File menus end.
    std::unique_ptr<QMenu> m_fileMenu;
    std::unique_ptr<QMenu> m_otherMenu;
    RecentFilesMenu* m_entries = nullptr;
    RecentFilesMenu* m_otherEntries = nullptr;
};

LUMO_TEST_MAIN(TestOpenSave)
#include "tst_opensave.moc"
