#pragma once

#include <QString>
#include <QStringList>

// The one way the program starts an external program (desktop tools, wallpaper commands).
// Tests install their own launcher to record the program, its arguments and working directory.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher();

    // Starts the program detached; false when it could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingDirectory) = 0;

    // Runs the program and waits for it, at most executeTimeout to start and as long again to
    // finish; its output is dropped. The exit code, or -2 when it could not be started, -1
    // when it crashed or did not finish in time.
    virtual int execute(const QString& program, const QStringList& arguments) = 0;

    static constexpr int executeTimeout = 30000;

    static ProcessLauncher* current();
    // Not owned; nullptr goes back to starting real processes.
    static void install(ProcessLauncher* launcher);

    // A tool installed beside the program (lumo-fops, lumo-props) when present, else from PATH.
    static QString siblingTool(const QString& name);
};
