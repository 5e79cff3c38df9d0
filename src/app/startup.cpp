#include "app/startup.h"

#include "app/mainwindow.h"
#include "decoding/decoderpool.h"
#include "dialogs/registeradjustmentdialogs.h"
#include "document/imageformats.h"
#include "document/metadatalog.h"
#include "document/pictureloader.h"
#include "document/recentfiles.h"
#include "fullscreen/fullscreenpicview.h"
#include "imagewindow/imagescentralwidget.h"
#include "view/spicview.h"
#include "platform/lumofm/core.h"
#include "platform/lumofm/vfs.h"
#include "platform/lumoinit.h"
#include "settings/settings.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QOpenGLContext>
#include <QScreen>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>

namespace {
const char* const kFullScreenOption = "f";
const char* const kDirectoryOption = "d";

// --help and --version only print: they must answer on a terminal without a display, over ssh
// for one, where the application object of the windows cannot even be made.
bool asksOnlyForText(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    Startup::setUpParser(parser);
    // Qt's own options (-platform, -display) are unknown here and leave the answer to the
    // windowed run.
    return parser.parse(arguments)
           && (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version")));
}

[[noreturn]] void printTextAndExit(int& argc, char** argv)
{
    QCoreApplication app(argc, argv);
    lumoInit(Startup::version(), Startup::description());
    QCommandLineParser parser;
    Startup::setUpParser(parser);
    parser.parse(QCoreApplication::arguments());
    // The order of QCommandLineParser::process().
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    parser.showHelp();
}

// The full-screen view alone over the files of the command line.
int runFullScreenView(const QStringList& files)
{
    if (files.isEmpty()) {
        // A black screen with a placeholder would tell the user less than a line on the terminal.
        const QString text =
            QCoreApplication::translate("main", "No image files to show in fullscreen view mode.");
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return 1;
    }
    RecentFiles recentFiles;
    FullscreenPicView view;
    QObject::connect(&view, &SPicView::fileRead, &recentFiles, &RecentFiles::add);
    view.open(files);
    return QApplication::exec();
}
} // namespace

QString Startup::version()
{
    return QStringLiteral("1.6.2");
}

QString Startup::description()
{
    return QStringLiteral("lumo-image is an application for viewing image files.\n"
                          "You can also make some changes to images:\n"
                          "  - change HSV balance\n"
                          "  - change color balance\n"
                          "  - invert colors\n"
                          "  - change image size\n"
                          "  - change image format\n"
                          "  - cut images\n"
                          "  - make a slideshow.");
}

void Startup::setUpParser(QCommandLineParser& parser)
{
    parser.setApplicationDescription(lumoApplicationDescription());
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        {QString::fromLatin1(kFullScreenOption), QStringLiteral("fullscreen-view")},
        QCoreApplication::translate("main", "Run in fullscreen view mode")));
    parser.addOption(QCommandLineOption(QString::fromLatin1(kDirectoryOption),
                                        QCoreApplication::translate("main", "Open directory"),
                                        QStringLiteral("directory")));
    parser.addPositionalArgument(QStringLiteral("directory"),
                                 QCoreApplication::translate("main", "directory"));
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QCoreApplication::translate("main", "image files"));
}

Startup::Arguments Startup::sort(const QCommandLineParser& parser,
                                 const std::function<void()>& betweenArguments)
{
    Arguments arguments = sort(parser.positionalArguments(),
                               parser.isSet(QString::fromLatin1(kDirectoryOption)),
                               parser.value(QString::fromLatin1(kDirectoryOption)), betweenArguments);
    arguments.fullScreen = parser.isSet(QString::fromLatin1(kFullScreenOption));
    return arguments;
}

