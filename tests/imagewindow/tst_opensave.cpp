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
#include "imagewindow/recentfilesmenu.h"
#include "imagewindow/saveasdecision.h"
#include "imagewindow/savecommands.h"
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

// One save: the picture, what the user answers, and what comes of it.
struct SaveRow
{
    QString source; // the fixture's picture.png, "memory", a GIF, or photo.jpg at quality 60
    bool edited;
    bool saveAs; // else Save
    QStringList dialog; // what the save dialog is given in turn: file, filter's format, ...
    QList<int> answers; // to the questions, in turn
    QString written;    // empty: nothing
    QStringList asked;  // each question's title, with ": " and the first line of its text
    int runs;           // of the save dialog
    QStringList said;   // in the status bar
};


QString filterOf(const QString& format)
{
    return format.isEmpty() ? QString() : ImageFormats::formatFilter(format);
}

} // namespace

Q_DECLARE_METATYPE(SaveRow)

// The Save and Save as questions, answered through scripted dialogs, and the recent files that
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

    // Save and Save as, from the questions asked to the file written. The dialog shows the
    // picture's own name first and on every new run what the user left in it; a picture in a
    // format that is not written says so once and offers Save as; an animation is told about its
    // frames only where the write can happen. Before writing a lossy format the status bar says
    // at which quality (which quality that is is the writer's test); a write that fails takes
    // the words back.
    void save_data()
    {
        QTest::addColumn<SaveRow>("row");
        using B = QMessageBox;
        const QString png = "picture.png", photo = "photo.jpg";
        const QStringList none, gif{"lumo-image - Save"};
        const QStringList replace{"lumo-image - Replace file?: name.png already exists."};
        const QStringList at60{"Saving as JPG at quality 60."};
        QTest::newRow("Save as: the suffix wins over the filter, said at the library's quality")
            << SaveRow{png, true, true, {"name.JPEG", "PNG"}, {}, "name.JPEG", none, 1,
                       {"Saving as JPEG at quality 75."}};
        QTest::newRow("Save as: no suffix takes the filter's, also inside my.photos")
            << SaveRow{png, true, true, {"my.photos/name", "PNG"}, {}, "my.photos/name.png",
                       none, 1, none};
        QTest::newRow("Save as: an unsupported suffix warns and asks again")
            << SaveRow{png, true, true, {"name.xyz", "PNG", "name.bmp", "PNG"}, {}, "name.bmp",
                       {"lumo-image - Wrong file suffix: Images cannot be saved with the file "
                        "suffix \"xyz\"."}, 2, none};
        QTest::newRow("Save as: the completed name exists, No asks again")
            << SaveRow{png, true, true, {"name", "PNG"}, {B::No}, "", replace, 2, none};
        QTest::newRow("Save as: the completed name exists, Yes replaces it")
            << SaveRow{png, true, true, {"name", "PNG"}, {B::Yes}, "name.png", replace, 1, none};
        QTest::newRow("Save as: a camera JPEG keeps its quality")
            << SaveRow{photo, true, true, {"copy.jpg", "PNG"}, {}, "copy.jpg", none, 1, at60};
        QTest::newRow("Save as: nothing said for PNG")
            << SaveRow{photo, true, true, {"copy.png", "PNG"}, {}, "copy.png", none, 1, none};
        QTest::newRow("Save as: a failed write is said, then cleared")
            << SaveRow{photo, true, true, {"gone/copy.jpg", "PNG"}, {}, "",
                       {"lumo-image - Write error"}, 1, at60 + QStringList{""}};
        QTest::newRow("changed picture over its own file")
            << SaveRow{png, true, false, {"new", "png"}, {}, png, none, 0, none};
        QTest::newRow("unchanged picture is not written")
            << SaveRow{png, false, false, {"new", "png"}, {}, "", none, 0, none};
        QTest::newRow("picture made in memory asks for a name, where the last picture came from")
            << SaveRow{"memory", true, false, {"new", "png"}, {}, "new.png", none, 1, none};
        QTest::newRow("GIF: said once, then Save as")
            << SaveRow{"still.gif", true, false, {"new", "png"}, {B::Save}, "new.png", gif, 1,
                       none};
        QTest::newRow("GIF: said once, cancelled")
            << SaveRow{"still.gif", true, false, {"new", "png"}, {B::Cancel}, "", gif, 0, none};
        QTest::newRow("animated GIF: the frames told after the dialog, cancelled")
            << SaveRow{"animated.gif", true, false, {"new", "png"}, {B::Save, B::Cancel}, "",
                       {"lumo-image - Save", "lumo-image - Save animation"}, 1, none};
    }

    void save()
    {
        QFETCH(SaveRow, row);
        PictureFixture fixture;
        SPicView* view = fixture.view();
        QDir().mkpath(fixture.path(QStringLiteral("my.photos")));
        const QString existing = fixture.path(QStringLiteral("name.png"));
        QVERIFY(lumotest::writePicture(existing, QSize(4, 4)));
        if (row.source == "memory") {
            view->setImage(lumotest::rampImage(QSize(20, 10)));
            Settings::instance()->general()->setLastDir(fixture.path(QString()));
        } else if (row.source != "picture.png") {
            const QString path = fixture.path(row.source);
            QVERIFY(row.source == "animated.gif" ? animatedgif::write(path, QSize(8, 8), {5, 5, 5})
                    : row.source == "still.gif"
                        ? writeFile(path, onePixelGif)
                        : lumotest::rampImage(QSize(32, 24)).save(path, nullptr, 60));
            view->openFile(path);
            QVERIFY(waitForPicture(view));
            // A user is slower than the reading of the frames, which finds a still one.
            QTRY_VERIFY(!view->picture()->isAnimated()
                        || view->picture()->animation()->frameCount() > 0);
        }
        if (row.edited)
            QVERIFY(fixture.runAdjustment(true));
        const QImage picture = view->image().copy();
        const QString shownPath = view->filePath();
        const QByteArray before = contents(fixture.picturePath());
        const QByteArray existingBytes = contents(existing);
        ScriptedFileDialogs dialogs;
        for (int i = 0; i + 1 < row.dialog.size(); i += 2)
            dialogs.chooseSave(fixture.path(row.dialog.at(i)), filterOf(row.dialog.at(i + 1)));
        ScriptedPrompter prompter;
        for (int answer : row.answers)
            prompter.answer(QMessageBox::StandardButton(answer));
        QSignalSpy messages(view, &SPicView::message);

        const bool saved = row.saveAs ? SaveCommands::saveAs(view, nullptr)
                                      : SaveCommands::save(view, nullptr);
        QCOMPARE(saved, !row.written.isEmpty());
        // Each title, with the first line of its text where the row names it.
        QStringList asked;
        for (const ScriptedPrompter::Question& question : prompter.asked())
            asked << question.title
                         + (row.asked.value(asked.size()).contains(": ")
                                ? ": " + question.text.section('\n', 0, 0)
                                : QString());
        QCOMPARE(asked, row.asked);
        QStringList said;
        for (const QList<QVariant>& message : messages)
            said << message.first().toString();
        QCOMPARE(said, row.said);
        const QList<ScriptedFileDialogs::SaveRun> runs = dialogs.saveRuns();
        QCOMPARE(runs.size(), row.runs);
        for (int i = 1; i < runs.size(); ++i) {
            QCOMPARE(runs.at(i).dialog, 0);
            QCOMPARE(runs.at(i).file, fixture.path(row.dialog.at(2 * i - 2)));
            QCOMPARE(runs.at(i).filter, filterOf(row.dialog.at(2 * i - 1)));
        }
        if (row.source == "memory")
            QCOMPARE(dialogs.saveProposals().value(0).directory, fixture.path(QString()));
        else if (row.saveAs)
            QCOMPARE(dialogs.saveProposals().value(0).selectedFile, shownPath);

        QCOMPARE(contents(fixture.picturePath()) == before, row.written != "picture.png");
        QCOMPARE(contents(existing) == existingBytes, row.written != "name.png");
        QCOMPARE(QFileInfo::exists(fixture.path(QStringLiteral("new.png"))),
                 row.written == "new.png");
        if (row.written.isEmpty())
            return;
        QImageReader reader(fixture.path(row.written));
        // The format follows the suffix the file got.
        const QByteArray suffix = QFileInfo(row.written).suffix().toLower().toLatin1();
        QCOMPARE(reader.format(), suffix == "jpg" ? QByteArray("jpeg") : suffix);
        const QImage written = reader.read();
        QCOMPARE(written.size(), picture.size());
        if (suffix == "png")
            QCOMPARE(written.convertToFormat(picture.format()), picture);
        QVERIFY(!view->isModified());
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
