#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class MainWindow;
class QCommandLineParser;
class QCommandLineOption;

// The command line: its options, and the sorting of its arguments into what the windows open.
class Startup
{
public:
    struct Arguments
    {
        QStringList files;       // existing entries but directories, in argument order
        QStringList directories; // existing directories and links to them, in argument order
        QStringList missing;     // arguments that name nothing, as given
        QString startDirectory;  // empty: the file browser chooses
        bool fullScreen = false;
    };

    static QString version();
    static QString description();

    // Adds help, version, "f"/"fullscreen-view", "d" and the two positional descriptions.
    static void setUpParser(QCommandLineParser& parser);

    // After parser.process(): applies the rules for "d" and the positional arguments.
    // betweenArguments runs before each positional argument is examined (keeps the desktop responsive).
    static Arguments sort(const QCommandLineParser& parser,
                          const std::function<void()>& betweenArguments = {});

    // The same rules on plain values, for callers that have no parser.
    static Arguments sort(const QStringList& positional, bool directorySet, const QString& directory,
                          const std::function<void()>& betweenArguments = {});

    // The normal run's window over the sorted command line: shown, with the files handed to it.
    static std::unique_ptr<MainWindow> showMainWindow(const Arguments& arguments);
    // The first decoder helper starts before anything else.
    static void prestartDecoder();
    // The first picture asked for is read while the window is built.
    static void readFirstPictureEarly(const Arguments& arguments);

    // Whole start-up: returns the process's exit code.
    static int run(int& argc, char** argv);
};