Startup::Arguments Startup::sort(const QStringList& positional, bool directorySet,
                                 const QString& directory,
                                 const std::function<void()>& betweenArguments)
{
    Arguments arguments;
    LumoFM::VFS* vfs = LumoFM::VFS::ptr();
    if (directorySet) {
        // An explicit start directory wins; the positional arguments are not looked at.
        const LumoFM::Entry entry = vfs->entry(directory);
        if (vfs->isEntryExists(entry) && entry.isDir())
            arguments.startDirectory = entry.path();
        return arguments;
    }

    for (const QString& argument : positional) {
        if (betweenArguments)
            betweenArguments();
        const LumoFM::Entry entry = vfs->entry(argument);
        if (!vfs->isEntryExists(entry)) {
            arguments.missing.append(argument);
            continue;
        }
        // A pipe or a device is offered as a picture, which then reads as unreadable, rather
        // than as a folder to browse.
        if (entry.isDir())
            arguments.directories.append(entry.path());
        else
            arguments.files.append(entry.path());
    }

    if (!arguments.directories.isEmpty())
        arguments.startDirectory = arguments.directories.first();
    else if (arguments.files.size() >= 2)
        arguments.startDirectory = vfs->parent(vfs->entry(arguments.files.first())).path();
    return arguments;
}

void Startup::prestartDecoder()
{
    // A helper takes about a tenth of a second of a core to start, which the first picture
    // waits for: begun first, it overlaps the loading of Qt and the building of the window.
    // One is enough: the first picture's stand-in or corner and then the whole of it are read
    // in turn, and reading ahead waits for the first paint.
    const QString directory = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (directory.isEmpty())
        return;
    DecoderPool& pool = DecoderPool::shared();
    pool.setProgram(directory + QStringLiteral("/lumo-decode"));
    pool.setTranslationsDir(lumoTranslationsDir(directory));
    pool.startOneHere();
}

void Startup::readFirstPictureEarly(const Arguments& arguments)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (arguments.files.isEmpty() || !screen)
        return;
    // The picture's view is not placed yet: it can be no larger than the screen.
    const SPicView::FirstRead first =
        SPicView::firstRead(Settings::instance()->general()->zoomModeInt(),
                            arguments.fullScreen ? screen->size() : screen->availableSize(),
                            SPicView::defaultMargin, screen->devicePixelRatio());
    PictureLoader::readEarly(arguments.files.first(), first.shownSize, first.corner);
}

std::unique_ptr<MainWindow> Startup::showMainWindow(const Arguments& arguments)
{
    auto window = std::make_unique<MainWindow>(arguments.startDirectory);
    // Pictures asked for open in the image window: shown first, the file browser would lay
    // itself out and read its folder for nothing.
    if (!arguments.files.isEmpty())
        window->imagesAction()->setChecked(true);
    window->show();
    window->imagesWidget()->openFileList(arguments.files);
    return window;
}

int Startup::run(int& argc, char** argv)
{
    if (asksOnlyForText(argc, argv))
        printTextAndExit(argc, argv);
    prestartDecoder();
    // Every paint is raster; left to itself the X platform loads a GL driver (llvmpipe and the
    // compiler behind it), which costs start-up time and tens of megabytes. Programs started
    // from here get the environment as it was.
    const bool chooseGl = !qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION");
    if (chooseGl)
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    QApplication app(argc, argv);
    if (chooseGl) {
        // The platform reads the choice when first asked about GL.
        QOpenGLContext::supportsThreadedOpenGL();
        qunsetenv("QT_XCB_GL_INTEGRATION");
    }
    // Listing the image formats loads every image plugin with the libraries behind it; done
    // on a worker, it overlaps the building of the window instead of delaying it.
    QThreadPool::globalInstance()->start([] { ImageFormats::instance(); });
    lumoInit(version(), description());
    MetadataLog::install();
    DecoderPool::shared().setMemoryLimitMB(
        std::max<qint64>(0, Settings::instance()->general()->decodingMemoryLimitMB()));
    LumoFM::Core::initialize();
    registerAdjustmentDialogs();

    QCommandLineParser parser;
    setUpParser(parser);
    parser.process(app);

    const Arguments arguments = sort(parser, [] { QCoreApplication::processEvents(); });
    // The others still open; a mistyped name is told where it was typed.
    for (const QString& missing : arguments.missing) {
        const QString text =
            QCoreApplication::translate("main", "%1: No such file or directory").arg(missing);
        std::fprintf(stderr, "lumo-image: %s\n", qPrintable(text));
    }
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("lumo-image"), QIcon()));
    readFirstPictureEarly(arguments);

    if (arguments.fullScreen)
        return runFullScreenView(arguments.files);

    const std::unique_ptr<MainWindow> window = showMainWindow(arguments);
    return QApplication::exec();
}
